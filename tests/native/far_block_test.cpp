// The same Exif block behind 1 KB, 2.2 GB and 3.5 GB of image data, in PNG, WebP and HEIF files
// whose image data is a sparse run of zeros: a block anywhere in a file below 4 GiB gives its
// position.
#include <gtest/gtest.h>

#include <vector>

#include "position/gps_reading.h"
#include "tests/native/memory_file.h"
#include "tests/position/sparse_builder.h"

namespace {

const Bytes TIFF =
    BuildTiff(PositionLayout(ByteOrder::INTEL, 'N', Dms(35, 39, 2936), 'E', Dms(139, 44, 4500)));
constexpr uint64_t TIFF_LATITUDE = 128369360000u;
constexpr uint64_t TIFF_LONGITUDE = 503085000000u;
constexpr uint64_t IMAGE_SIZES[] = {1000, 2200000000, 3500000000};

SparseFile FileBehind(FileKind kind, uint64_t imageSize) {
    return kind == FileKind::PNG    ? PngBehind(TIFF, imageSize)
           : kind == FileKind::WEBP ? WebpBehind(TIFF, imageSize)
                                    : HeifBehind(TIFF, imageSize);
}

TEST(FarBlocks, GiveTheSamePositionWhereverTheyLie) {
    for (const uint64_t imageSize : IMAGE_SIZES) {
        for (const FileKind kind : {FileKind::PNG, FileKind::WEBP, FileKind::HEIF}) {
            SCOPED_TRACE(std::string(KindName(kind)) + " behind " + std::to_string(imageSize));
            const SparseFile file = FileBehind(kind, imageSize);
            CQuorielReader reader;
            GpsPosition position{};
            ASSERT_EQ(ReadGpsPosition(reader, OpenSparseFile(file.head, file.parts), kind, &position),
                      RESULT_DONE);
            EXPECT_EQ(position.latitude, TIFF_LATITUDE);
            EXPECT_EQ(position.longitude, TIFF_LONGITUDE);
            EXPECT_TRUE(position.north && position.east);
            EXPECT_LE(MemoryFile().Calls(), 2 + file.parts.size()) << "the size and a block a part";
        }
    }
}

}  // namespace
