// Walks the chunks of a WebP file's RIFF container to the first EXIF chunk. Only the RIFF
// header, the chunk headers and the EXIF chunk's first bytes are read; every other chunk is
// passed over by its size.
#include <cstring>

#include "position/chunks/webp_locator.h"

namespace {

// RIFF header: 4 "RIFF" + 4 little-endian size + 4 form type "WEBP" = 12. The size counts the
// bytes behind its own field, so the RIFF ends 8 bytes plus the size from the start.
constexpr DWORD RIFF_HEADER_SIZE = 12;
constexpr int RIFF_SIZE_FIELD = 4;
constexpr int FORM_TYPE_FIELD = 8;
constexpr uint32_t RIFF_SIZE_BASE = 8;
constexpr size_t FOURCC_SIZE = 4;
constexpr BYTE RIFF_ID[FOURCC_SIZE] = {'R', 'I', 'F', 'F'};
constexpr BYTE WEBP_FORM[FOURCC_SIZE] = {'W', 'E', 'B', 'P'};

// Chunk header: 4 fourcc + 4 little-endian payload size = 8; an odd payload is followed by one
// pad byte that the size does not count.
constexpr DWORD CHUNK_HEADER_SIZE = 8;
constexpr int CHUNK_SIZE_FIELD = 4;
constexpr BYTE EXIF_CHUNK[FOURCC_SIZE] = {'E', 'X', 'I', 'F'};

// An animation holds one chunk per frame; beyond this many chunks the walk gives up.
constexpr uint32_t WEBP_CHUNK_LIMIT = 8192;

struct Chunk {
    uint64_t payload;
    uint32_t size;
};

// Leaves the file at the payload of the first EXIF chunk that lies wholly before end.
Status FindExifChunk(FileSource& file, uint64_t end, Chunk* exif) {
    uint64_t position = RIFF_HEADER_SIZE;
    for (uint32_t visited = 0; visited < WEBP_CHUNK_LIMIT; ++visited) {
        if (position > end || end - position < CHUNK_HEADER_SIZE) {
            return RESULT_NO_EXIF;
        }
        Status status = file.MoveTo(position);
        if (status != RESULT_DONE) {
            return status;
        }
        BYTE header[CHUNK_HEADER_SIZE];
        status = ReadWhole(file, header);
        if (status != RESULT_DONE) {
            return status;
        }
        const uint64_t payload = position + CHUNK_HEADER_SIZE;
        const uint32_t size = LittleEndian32(header + CHUNK_SIZE_FIELD);
        if (size > end - payload) {
            return RESULT_NO_EXIF;
        }
        if (memcmp(header, EXIF_CHUNK, FOURCC_SIZE) == 0) {
            *exif = Chunk{payload, size};
            return RESULT_DONE;
        }
        // Without room for the pad byte of an odd payload no chunk can follow.
        const uint32_t padding = size & 1;
        if (padding > end - payload - size) {
            return RESULT_NO_EXIF;
        }
        position = payload + size + padding;
    }
    return RESULT_NO_EXIF;
}

}  // namespace

Status LocateWebpExif(FileSource& file, FileWindow* window) {
    BYTE header[RIFF_HEADER_SIZE];
    Status status = ReadWhole(file, header);
    if (status != RESULT_DONE) {
        return status;
    }
    if (memcmp(header, RIFF_ID, FOURCC_SIZE) != 0 ||
        memcmp(header + FORM_TYPE_FIELD, WEBP_FORM, FOURCC_SIZE) != 0) {
        return RESULT_NO_EXIF;
    }
    // A RIFF that claims more than the file holds is walked to the end of the file; whatever
    // follows a RIFF that ends early is none of its chunks.
    const uint64_t riffEnd = uint64_t{RIFF_SIZE_BASE} + LittleEndian32(header + RIFF_SIZE_FIELD);
    uint64_t fileEnd = 0;
    status = file.Size(&fileEnd);
    if (status != RESULT_DONE) {
        return status;
    }
    const uint64_t end = riffEnd < fileEnd ? riffEnd : fileEnd;
    Chunk exif{};
    status = FindExifChunk(file, end, &exif);
    if (status != RESULT_DONE) {
        return status;
    }
    if (exif.size >= EXIF_ID_SIZE) {
        BYTE identifier[EXIF_ID_SIZE];
        status = ReadWhole(file, identifier);
        if (status != RESULT_DONE) {
            return status;
        }
        if (memcmp(identifier, EXIF_ID, EXIF_ID_SIZE) == 0) {
            *window = FileWindow{exif.payload + EXIF_ID_SIZE, exif.size - EXIF_ID_SIZE};
            return RESULT_DONE;
        }
        // No identifier: the TIFF header is the payload's first byte.
        status = file.MoveTo(exif.payload);
        if (status != RESULT_DONE) {
            return status;
        }
    }
    *window = FileWindow{exif.payload, exif.size};
    return RESULT_DONE;
}
