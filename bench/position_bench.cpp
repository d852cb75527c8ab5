// Measures the position reading on real files: the file calls of one lookup and the lookups a
// second. bench.sh prepares the Wine prefix and the generated files.
//
// Usage: position-bench.exe FOLDER... [--trace]
//        position-bench.exe --tsv [--once] FILE...
// The first form reads from a file opened once. The second, which compare-readers.sh runs
// beside the peer readers, makes each lookup the command's reading from the path (open, read,
// close) and prints tab-separated values; --once makes one lookup a file and no timing, for
// strace.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

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
    std::vector<std::wstring> folders;
    bool trace = false;
    for (int i = 1; i < argc; ++i) {
        if (wcscmp(argv[i], TRACE_OPTION) == 0) {
            trace = true;
        } else {
            folders.emplace_back(argv[i]);
        }
    }
    if (folders.empty()) {
        std::fprintf(stderr,
                     "usage: position-bench.exe FOLDER... [--trace]\n"
                     "       position-bench.exe --tsv [--once] FILE...\n");
        return 2;
    }
    return RunTable(folders, trace);
}
