// Walks the chunks of a PNG file to eXIf, whose data is the TIFF block, or to IEND. eXIf may
// come before or after the image data, so every chunk up to IEND is a candidate; only the chunk
// headers are read, and each chunk is passed over by its length.
#include <cstring>

#include "position/chunks/png_locator.h"

namespace {

constexpr DWORD SIGNATURE_SIZE = 8;
constexpr BYTE SIGNATURE[SIGNATURE_SIZE] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// Chunk: 4 big-endian data length + 4 type | data | 4 CRC = 12 bytes besides the data. The CRC
// is not checked.
constexpr DWORD CHUNK_HEADER_SIZE = 8;
constexpr int CHUNK_TYPE_FIELD = 4;
constexpr uint32_t CRC_SIZE = 4;
constexpr size_t TYPE_SIZE = 4;
constexpr BYTE EXIF_CHUNK[TYPE_SIZE] = {'e', 'X', 'I', 'f'};
constexpr BYTE END_CHUNK[TYPE_SIZE] = {'I', 'E', 'N', 'D'};

// Lengths above this are invalid in PNG.
constexpr uint32_t LONGEST_CHUNK = 0x7FFFFFFF;
// Large images come as many IDAT chunks (8 KiB each from common writers) and eXIf may follow
// them; beyond this many chunks the walk gives up.
constexpr uint32_t PNG_CHUNK_LIMIT = 8192;

}  // namespace

Status LocatePngExif(FileSource& file, FileWindow* window) {
    BYTE signature[SIGNATURE_SIZE];
    Status status = ReadWhole(file, signature);
    if (status != RESULT_DONE) {
        return status;
    }
    if (memcmp(signature, SIGNATURE, SIGNATURE_SIZE) != 0) {
        return RESULT_NO_EXIF;
    }
    uint64_t end = 0;
    status = file.Size(&end);
    if (status != RESULT_DONE) {
        return status;
    }
    uint64_t position = SIGNATURE_SIZE;
    for (uint32_t visited = 0; visited < PNG_CHUNK_LIMIT; ++visited) {
        if (position > end || end - position < CHUNK_HEADER_SIZE) {
            return RESULT_NO_EXIF;
        }
        status = file.MoveTo(position);
        if (status != RESULT_DONE) {
            return status;
        }
        BYTE header[CHUNK_HEADER_SIZE];
        status = ReadWhole(file, header);
        if (status != RESULT_DONE) {
            return status;
        }
        const uint32_t length = BigEndian32(header);
        const BYTE* type = header + CHUNK_TYPE_FIELD;
        if (length > LONGEST_CHUNK || memcmp(type, END_CHUNK, TYPE_SIZE) == 0) {
            return RESULT_NO_EXIF;
        }
        // The whole chunk, its CRC included, lies inside the file, or the file is cut short.
        const uint64_t data = position + CHUNK_HEADER_SIZE;
        if (end - data < CRC_SIZE || length > end - data - CRC_SIZE) {
            return RESULT_NO_EXIF;
        }
        if (memcmp(type, EXIF_CHUNK, TYPE_SIZE) == 0) {
            *window = FileWindow{data, length};
            return RESULT_DONE;
        }
        position = data + length + CRC_SIZE;
    }
    return RESULT_NO_EXIF;
}
