#!/usr/bin/env bash
# Measures the position readers: installs what is missing, builds the benchmark programs, makes
# the benchmark's Wine prefix, generates JPEGs that share one Exif block, and prints the file
# calls of one lookup and the lookups a second for every input.
# Usage: bench.sh [--trace]   (--trace also lists the calls of each file's first lookup)
set -euo pipefail
# shellcheck source=SCRIPTDIR/common.sh
source "$(dirname "$0")/common.sh"
# shellcheck source=SCRIPTDIR/inputs.sh
source "$root/bench/inputs.sh"

bash "$root/scripts/setup.sh"
bench_build
bench_prefix

inputs=$build/bench-inputs
make_bench_inputs "$corpus" "$inputs"

"$wine" "$build/bench/position-bench.exe" "$(windows_path "$corpus")" \
    "$(windows_path "$inputs")" "$@"
