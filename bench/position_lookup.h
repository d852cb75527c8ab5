#pragma once
// One GPS lookup of the position benchmark, in the two ways it is measured. A lookup shows
// nothing and launches nothing: what the command does with a position is not part of it.

#include <windows.h>

#include <cstdint>
#include <string>

#include "bench/iat_counters.h"
#include "common/file_kind.h"
#include "common/gps_position.h"
#include "common/owners.h"
#include "common/status.h"
#include "position/gps_reading.h"

struct Input {
    std::wstring name;
    std::wstring path;
    FileKind kind;  // NONE for a file that is neither an image nor a video
};

// The input at path, its kind by extension as the content types of a Windows registry make it:
// NONE for an extension without one, or with one that FORMATS does not read.
Input InputAt(const std::wstring& path);

// Opened for reading as the command opens the file, with its size; empty when it cannot be.
UniqueFile OpenForReading(const std::wstring& path, uint64_t* size);

// One lookup: with a file, the reader on the file opened once, each time from offset 0 as on a
// freshly opened file; without one, the command's reading from the path (CreateFileW with the
// command's flags, the reading, CloseHandle).
struct Lookup {
    Input input;
    HANDLE file = nullptr;
    CQuorielReader reader;
    GpsPosition position{};

    Status Once();
    void operator()() { Once(); }
};

// What a lookup's status says: "position", "no-position", "no-exif" or "failed".
const char* OutcomeOf(Status status);

// The first lookup, counted on its own.
struct FirstLookup {
    Status status = RESULT_DONE;
    IoCounters io;
    std::string trace;  // its calls, when asked for
};

FirstLookup CountFirstLookup(Lookup& lookup, bool trace);

// Whether the counters since the last reset show repetitions lookups that each made one's reads.
bool MadeSameReads(const IoCounters& one, uint64_t repetitions);
