#!/usr/bin/env bash
# Measures the position readers: installs what is missing, builds everything, makes a bench
# Wine prefix without launch settings, generates two JPEGs that share one Exif block, and
# prints the file calls of one lookup and the lookups a second for every input.
# Usage: bench.sh [--trace]   (--trace also lists the calls of each file's first lookup)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORIEL_BUILD_DIR:-$root/build}
corpus=$(cd "${QUORIEL_CORPUS:-$root/../shared/corpus}" && pwd)

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"

prefix=$build/bench-prefix
bash "$root/scripts/wine-prefix.sh" "$prefix" "$build/tests/launch-recorder.exe" >/dev/null

export WINEPREFIX=$prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe,mscoree,mshtml=d"
wine=/usr/lib/wine/wine64

# Without the settings key a found position ends in LaunchPosition right after the key fails
# to open: nothing is launched, and the figures stay the readers' own.
"$wine" reg delete 'HKCU\Software\Vantorel\Quoriel' /f >/dev/null 2>&1 || true

# The byte at offset $2 of file $1, as a decimal number.
byte_at() {
    od -An -tu1 -j "$2" -N1 "$1" | tr -d ' \n'
}

# Writes the first APP1 segment of JPEG $1 (marker included) to $2, walking the segment headers.
extract_app1() {
    local offset=2 marker length
    while :; do
        marker=$(byte_at "$1" $((offset + 1)))
        length=$(($(byte_at "$1" $((offset + 2))) * 256 + $(byte_at "$1" $((offset + 3)))))
        if [ "$marker" = 225 ]; then
            # head stops reading on its own; tail reads all it is given (no SIGPIPE).
            head -c $((offset + 2 + length)) "$1" | tail -c $((2 + length)) >"$2"
            return
        fi
        if [ -z "$marker" ] || [ "$marker" = 218 ]; then
            echo "no APP1 segment in $1" >&2
            exit 1
        fi
        offset=$((offset + 2 + length))
    done
}

# A JPEG of $3 bytes at $2: SOI, the APP1 segment in $1, then a scan of zero bytes and EOI.
# The readers stop at the APP1 segment; everything after it only makes the file large.
make_jpeg() {
    local soi=2 scan_header=10 eoi=2 fill
    fill=$(($3 - soi - $(stat -c %s "$1") - scan_header - eoi))
    {
        printf '\xff\xd8'
        cat "$1"
        # SOS for one component: length 8, component 1 with tables 0/0, spectral 0-63, 0.
        printf '\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00'
        head -c "$fill" /dev/zero
        printf '\xff\xd9'
    } >"$2"
}

inputs=$build/bench-inputs
mkdir -p "$inputs"
extract_app1 "$corpus/DSCN0010.jpg" "$inputs/DSCN0010.app1"
make_jpeg "$inputs/DSCN0010.app1" "$inputs/exif-20KB.jpg" $((20 * 1024))
make_jpeg "$inputs/DSCN0010.app1" "$inputs/exif-20MB.jpg" $((20 * 1024 * 1024))

# Wine's drive Z: is the Linux root.
windows_path() {
    printf 'Z:%s' "${1//\//\\}"
}

"$wine" "$build/scripts/bench/position-bench.exe" "$(windows_path "$corpus")" \
    "$(windows_path "$inputs")" "$@"
