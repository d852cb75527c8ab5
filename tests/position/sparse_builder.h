#pragma once
// Photos whose image data is a long run of zeros with the Exif block behind it: built as the
// first bytes and the parts that stand at far offsets, so that a test writes them as a sparse
// file or holds them in the memory file, whatever the size of the image data.

#include <cstdint>
#include <vector>

#include "tests/position/exif_builder.h"

// Bytes standing at an offset behind a file's first bytes.
struct FarPart {
    uint64_t offset;
    Bytes bytes;
};

struct SparseFile {
    Bytes head;                  // from offset 0
    std::vector<FarPart> parts;  // in order of their offsets, none overlapping
};

// IHDR, then IDAT chunks of the largest length for imageSize bytes of zeros, then eXIf with
// tiff and IEND.
SparseFile PngBehind(const Bytes& tiff, uint64_t imageSize);
// A VP8L chunk of imageSize bytes (even, below 4 GiB) of zeros, then the EXIF chunk.
SparseFile WebpBehind(const Bytes& tiff, uint64_t imageSize);
// meta first, naming one Exif item (by a 64-bit offset) whose data lies imageSize bytes into
// the file.
SparseFile HeifBehind(const Bytes& tiff, uint64_t imageSize);
