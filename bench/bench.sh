#!/usr/bin/env bash
# The benchmarks (README.md lists what each measures). Each installs what is missing, builds the
# measuring programs into $QUORIEL_BUILD_DIR (default build/), makes the benchmark's Wine prefix
# (bench-prefix/) and the generated inputs (bench-inputs/, inputs.py) under it, and runs:
#   bench.sh [reading] [--trace]  the readers on every input (--trace: each file's first calls)
#   bench.sh raws [--trace]       the same on the real-tool samples and the grown raws alone
#   bench.sh menu [--tsv]         the menu build against the bare registry walk (--tsv: as
#                                 tab-separated values)
#   bench.sh compare              against libexif, Exiv2 and ExifTool, and the menu build; keeps
#                                 the raw results in compare-results/, writes docs/performance.*
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORIEL_BUILD_DIR:-$root/build}
corpus=$(cd "${QUORIEL_CORPUS:-$root/tests/data/corpus}" && pwd)
# Real-tool samples of the container formats beyond JPEG and TIFF.
formats=$root/tests/data/formats
inputs=$build/bench-inputs
wine=/usr/lib/wine/wine64

export WINEPREFIX=$build/bench-prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe,mscoree,mshtml=d"

# Builds only what the benchmarks run, so that work in progress elsewhere in the tree does not
# stop them, and makes the prefix the tests use; the benchmarks only read files and the
# registry in it.
prepare() {
    bash "$root/scripts/setup.sh" "$@"
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DQUORIEL_BUILD_BENCH=ON >/dev/null
    cmake --build "$build" -j "$(nproc)" --target Quoriel launch-recorder position-bench \
        menu-bench
    bash "$root/scripts/wine-prefix.sh" "$WINEPREFIX" "$build/tests/host/launch-recorder.exe" \
        >/dev/null
}

# Wine's drive Z: is the Linux root.
windows_path() {
    printf 'Z:%s' "${1//\//\\}"
}

reading() {
    python3 "$root/bench/inputs.py" "$corpus" "$formats" "$inputs"
    "$wine" "$build/bench/position-bench.exe" "$(windows_path "$corpus")" \
        "$(windows_path "$formats")" "$(windows_path "$inputs")" "$@"
}

raws() {
    python3 "$root/bench/inputs.py" "$corpus" "$formats" "$build/bench-raws" --raws
    "$wine" "$build/bench/position-bench.exe" "$(windows_path "$formats")" \
        "$(windows_path "$build/bench-raws")" "$@"
}

menu() {
    mkdir -p "$inputs"
    # The handler looks at the extension only; the file is a real one all the same.
    cp "$corpus/DSCN0010.jpg" "$inputs/DSCN0010.qbnone"
    "$wine" "$build/bench/menu-bench.exe" "$(windows_path "$build/shellext/Quoriel.dll")" \
        "$(windows_path "$corpus/DSCN0010.jpg")" "$(windows_path "$inputs/DSCN0010.qbnone")" \
        "$(windows_path "$formats/gps_exiftool.heic")" "$@"
}

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
    echo "load_start: $(cut -d' ' -f1-3 /proc/loadavg)"
}

# The corpus by kind, the real-tool samples of the other formats, then the generated files.
compared_files() {
    local file name
    shopt -s nocaseglob
    for file in "$corpus"/*.jpg "$corpus"/*.tif "$corpus"/*.tiff "$corpus"/*.heic \
        "$formats"/*.heic "$formats"/*.avif "$formats"/*.webp "$formats"/*.png; do
        if [ -f "$file" ]; then
            echo "$file"
        fi
    done
    shopt -u nocaseglob
    for name in exif-20KB.jpg exif-2MB.jpg exif-20MB.jpg exif-200MB.jpg camera-app0.jpg \
        camera-app2.jpg exif-1MB.heic exif-200MB.heic exif-mdat-1MB.heic exif-mdat-200MB.heic \
        exif-1MB.webp exif-200MB.webp exif-1MB.png exif-200MB.png; do
        echo "$inputs/$name"
    done
}

# -fast2 would find no position where eXIf follows a PNG's IDAT, where mdat comes before meta,
# nor in the iPhone HEIC; on the JPEG and TIFF files both read the same bytes.
exiftool_command=(exiftool -fast -n -GPSLatitudeRef -GPSLatitude -GPSLongitudeRef -GPSLongitude)
# Timed batches of ExifTool over all files; the median is reported.
exiftool_batches=5

compare() {
    local results=$build/compare-results peer file
    local files=() windows_files=()
    cmake -S "$root/bench/peers" -B "$build/bench-peers" >/dev/null
    cmake --build "$build/bench-peers" -j "$(nproc)"
    rm -rf "$results"
    mkdir -p "$results"
    python3 "$root/bench/inputs.py" "$corpus" "$formats" "$inputs"
    mapfile -t files < <(compared_files)
    printf '%s\n' "${files[@]}" >"$results/files.txt"
    for file in "${files[@]}"; do
        windows_files+=("$(windows_path "$file")")
    done
    describe_machine >"$results/machine.txt"

    echo "== design limit"
    python3 "$root/bench/design_limit.py" "${files[@]}" >"$results/design.tsv"

    echo "== menu build"
    menu --tsv | tee "$results/menu.tsv"

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
}

command=reading
if [ $# -gt 0 ] && [[ $1 != -* ]]; then
    command=$1
    shift
fi
case $command in
    reading | raws | menu)
        prepare >&2
        "$command" "$@"
        ;;
    compare)
        # The peer Exif readers, gnuplot for the plot.
        prepare libexif-dev libexiv2-dev libimage-exiftool-perl gnuplot-nox strace pkg-config
        compare "$@"
        ;;
    *)
        echo "usage: bench.sh [reading|raws|menu|compare] [options]" >&2
        exit 2
        ;;
esac
