#pragma once
// The kind of the selected file, decided from the content type registered for its extension
// when the menu is built, and read again by the command to pick the reading. Stored as one
// byte: JPEG and TIFF keep the values the handler has always stored. Every switch over the kinds
// names each of them, so a new kind cannot be forgotten.

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
    NONE = 0xFF,   // no item was offered
};

// The kind's name in the benchmarks' and fuzzers' tables.
constexpr const char* KindName(FileKind kind) {
    switch (kind) {
        case FileKind::TIFF:
            return "TIFF";
        case FileKind::JPEG:
            return "JPEG";
        case FileKind::HEIF:
            return "HEIF";
        case FileKind::WEBP:
            return "WEBP";
        case FileKind::PNG:
            return "PNG";
        case FileKind::VIDEO:
            return "VIDEO";
        case FileKind::ORF:
            return "ORF";
        case FileKind::RW2:
            return "RW2";
        case FileKind::CR3:
            return "CR3";
        case FileKind::TIFF_RAW:
            return "TIFF_RAW";
        case FileKind::NONE:
            return "none";
    }
    return "none";
}
