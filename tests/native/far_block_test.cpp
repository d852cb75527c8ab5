// The same Exif block behind 1 KB, 2.2 GB and 3.5 GB of image data, in PNG, WebP and HEIF files
// whose image data is a sparse run of zeros: a block anywhere in a file below 4 GiB gives its
// position.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "position/gps_reading.h"
#include "tests/native/memory_file.h"
#include "tests/position/box_builder.h"
#include "tests/position/chunk_builder.h"

namespace {

const Bytes TIFF =
    BuildTiff(PositionLayout(ByteOrder::INTEL, 'N', Dms(35, 39, 2936), 'E', Dms(139, 44, 4500)));
constexpr uint64_t TIFF_LATITUDE = 128369360000u;
constexpr uint64_t TIFF_LONGITUDE = 503085000000u;
constexpr uint64_t IMAGE_SIZES[] = {1000, 2200000000, 3500000000};

constexpr uint32_t CHUNK_HEADER_SIZE = 8;
constexpr uint32_t PNG_CRC_SIZE = 4;
constexpr uint32_t LONGEST_PNG_CHUNK = 0x7FFFFFFF;
constexpr uint32_t RIFF_HEADER_SIZE = 12;
constexpr uint32_t RIFF_SIZE_BASE = 8;

struct SparseFile {
    Bytes near;
    std::vector<FarPart> far;
};

// IHDR, then IDAT chunks of the largest length for imageSize bytes of zeros, each header behind
// the zeros of the one before, then eXIf and IEND. CRCs are zeros: they are not checked.
SparseFile PngBehind(uint64_t imageSize) {
    SparseFile file;
    uint64_t left = imageSize;
    uint32_t length = static_cast<uint32_t>(std::min<uint64_t>(left, LONGEST_PNG_CHUNK));
    file.near = Png({PngIhdr(), PngChunkHeader("IDAT", length)});
    uint64_t position = file.near.size() + uint64_t{length};
    for (left -= length; left > 0; left -= length) {
        length = static_cast<uint32_t>(std::min<uint64_t>(left, LONGEST_PNG_CHUNK));
        file.far.push_back(
            {position, Concat({Bytes(PNG_CRC_SIZE, 0), PngChunkHeader("IDAT", length)})});
        position += PNG_CRC_SIZE + CHUNK_HEADER_SIZE + length;
    }
    const Bytes tail = Concat({PngChunk("eXIf", TIFF), PngIend()});
    file.far.push_back({position, Concat({Bytes(PNG_CRC_SIZE, 0), tail})});
    return file;
}

// A VP8L chunk of imageSize bytes of zeros, then the EXIF chunk; the RIFF size counts both.
SparseFile WebpBehind(uint64_t imageSize) {
    const Bytes exif = RiffChunk("EXIF", TIFF);
    const uint64_t riffSize =
        RIFF_HEADER_SIZE - RIFF_SIZE_BASE + CHUNK_HEADER_SIZE + imageSize + exif.size();
    SparseFile file;
    file.near = WebpWithRiffSize(static_cast<uint32_t>(riffSize),
                                 {RiffChunkHeader("VP8L", static_cast<uint32_t>(imageSize))});
    file.far.push_back({file.near.size() + imageSize, exif});
    return file;
}

// meta first, naming one Exif item whose data lies imageSize bytes into the file.
SparseFile HeifBehind(uint64_t imageSize) {
    constexpr uint32_t EXIF_ITEM = 1;
    const Bytes data = ExifItemData(TIFF);
    const Bytes meta =
        Concat({BigEndian(4, 0), PictHandler(), Iinf(0, {Infe(2, EXIF_ITEM, "Exif")}),
                Iloc({1, 4, 4, 0, 0}, {{EXIF_ITEM, 0, 0, {{imageSize, data.size()}}}})});
    SparseFile file;
    file.near = Concat({Ftyp("heic"), Box("meta", meta)});
    file.far.push_back({imageSize, data});
    return file;
}

SparseFile FileBehind(FileKind kind, uint64_t imageSize) {
    return kind == FileKind::PNG    ? PngBehind(imageSize)
           : kind == FileKind::WEBP ? WebpBehind(imageSize)
                                    : HeifBehind(imageSize);
}

TEST(FarBlocks, GiveTheSamePositionWhereverTheyLie) {
    for (const uint64_t imageSize : IMAGE_SIZES) {
        for (const FileKind kind : {FileKind::PNG, FileKind::WEBP, FileKind::HEIF}) {
            SCOPED_TRACE(std::string(KindName(kind)) + " behind " + std::to_string(imageSize));
            const SparseFile file = FileBehind(kind, imageSize);
            CQuorielReader reader;
            GpsPosition position{};
            ASSERT_EQ(ReadGpsPosition(reader, OpenSparseFile(file.near, file.far), kind, &position),
                      RESULT_DONE);
            EXPECT_EQ(position.latitude, TIFF_LATITUDE);
            EXPECT_EQ(position.longitude, TIFF_LONGITUDE);
            EXPECT_TRUE(position.north && position.east);
            EXPECT_LE(MemoryFile().Calls(), 2 + file.far.size()) << "the size and a block a part";
        }
    }
}

}  // namespace
