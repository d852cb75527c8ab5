#!/usr/bin/env bash
# Compares Quoriel's readers with the Exif readers people use (libexif, Exiv2, ExifTool) on the
# same files in one run (JPEG, TIFF, HEIF, WebP and PNG), measures the menu build against the registry walk, and writes
# docs/performance.md and docs/performance.png from the results.
# Installs what is missing, builds into $QUORIEL_BUILD_DIR (default build/), and keeps the
# generated inputs and raw results under it: bench-inputs/ and compare-results/.
# Usage: compare-readers.sh
set -euo pipefail
# shellcheck source=SCRIPTDIR/common.sh
source "$(dirname "$0")/common.sh"
# shellcheck source=SCRIPTDIR/inputs.sh
source "$root/bench/inputs.sh"

bash "$root/bench/setup.sh"
bench_build
cmake -S "$root/bench/peers" -B "$build/bench-peers" >/dev/null
cmake --build "$build/bench-peers" -j "$(nproc)"
bench_prefix

results=$build/compare-results
inputs=$build/bench-inputs
rm -rf "$results"
mkdir -p "$results"
make_bench_inputs "$corpus" "$formats" "$inputs"

# The corpus by kind, the real-tool samples of the other formats, then the generated files.
files=()
shopt -s nocaseglob
for file in "$corpus"/*.jpg "$corpus"/*.tif "$corpus"/*.tiff "$corpus"/*.heic \
    "$formats"/*.heic "$formats"/*.avif "$formats"/*.webp "$formats"/*.png; do
    if [ -f "$file" ]; then
        files+=("$file")
    fi
done
shopt -u nocaseglob
for name in exif-20KB.jpg exif-2MB.jpg exif-20MB.jpg exif-200MB.jpg camera-app0.jpg \
    camera-app2.jpg exif-1MB.heic exif-200MB.heic exif-mdat-1MB.heic exif-mdat-200MB.heic \
    exif-1MB.webp exif-200MB.webp exif-1MB.png exif-200MB.png; do
    files+=("$inputs/$name")
done
printf '%s\n' "${files[@]}" >"$results/files.txt"

windows_files=()
for file in "${files[@]}"; do
    windows_files+=("$(windows_path "$file")")
done

# Every read a process makes on each input, with the file's path beside its descriptor.
trace_reads() {
    local out=$1
    shift
    strace -f -qq -y -s 0 -e trace=read,pread64,readv,preadv,mmap -o "$out" "$@" >/dev/null
}

# The wall time of one command, in nanoseconds. ExifTool's exit status only says whether some
# file lacked a tag; what it found is read from its own output.
wall_nanoseconds() {
    local from to
    from=$(date +%s%N)
    "$@" >/dev/null || true
    to=$(date +%s%N)
    echo $((to - from))
}

describe_machine() {
    echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "commit: $(git -C "$root" rev-parse --short HEAD)"
    echo "cpu: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
    echo "cpu_mhz: $(grep -m1 'cpu MHz' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
    echo "nproc: $(nproc)"
    echo "memory: $(free -h | awk '/^Mem:/ {print $2 " total, " $7 " available"}')"
    echo "kernel: $(uname -sr)"
    # shellcheck source=/dev/null
    echo "os: $(. /etc/os-release && echo "$PRETTY_NAME")"
    echo "wine: $("$wine" --version)"
    echo "libexif: $(pkg-config --modversion libexif)"
    echo "exiv2: $(pkg-config --modversion exiv2)"
    echo "exiftool: $(exiftool -ver)"
    echo "compiler: $(g++ --version | head -1)"
    echo "mingw: $(x86_64-w64-mingw32-g++-posix --version | head -1)"
}

# -fast2 would find no position where eXIf follows a PNG's IDAT, where mdat comes before meta,
# nor in the iPhone HEIC; on the JPEG and TIFF files both read the same bytes.
exiftool_command=(exiftool -fast -n -GPSLatitudeRef -GPSLatitude -GPSLongitudeRef -GPSLongitude)
# Timed batches of ExifTool over all files; the median is reported.
exiftool_batches=5

{
    describe_machine
    echo "load_start: $(cut -d' ' -f1-3 /proc/loadavg)"
} >"$results/machine.txt"

echo "== design limit"
python3 "$root/bench/design_limit.py" "${files[@]}" >"$results/design.tsv"

echo "== menu build"
bash "$root/bench/bench-menu.sh" --tsv | tee "$results/menu.tsv"

echo "== Quoriel"
"$wine" "$build/bench/position-bench.exe" --tsv "${windows_files[@]}" |
    tee "$results/quoriel.tsv"
trace_reads "$results/quoriel.strace" \
    "$wine" "$build/bench/position-bench.exe" --tsv --once "${windows_files[@]}"

for peer in libexif exiv2; do
    echo "== $peer"
    "$build/bench-peers/peer-$peer" "${files[@]}" | tee "$results/$peer.tsv"
    trace_reads "$results/$peer.strace" "$build/bench-peers/peer-$peer" --once "${files[@]}"
done

echo "== ExifTool"
"${exiftool_command[@]}" -j "${files[@]}" >"$results/exiftool.json" || true
for _ in $(seq "$exiftool_batches"); do
    wall_nanoseconds "${exiftool_command[@]}" "${files[@]}"
done | tee "$results/exiftool-nanoseconds.txt"
trace_reads "$results/exiftool.strace" "${exiftool_command[@]}" "${files[@]}" || true

echo "load_end: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$results/machine.txt"

python3 "$root/bench/report.py" "$results" "$root/docs/performance.md" \
    "$root/docs/performance.png"
echo "written: docs/performance.md docs/performance.png"
