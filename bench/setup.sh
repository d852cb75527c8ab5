#!/usr/bin/env bash
# Installs whatever is missing of what the benchmarks need beyond the build and test tools:
# the peer Exif readers, strace for counting their reads, gnuplot for the plot, python3 for the
# report. Does nothing when all are there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/scripts/setup.sh" \
    libexif-dev libexiv2-dev libimage-exiftool-perl gnuplot-nox strace pkg-config python3
