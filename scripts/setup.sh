#!/usr/bin/env bash
# Installs whatever is missing of the build and test tools, and of any packages named as
# arguments (the benchmarks name theirs); does nothing when all are there.
set -euo pipefail

packages=(cmake make g++ clang-14 libclang-rt-14-dev googletest g++-mingw-w64-x86-64 wine64 "$@")

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
