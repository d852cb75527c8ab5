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

case $target in
    fuzz_jpeg_reader) kind=jpeg dictionary=exif.dict ;;
    fuzz_tiff_reader) kind=tiff dictionary=exif.dict ;;
    fuzz_template_expansion) kind=template dictionary=template.dict ;;
    fuzz_heif_locator) kind=heif dictionary=heif.dict ;;
    fuzz_webp_locator) kind=webp dictionary=webp.dict ;;
    fuzz_png_locator) kind=png dictionary=png.dict ;;
    fuzz_video_locator) kind=video dictionary=video.dict ;;
    fuzz_iso6709) kind=iso6709 dictionary=iso6709.dict ;;
    *)
        echo "unknown target: $target" >&2
        exit 2
        ;;
esac

exec bash "$source_directory/run-fuzz.sh" "$build/fuzz/$target" "$seconds" \
    "$build/fuzz/long/$target" "$source_directory/dict/$dictionary" \
    "$build/fuzz/seeds/$kind" "$source_directory/seeds/$kind" \
    "$source_directory/regressions/$kind"
