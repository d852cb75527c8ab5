// Walks the JPEG marker segments to the first APP1 segment and finds the TIFF data behind its
// Exif identifier. Only segment headers and the identifier are read; every other segment is
// skipped by its length.
#include <cstring>

#include "position/jpeg_locator.h"

namespace {

constexpr DWORD SOI_SIZE = 2;
// Segment header: 2 marker + 2 big-endian length (the length counts itself, not the marker).
constexpr DWORD SEGMENT_HEADER_SIZE = 4;
constexpr int SEGMENT_LENGTH = 2;

constexpr BYTE MARKER_PREFIX = 0xFF;
constexpr BYTE MARKER_SOI = 0xD8;
constexpr BYTE MARKER_SOS = 0xDA;
constexpr BYTE MARKER_APP1 = 0xE1;

constexpr uint32_t LENGTH_FIELD_SIZE = 2;
// The length field and the identifier; the TIFF data is what the segment holds beyond them.
constexpr uint32_t APP1_OVERHEAD = LENGTH_FIELD_SIZE + EXIF_ID_SIZE;

bool IsMarker(const BYTE* bytes, BYTE code) {
    return bytes[0] == MARKER_PREFIX && bytes[1] == code;
}

// Leaves the file just behind the first APP1 segment's header and gives its length.
Status FindFirstApp1(FileSource& file, uint32_t* segmentLength) {
    for (;;) {
        BYTE header[SEGMENT_HEADER_SIZE];
        const Status status = ReadWhole(file, header);
        if (status != RESULT_DONE) {
            return status;
        }
        const uint32_t length = BigEndian16(header + SEGMENT_LENGTH);
        if (IsMarker(header, MARKER_SOS)) {
            return RESULT_NO_EXIF;
        }
        if (IsMarker(header, MARKER_APP1)) {
            *segmentLength = length;
            return RESULT_DONE;
        }
        // Shorter than its own length field: the file is damaged, and walking on would crawl
        // through it two bytes at a time.
        if (length < LENGTH_FIELD_SIZE) {
            return RESULT_NO_EXIF;
        }
        const Status skipped = file.Skip(length - LENGTH_FIELD_SIZE);
        if (skipped != RESULT_DONE) {
            return skipped;
        }
    }
}

}  // namespace

Status LocateJpegExif(FileSource& file, FileWindow* window) {
    BYTE soi[SOI_SIZE];
    Status status = ReadWhole(file, soi);
    if (status != RESULT_DONE) {
        return status;
    }
    if (!IsMarker(soi, MARKER_SOI)) {
        return RESULT_NO_EXIF;
    }
    uint32_t length = 0;
    status = FindFirstApp1(file, &length);
    if (status != RESULT_DONE) {
        return status;
    }
    if (length < APP1_OVERHEAD) {
        return RESULT_NO_EXIF;
    }
    // The whole segment must lie inside the file, whatever part of it the TIFF data needs.
    const uint64_t payload = file.Position();
    uint64_t size = 0;
    status = file.Size(&size);
    if (status != RESULT_DONE) {
        return status;
    }
    if (payload > size || length - LENGTH_FIELD_SIZE > size - payload) {
        return RESULT_NO_EXIF;
    }
    BYTE identifier[EXIF_ID_SIZE];
    status = ReadWhole(file, identifier);
    if (status != RESULT_DONE) {
        return status;
    }
    if (memcmp(identifier, EXIF_ID, EXIF_ID_SIZE) != 0) {
        return RESULT_NO_EXIF;
    }
    *window = FileWindow{payload + EXIF_ID_SIZE, length - APP1_OVERHEAD};
    return RESULT_DONE;
}
