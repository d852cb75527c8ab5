#pragma once
// The two forms of the position benchmark. Both need the I/O counters installed first.

#include <string>
#include <vector>

// The table of bench.sh: every image of the folders, read from a file opened once, with the
// file calls of one lookup and the lookups a second. trace also lists each file's first calls.
int RunTable(const std::vector<std::wstring>& folders, bool trace);

// The values of compare-readers.sh, one row per file: the command's reading from the path
// beside the reader on the file opened once. once: one lookup a file and no timing, for strace.
int RunComparison(int count, wchar_t** paths, bool once);
