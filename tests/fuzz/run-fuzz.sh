#!/usr/bin/env bash
# Runs one libFuzzer target for a fixed time on a fresh copy of its seeds, so that the seed
# folders never grow. Fails on a crash, a sanitizer report, a broken property, a leak, a timeout
# or running out of memory, and when the target ran no more inputs than it had seeds.
#
# usage: run-fuzz.sh BINARY SECONDS WORK_DIRECTORY DICTIONARY SEED_DIRECTORY...
set -euo pipefail

if [ $# -lt 5 ]; then
    echo "usage: $0 BINARY SECONDS WORK_DIRECTORY DICTIONARY SEED_DIRECTORY..." >&2
    exit 2
fi
# libFuzzer takes a budget of 0 as none at all.
if ! [[ $2 =~ ^[1-9][0-9]*$ ]]; then
    echo "SECONDS must be a whole number above 0: $2" >&2
    exit 2
fi
# Absolute, since the fuzzer runs inside the work folder.
binary=$(realpath "$1")
seconds=$2
work=$(realpath -m "$3")
dictionary=$(realpath "$4")
shift 4

rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
seeds=0
index=0
for directory in "$@"; do
    index=$((index + 1))
    [ -d "$directory" ] || continue
    for file in "$directory"/*; do
        case $(basename "$file") in
            *.md | written) continue ;;
        esac
        [ -f "$file" ] || continue
        cp "$file" "$work/corpus/$index-$(basename "$file")"
        seeds=$((seeds + 1))
    done
done

# -jobs=1 runs the fuzzing in one child process whose log (fuzz-0.log, in the work folder) the
# parent repeats when the child ends.
cd "$work"
status=0
"$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -jobs=1 -workers=1 \
    -dict="$dictionary" -artifact_prefix="$work/artifacts/" -print_final_stats=1 \
    "$work/corpus" >"$work/run.log" 2>&1 || status=$?
cat "$work/run.log"

name=$(basename "$binary")
runs=$(sed -n 's/^Done \([0-9]*\) runs in .*/\1/p' "$work/run.log" | tail -n 1)
artifacts=$(find "$work/artifacts" -type f | wc -l)
if [ "$status" -ne 0 ] || [ "$artifacts" -ne 0 ]; then
    echo "FAIL $name: exit status $status, kept inputs:" >&2
    find "$work/artifacts" -type f >&2
    exit 1
fi
if [ -z "$runs" ] || [ "$runs" -le "$seeds" ]; then
    echo "FAIL $name: ran ${runs:-no} inputs from $seeds seeds" >&2
    exit 1
fi
corpus=$(find "$work/corpus" -type f | wc -l)
echo "$name: $runs runs in $seconds s from $seeds seeds; corpus now $corpus inputs"
