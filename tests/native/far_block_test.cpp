// The same Exif block behind 1 KB, 2.2 GB, 3.5 GB and up to 5 GiB of image data, in files whose
// image data is a sparse run of zeros: a block anywhere in the file gives its position (a WebP's
// RIFF ends below 4 GiB); JPEG and TIFF files of 4 GiB and more are read by their whole size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "position/gps_reading.h"
#include "tests/native/memory_file.h"
#include "tests/position/sparse_builder.h"

namespace {

const Bytes TIFF =
    BuildTiff(PositionLayout(ByteOrder::INTEL, 'N', Dms(35, 39, 2936), 'E', Dms(139, 44, 4500)));
constexpr uint64_t TIFF_LATITUDE = 128369360000u;
constexpr uint64_t TIFF_LONGITUDE = 503085000000u;
constexpr uint64_t GIB = uint64_t{1} << 30;

struct FarCase {
    FileKind kind;
    uint64_t imageSize;
};
const FarCase FAR_CASES[] = {
    {FileKind::PNG, 1000},         {FileKind::PNG, 2200000000},  {FileKind::PNG, 3500000000},
    {FileKind::PNG, 4 * GIB - 20}, {FileKind::PNG, 4 * GIB + 3}, {FileKind::PNG, 5 * GIB},
    {FileKind::WEBP, 1000},        {FileKind::WEBP, 2200000000}, {FileKind::WEBP, 3500000000},
    {FileKind::HEIF, 1000},        {FileKind::HEIF, 2200000000}, {FileKind::HEIF, 3500000000},
    {FileKind::HEIF, 4 * GIB + 3}, {FileKind::HEIF, 5 * GIB},
};

SparseFile FileBehind(FileKind kind, uint64_t imageSize) {
    return kind == FileKind::PNG    ? PngBehind(TIFF, imageSize)
           : kind == FileKind::WEBP ? WebpBehind(TIFF, imageSize)
                                    : HeifBehind(TIFF, imageSize);
}

void ExpectThePosition(FileKind kind, const Bytes& head, const std::vector<MemoryPart>& parts) {
    CQuorielReader reader;
    GpsPosition position{};
    ASSERT_EQ(ReadGpsPosition(reader, OpenSparseFile(head, parts), kind, &position), RESULT_DONE);
    EXPECT_EQ(position.latitude, TIFF_LATITUDE);
    EXPECT_EQ(position.longitude, TIFF_LONGITUDE);
    EXPECT_TRUE(position.north && position.east);
}

TEST(FarBlocks, GiveTheSamePositionWhereverTheyLie) {
    for (const FarCase& c : FAR_CASES) {
        SCOPED_TRACE(std::string(KindName(c.kind)) + " behind " + std::to_string(c.imageSize));
        const SparseFile file = FileBehind(c.kind, c.imageSize);
        std::vector<MemoryPart> parts;
        for (const FarPart& part : file.parts) {
            parts.push_back({part.offset, part.bytes});
        }
        ExpectThePosition(c.kind, file.head, parts);
        EXPECT_LE(MemoryFile().Calls(), 2 + file.parts.size()) << "the size and a block a part";
    }
}

// The block at the start and 4 GiB of anything behind it: the size the readings test their
// bounds against is the whole size, not its low 32 bits.
TEST(FarBlocks, JpegAndTiffFilesOf4GiBAndMore) {
    const std::vector<MemoryPart> tail = {{4 * GIB, Bytes(16, 0x5A)}};
    ExpectThePosition(FileKind::JPEG, Jpeg({ExifApp1(TIFF)}), tail);
    ExpectThePosition(FileKind::TIFF, TIFF, tail);
}

}  // namespace
