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
    VIDEO = 5,    // MP4, MOV and 3GP: the location records of the movie box
    NONE = 0xFF,  // no item was offered
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
        case FileKind::NONE:
            return "none";
    }
    return "none";
}
