#!/usr/bin/env bash
# Installs whatever is missing of what the benchmarks need beyond the build and test tools:
# the peer Exif readers, strace for counting their reads, gnuplot for the plot, python3 for the
# report. Does nothing when all are there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

bash "$root/scripts/setup.sh"

packages=(libexif-dev libexiv2-dev libimage-exiftool-perl gnuplot-nox strace pkg-config python3)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        sudo=(sudo)
    fi
    echo "installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
