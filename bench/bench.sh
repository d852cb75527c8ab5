#!/usr/bin/env bash
# Measures the position readers: installs what is missing, builds the benchmark programs, makes
# the benchmark's Wine prefix, generates files that share one Exif block or one movie box at
# several sizes, and prints the file calls of one lookup and the lookups a second for every
# input: the corpus, the real-tool samples of the other formats and videos, the generated files.
# Usage: bench.sh [--raws] [--trace]   (--raws: only the real-tool samples of the other formats
# and the grown raws; --trace also lists the calls of each file's first lookup)
set -euo pipefail
# shellcheck source=SCRIPTDIR/common.sh
source "$(dirname "$0")/common.sh"
# shellcheck source=SCRIPTDIR/inputs.sh
source "$root/bench/inputs.sh"

bash "$root/scripts/setup.sh"
bench_build
bench_prefix

if [ "${1:-}" = --raws ]; then
    shift
    make_raw_inputs "$formats" "$build/bench-raws"
    exec "$wine" "$build/bench/position-bench.exe" "$(windows_path "$formats")" \
        "$(windows_path "$build/bench-raws")" "$@"
fi

inputs=$build/bench-inputs
make_bench_inputs "$corpus" "$formats" "$inputs"

"$wine" "$build/bench/position-bench.exe" "$(windows_path "$corpus")" \
    "$(windows_path "$formats")" "$(windows_path "$inputs")" "$@"
