#!/usr/bin/env bash
# Configures and builds everything into build/ (or $QUORIEL_BUILD_DIR). Extra arguments go to
# the configuration, e.g. -DBUILD_TESTING=OFF for the product alone.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORIEL_BUILD_DIR:-$root/build}

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" "$@" \
    >/dev/null
cmake --build "$build" -j "$(nproc)"
