# shellcheck shell=bash disable=SC2034
# Shared by the benchmark commands (sourced): the build folder, the Windows programs they need,
# the benchmark's Wine prefix, and Wine's view of Linux paths.
# Sets root, build, corpus, formats, prefix, wine.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${QUORIEL_BUILD_DIR:-$root/build}
corpus=$(cd "${QUORIEL_CORPUS:-$root/tests/data/corpus}" && pwd)
# Real-tool samples of the container formats beyond JPEG and TIFF.
formats=$root/tests/data/formats
prefix=$build/bench-prefix
wine=/usr/lib/wine/wine64

export WINEPREFIX=$prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe,mscoree,mshtml=d"

# Builds only what the benchmarks run, so that work in progress elsewhere in the tree does not
# stop them. The benchmark programs are built only when asked for.
bench_build() {
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DQUORIEL_BUILD_BENCH=ON >/dev/null
    cmake --build "$build" -j "$(nproc)" --target Quoriel launch-recorder position-bench \
        menu-bench
}

# The prefix the tests use, made once; the benchmarks only read files and the registry in it.
bench_prefix() {
    bash "$root/scripts/wine-prefix.sh" "$prefix" "$build/tests/host/launch-recorder.exe" >/dev/null
}

# Wine's drive Z: is the Linux root.
windows_path() {
    printf 'Z:%s' "${1//\//\\}"
}
