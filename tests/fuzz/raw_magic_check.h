#pragma once
// The header magic of the TIFF-based kinds: the same bytes read as TIFF, ORF, RW2 and TIFF_RAW,
// and the properties they must keep, when the bytes hold an 8-byte header with a byte-order mark:
// - a kind whose accepted magic words include the header's (read in the header's byte order:
//   42 for TIFF and TIFF_RAW; 0x4F52 "IIRO"/"MMOR" and 0x5352 "IIRS" for ORF; 0x0055 "IIU\0"
//   for RW2) gives the outcome and position that TIFF gives on the same bytes with the magic
//   replaced by 42;
// - every other kind gives "no Exif".
// Without such a header every kind gives "no Exif".

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/file_kind.h"
#include "common/gps_position.h"
#include "common/status.h"

struct KindOutcome {
    Status status;
    GpsPosition position;  // meaningful when status is RESULT_DONE
};

// The property for one kind: outcome is its reading of a header with magic, as42 TIFF's reading
// of the same bytes with 42 there. The first property broken, or empty.
std::string CheckKindOutcome(FileKind kind, uint16_t magic, const KindOutcome& outcome,
                             const KindOutcome& as42);

// The properties over the bytes, tiffStatus being TIFF's outcome on them as they are.
std::string CheckRawMagics(const uint8_t* data, size_t size, Status tiffStatus);
