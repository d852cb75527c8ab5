#pragma once
// The kind of the selected file, decided from the content type registered for its extension
// when the menu is built, and read again by the command to pick the reading. Stored as one
// byte: JPEG and TIFF keep the values the handler has always stored. Each kind has one row in
// the table of position/kind_table.cpp (its name and how it is read), at the index of its
// value; a kind without its row does not build.

#include <cstddef>
#include <cstdint>

enum class FileKind : uint8_t {
    TIFF = 0,
    JPEG = 1,
    HEIF = 2,  // HEIC, HEIF and AVIF: the ISO base media file format's item boxes
    WEBP = 3,
    PNG = 4,
    VIDEO = 5,     // MP4, MOV and 3GP: the location records of the movie box
    ORF = 6,       // Olympus raw: a TIFF file whose header has its own magic number
    RW2 = 7,       // Panasonic raw: likewise, with another magic number
    CR3 = 8,       // Canon raw: ISO base media, its GPS directory a TIFF block of its own
    TIFF_RAW = 9,  // the camera raws that are TIFF files with TIFF's header (DNG, CR2, NEF, ...)
    COUNT,         // not a kind: the number of kinds, so a new kind goes just above it
    NONE = 0xFF,   // no item was offered
};

constexpr size_t FILE_KIND_COUNT = static_cast<size_t>(FileKind::COUNT);
