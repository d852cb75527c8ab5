#pragma once
// Counters of the file calls this executable's own code makes: ReadFile, SetFilePointer and
// GetFileSize from kernel32.

#include <cstdint>
#include <string>

struct IoCounters {
    uint64_t reads = 0;  // ReadFile calls
    uint64_t bytesRequested = 0;
    uint64_t bytesRead = 0;
    uint64_t seeks = 0;            // SetFilePointer calls that move the pointer
    uint64_t positionQueries = 0;  // SetFilePointer(file, 0, nullptr, FILE_CURRENT)
    uint64_t sizeQueries = 0;      // GetFileSize calls
};

// False when an entry is missing from the import table, e.g. because nothing here calls it.
bool InstallIoCounters();

void ResetIoCounters();
IoCounters CurrentIoCounters();

// While a trace runs, every counted call is written down: "R<bytes>" for a read, "S" a seek,
// "Q" a position query, "Z" a size query. StopIoTrace gives the text.
void StartIoTrace();
std::string StopIoTrace();
