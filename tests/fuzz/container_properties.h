#pragma once
// One reading of a whole file of a container kind (HEIF, WebP, PNG, CR3, video) over the
// memory file, call by call and through read-ahead blocks, and the properties it must keep:
// - its outcome is a position, "no Exif" or "no position" (the memory file never fails a read);
// - read-ahead gives the same outcome and position as reading call by call, with no seek, at
//   most one size query, reads of at most a block that lie inside the file, and no more reads
//   than the reading call by call;
// The reads call by call show what the reading's own logic reads:
// - no read starts past the end of the file, and a read cut short by the end is the last one
//   and ends the reading with "no Exif";
// - the walk is bounded: at most CONTAINER_READ_LIMIT reads, whatever the file;
// - when the locator found a block, the block lies inside the file and every read of the TIFF
//   reader behind the locator's own reads lies inside it;
// - a video's reading reads only box headers and its records: every read lies inside the file
//   (the top walk ends there), none is longer than the largest record buffer, all of them
//   together stay under VIDEO_READ_BYTES_LIMIT, and a location found is at most 90 degrees of
//   latitude and 180 of longitude.

#include <cstddef>
#include <cstdint>

#include "common/file_kind.h"
#include "tests/fuzz/reading_properties.h"

constexpr size_t CONTAINER_READ_LIMIT = 20000;
constexpr uint32_t CONTAINER_SIZE_QUERIES = 1;

// What the video reading may read, whatever the file's size: box headers of 16 bytes at most
// (a 64-bit size included) in nine walks of at most 256 boxes (the top, moov, udta, and for the
// keys record and the item list each: meta, ilst and the location's item); each meta's version
// and hdlr's 12 bytes, keys' 8 and at most 256 keys of an 8-byte header and a 36-byte name; the
// records: three ISO 6709 texts of at most 128 bytes (©xyz behind its 4 bytes, the keys item's
// and the item list's), and loci's 4 bytes and 256-byte buffer.
constexpr uint64_t VIDEO_LONGEST_READ = 256;
constexpr uint64_t VIDEO_WALK_BYTES = 9 * 256 * 16;
constexpr uint64_t VIDEO_META_BYTES = 2 * (4 + 12);
constexpr uint64_t VIDEO_KEYS_BYTES = 8 + 256 * (8 + 36);
constexpr uint64_t VIDEO_RECORD_BYTES = 3 * 128 + 4 + 4 + VIDEO_LONGEST_READ;
constexpr uint64_t VIDEO_READ_BYTES_LIMIT =
    VIDEO_WALK_BYTES + VIDEO_META_BYTES + VIDEO_KEYS_BYTES + VIDEO_RECORD_BYTES;
static_assert(VIDEO_READ_BYTES_LIMIT == 48816, "the bound docs/fuzzing.md gives");

ReadingVerdict CheckContainerReading(const uint8_t* data, size_t size, FileKind kind);
