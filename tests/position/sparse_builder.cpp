// Sparse photos: the structures around a long run of zeros, at the offsets they take.
#include "tests/position/sparse_builder.h"

#include <algorithm>

#include "tests/position/box_builder.h"
#include "tests/position/chunk_builder.h"

namespace {

constexpr uint32_t CHUNK_HEADER_SIZE = 8;
constexpr uint32_t PNG_CRC_SIZE = 4;
constexpr uint32_t LONGEST_PNG_CHUNK = 0x7FFFFFFF;
constexpr uint32_t RIFF_HEADER_SIZE = 12;
constexpr uint32_t RIFF_SIZE_BASE = 8;

}  // namespace

// IHDR, then IDAT chunks of the largest length for imageSize bytes of zeros, each header behind
// the zeros of the one before, then eXIf and IEND. CRCs are zeros: they are not checked.
SparseFile PngBehind(const Bytes& tiff, uint64_t imageSize) {
    SparseFile file;
    uint64_t left = imageSize;
    uint32_t length = static_cast<uint32_t>(std::min<uint64_t>(left, LONGEST_PNG_CHUNK));
    file.head = Png({PngIhdr(), PngChunkHeader("IDAT", length)});
    uint64_t position = file.head.size() + uint64_t{length};
    for (left -= length; left > 0; left -= length) {
        length = static_cast<uint32_t>(std::min<uint64_t>(left, LONGEST_PNG_CHUNK));
        file.parts.push_back(
            {position, Concat({Bytes(PNG_CRC_SIZE, 0), PngChunkHeader("IDAT", length)})});
        position += PNG_CRC_SIZE + CHUNK_HEADER_SIZE + length;
    }
    const Bytes tail = Concat({PngChunk("eXIf", tiff), PngIend()});
    file.parts.push_back({position, Concat({Bytes(PNG_CRC_SIZE, 0), tail})});
    return file;
}

// A VP8L chunk of imageSize bytes of zeros, then the EXIF chunk; the RIFF size counts both.
SparseFile WebpBehind(const Bytes& tiff, uint64_t imageSize) {
    const Bytes exif = RiffChunk("EXIF", tiff);
    const uint64_t riffSize =
        RIFF_HEADER_SIZE - RIFF_SIZE_BASE + CHUNK_HEADER_SIZE + imageSize + exif.size();
    SparseFile file;
    file.head = WebpWithRiffSize(static_cast<uint32_t>(riffSize),
                                 {RiffChunkHeader("VP8L", static_cast<uint32_t>(imageSize))});
    file.parts.push_back({file.head.size() + imageSize, exif});
    return file;
}

// meta first, naming one Exif item whose data lies imageSize bytes into the file.
SparseFile HeifBehind(const Bytes& tiff, uint64_t imageSize) {
    constexpr uint32_t EXIF_ITEM = 1;
    const Bytes data = ExifItemData(tiff);
    const Bytes meta =
        Concat({BigEndian(4, 0), PictHandler(), Iinf(0, {Infe(2, EXIF_ITEM, "Exif")}),
                Iloc({1, 8, 4, 0, 0}, {{EXIF_ITEM, 0, 0, {{imageSize, data.size()}}}})});
    SparseFile file;
    file.head = Concat({Ftyp("heic"), Box("meta", meta)});
    file.parts.push_back({imageSize, data});
    return file;
}
