#pragma once
// The table of bench.sh: every image of the folders, read from a file opened once, with the file
// calls of one lookup and the lookups a second. trace also lists each file's first calls. Needs
// the I/O counters installed first.

#include <string>
#include <vector>

int RunTable(const std::vector<std::wstring>& folders, bool trace);
