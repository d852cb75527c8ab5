#!/usr/bin/env bash
# Measures the menu build: QueryContextMenu of the built Quoriel.dll for a JPEG, an unregistered
# extension and a HEIC file, with HKEY_CLASSES_ROOT at its own size and with 2,000 and 8,000
# extra subkeys before ".jpg", each with the user's "Formats" value absent and present, next to
# the bare registry walk. Installs what is missing, builds, and
# runs in the benchmark's Wine prefix under the build folder.
# Usage: bench-menu.sh [--tsv]   (--tsv: tab-separated values, as the report reads them)
set -euo pipefail
# shellcheck source=SCRIPTDIR/common.sh
source "$(dirname "$0")/common.sh"

bash "$root/bench/setup.sh" >&2
bench_build >&2
bench_prefix

inputs=$build/bench-inputs
mkdir -p "$inputs"
# The handler looks at the extension only; the file is a real one all the same.
cp "$corpus/DSCN0010.jpg" "$inputs/DSCN0010.qbnone"

"$wine" "$build/bench/menu-bench.exe" "$(windows_path "$build/shellext/Quoriel.dll")" \
    "$(windows_path "$corpus/DSCN0010.jpg")" "$(windows_path "$inputs/DSCN0010.qbnone")" \
    "$(windows_path "$formats/gps_exiftool.heic")" "$@"
