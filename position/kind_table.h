#pragma once
// The one table of the file kinds: for each kind its name, how its file is reached (direct or
// read-ahead) and how its position is read: the locator of its TIFF block with the magic number
// and GPS directory of that block, or the kind's own records. The table is indexed by the
// kind's value and checked against FILE_KIND_COUNT when it is built.

#include "common/file_kind.h"
#include "common/gps_position.h"
#include "common/status.h"
#include "position/file_source.h"
#include "position/file_window.h"
#include "position/tiff_reader.h"

// Finds a kind's TIFF block, the file standing at its first byte afterwards.
using TiffBlockLocator = Status (*)(FileSource& file, FileWindow* window);

// Reads the position from a kind's own records, for a kind that keeps no TIFF block.
using RecordReading = Status (*)(FileSource& file, GpsPosition* position);

// How a kind reaches its position: one of TiffBlock and OwnRecords below.
struct KindReading {
    TiffBlockLocator locate;  // null for a kind read from its own records
    TiffMagic magic;
    GpsDirectory gps;
    RecordReading records;  // null for a kind with a TIFF block
};

constexpr KindReading TiffBlock(TiffBlockLocator locate, TiffMagic magic, GpsDirectory gps) {
    return {locate, magic, gps, nullptr};
}

constexpr KindReading OwnRecords(RecordReading records) {
    return {nullptr, TiffMagic::TIFF, GpsDirectory::POINTED_TO, records};
}

// A row names every column: its constructor has no defaults, so a row cannot leave one out.
struct KindRow {
    constexpr KindRow(FileKind kind, const char* name, FileAccess access, KindReading reading)
        : kind(kind), name(name), access(access), reading(reading) {}

    FileKind kind;
    const char* name;  // in the benchmarks' and fuzzers' tables
    FileAccess access;
    KindReading reading;
};

// The row of kind; null for NONE and for any byte that names no kind.
const KindRow* KindRowOf(FileKind kind);

// The kind's name; "none" for NONE and for any byte that names no kind.
const char* KindName(FileKind kind);
