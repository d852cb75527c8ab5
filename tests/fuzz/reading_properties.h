#pragma once
// One reading of a whole file over the memory file, and the properties it must keep:
// - its outcome is one the reading can give there: a position, "no Exif" or "no position".
//   The memory file's reads never fail and its only failing seek (past 4 GiB) is out of reach
//   of any input, so no failure HRESULT;
// - every read of the TIFF reader lies inside the TIFF data window (for a JPEG file, behind
//   the Exif identifier to the end of its APP1 segment, which lies inside the file), and a read
//   cut short by the end of the file is the last one and ends the reading with "no Exif";
// - the segment walk reads the start-of-image marker, then each segment header where the one
//   before leads, then the identifier right behind the APP1 header;
// - a found position expands a template with every code into the template with its codes
//   replaced by numbers and the hemisphere texts, inside the room the size pass reserved;
// - TIFF data gives the same outcome, position and reads (moved by its start) inside a JPEG
//   file's Exif segment as on its own;
// - the same bytes read as ORF, RW2 and TIFF_RAW give TIFF's outcome and position wherever the
//   header's magic is theirs (TIFF reading the bytes with 42 there), and "no Exif" for any other
//   magic, as TIFF does for any magic but 42 (raw_magic_check.h).

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/status.h"

struct ReadingVerdict {
    Status status = RESULT_DONE;
    std::string violation;  // empty when every property held
};

ReadingVerdict CheckJpegReading(const uint8_t* data, size_t size);
ReadingVerdict CheckTiffReading(const uint8_t* data, size_t size);
