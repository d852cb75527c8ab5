# shellcheck shell=bash disable=SC2034
# Shared by the benchmark commands (sourced): the build folder, the Windows programs they need,
# the benchmark's Wine prefix, and Wine's view of Linux paths.
# Sets root, build, corpus, prefix, wine.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${QUORIEL_BUILD_DIR:-$root/build}
corpus=$(cd "${QUORIEL_CORPUS:-$root/tests/data/corpus}" && pwd)
prefix=$build/bench-prefix
wine=/usr/lib/wine/wine64

export WINEPREFIX=$prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe,mscoree,mshtml=d"

# Builds only what the benchmarks run, so that work in progress elsewhere in the tree does not
# stop them.
bench_build() {
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        >/dev/null
    cmake --build "$build" -j "$(nproc)" --target Quoriel launch-recorder position-bench \
        menu-bench
}

# The prefix, without launch settings: a found position then ends in LaunchPosition right after
# the settings key fails to open, nothing is launched, and the figures stay the readers' own.
bench_prefix() {
    bash "$root/scripts/wine-prefix.sh" "$prefix" "$build/tests/launch-recorder.exe" >/dev/null
    "$wine" reg delete 'HKCU\Software\Vantorel\Quoriel' /f >/dev/null 2>&1 || true
}

# Wine's drive Z: is the Linux root.
windows_path() {
    printf 'Z:%s' "${1//\//\\}"
}
