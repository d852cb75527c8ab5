#!/usr/bin/env bash
# A longer run of one fuzz target for developers, with the same checks as the CI run:
#   tests/fuzz/run-long.sh fuzz_jpeg_reader 3600 [BUILD_DIRECTORY]
# BUILD_DIRECTORY is the main build folder (default build/); the target must be built there.
# The grown corpus stays in BUILD_DIRECTORY/fuzz/long/TARGET/corpus until the next run.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 TARGET SECONDS [BUILD_DIRECTORY]  (TARGET: a fuzz_* target of tests/fuzz)" >&2
    exit 2
fi
source_directory=$(cd "$(dirname "$0")" && pwd)
target=$1
seconds=$2
build=$(cd "${3:-$source_directory/../../build}" && pwd)

# The target's seed folder and dictionary, from its entry in targets.cmake.
entry=$(grep -o "^ *$target:[^ )]*" "$source_directory/targets.cmake" | tr -d ' ' || true)
if [ -z "$entry" ]; then
    echo "unknown target: $target" >&2
    exit 2
fi
IFS=: read -r _ kind dictionary _ <<<"$entry"

exec bash "$source_directory/run-fuzz.sh" "$build/fuzz/$target" "$seconds" \
    "$build/fuzz/long/$target" "$source_directory/dict/$dictionary" \
    "$build/fuzz/seeds/$kind" "$source_directory/seeds/$kind" \
    "$source_directory/regressions/$kind"
