#pragma once
// One reading of a whole file of a container kind (HEIF, WebP, PNG) over the memory file, and
// the properties it must keep:
// - its outcome is a position, "no Exif" or "no position" (the memory file never fails a read);
// - no read starts past the end of the file, and a read cut short by the end is the last one
//   and ends the reading with "no Exif";
// - the walk is bounded: at most CONTAINER_READ_LIMIT reads, whatever the file;
// - when the locator found a block, the block lies inside the file and every read of the TIFF
//   reader behind the locator's own reads lies inside it.

#include <cstddef>
#include <cstdint>

#include "common/file_kind.h"
#include "tests/fuzz/reading_properties.h"

constexpr size_t CONTAINER_READ_LIMIT = 20000;

ReadingVerdict CheckContainerReading(const uint8_t* data, size_t size, FileKind kind);
