// Measures the position reading on real files: the file calls of one lookup and the lookups a
// second. bench.sh prepares the Wine prefix and the generated JPEGs.
//
// Usage: position-bench.exe CORPUS_DIR GENERATED_DIR [--trace]
//        position-bench.exe --tsv [--once] FILE...
// The first form reads from a file opened once. The second, which compare-readers.sh runs
// beside the peer readers, makes each lookup the command's reading from the path (open, read,
// close) and prints tab-separated values; --once makes one lookup a file and no timing, for
// strace.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "bench/iat_counters.h"
#include "bench/position_bench.h"

namespace {

constexpr const wchar_t* TRACE_OPTION = L"--trace";
constexpr const wchar_t* TSV_OPTION = L"--tsv";
constexpr const wchar_t* ONCE_OPTION = L"--once";

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (!InstallIoCounters()) {
        std::fprintf(stderr, "the file calls cannot be counted: import slots not found\n");
        return 1;
    }
    if (argc > 1 && wcscmp(argv[1], TSV_OPTION) == 0) {
        const bool once = argc > 2 && wcscmp(argv[2], ONCE_OPTION) == 0;
        const int first = once ? 3 : 2;
        return RunComparison(argc - first, argv + first, once);
    }
    if (argc < 3) {
        std::fprintf(stderr,
                     "usage: position-bench.exe CORPUS_DIR GENERATED_DIR [--trace]\n"
                     "       position-bench.exe --tsv [--once] FILE...\n");
        return 2;
    }
    const bool trace = argc > 3 && wcscmp(argv[3], TRACE_OPTION) == 0;
    return RunTable(argv[1], argv[2], trace);
}
