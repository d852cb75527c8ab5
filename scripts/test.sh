#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUORIEL_BUILD_DIR:-$root/build}

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" "$@"
