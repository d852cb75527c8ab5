// The WebP and PNG chunk walks over the memory file: crafted containers for each rule of the
// walks, the files exiftool writes, and what the walks read.
#include <gtest/gtest.h>

#include <fstream>
#include <algorithm>
#include <functional>
#include <iterator>

#include "position/gps_reading.h"
#include "tests/native/memory_file.h"
#include "tests/position/chunk_builder.h"
#include "tests/position/corpus_cases.h"

namespace {

// Both walks give up after this many chunks.
constexpr uint32_t CHUNK_LIMIT = 8192;
constexpr uint32_t RIFF_HEADER_SIZE = 12;
constexpr uint32_t CHUNK_HEADER_SIZE = 8;
constexpr uint32_t EXIF_ID_SIZE = 6;
constexpr uint32_t PNG_SIGNATURE_SIZE = 8;
constexpr double MICRO_ARCSECONDS_PER_DEGREE = 3600000000.0;

const Bytes TIFF =
    BuildTiff(PositionLayout(ByteOrder::MOTOROLA, 'S', Dms(22, 54, 3000), 'W', Dms(43, 10, 2160)));
constexpr uint64_t TIFF_LATITUDE = 82470000000u;
constexpr uint64_t TIFF_LONGITUDE = 155421600000u;

Status ReadPosition(const Bytes& bytes, FileKind kind, GpsPosition* position) {
    CQuorielReader reader;
    return ReadGpsPosition(reader, OpenMemoryFile(bytes), kind, position);
}

struct LocatorCase {
    const char* name;
    Bytes file;
    Status status;       // of the whole reading; RESULT_DONE gives the position of TIFF
    uint32_t start = 0;  // of the block, when one is found; its length is that of TIFF
};

void ExpectOutcome(const LocatorCase& c, FileKind kind) {
    SCOPED_TRACE(c.name);
    GpsPosition position{};
    ASSERT_EQ(ReadPosition(c.file, kind, &position), c.status);
    if (c.status != RESULT_DONE) {
        return;
    }
    EXPECT_EQ(position.latitude, TIFF_LATITUDE);
    EXPECT_EQ(position.longitude, TIFF_LONGITUDE);
    FileSource file(OpenMemoryFile(c.file), FileAccess::READ_AHEAD);
    FileWindow window{};
    ASSERT_EQ(LocateTiffBlock(file, kind, &window), RESULT_DONE);
    EXPECT_EQ(window.start, c.start);
    EXPECT_EQ(window.length, TIFF.size());
    EXPECT_EQ(file.Position(), window.start) << "the TIFF reader starts where it stands";
}

TEST(WebpLocator, ChunkWalkOutcomes) {
    const Bytes image = Vp8lChunk();
    const uint32_t imageEnd = RIFF_HEADER_SIZE + static_cast<uint32_t>(image.size());
    const Bytes exif = RiffChunk("EXIF", TIFF);
    const Bytes odd = RiffChunk("ICCP", {1, 2, 3});
    const uint32_t exifSize = static_cast<uint32_t>(TIFF.size());
    const uint32_t riffUpToExif = imageEnd - CHUNK_HEADER_SIZE;
    Bytes wave = Webp({image, exif});
    std::copy_n("WAVE", 4, wave.begin() + CHUNK_HEADER_SIZE);

    const LocatorCase cases[] = {
        {"EXIF after the image, TIFF header first", Webp({image, exif}), RESULT_DONE,
         imageEnd + CHUNK_HEADER_SIZE},
        {"EXIF with the Exif identifier in front",
         Webp({image, RiffChunk("EXIF", Concat({ExifIdentifier(), TIFF}))}), RESULT_DONE,
         imageEnd + CHUNK_HEADER_SIZE + EXIF_ID_SIZE},
        {"odd-sized chunk passed over with its pad byte", Webp({odd, image, exif}), RESULT_DONE,
         imageEnd + static_cast<uint32_t>(odd.size()) + CHUNK_HEADER_SIZE},
        {"odd-sized chunk without its pad byte",
         Webp({Concat({RiffChunkHeader("ICCP", 3), {1, 2, 3}}), image, exif}), RESULT_NO_EXIF},
        {"no EXIF chunk", Webp({image, RiffChunk("XMP ", {'<', 'x', '/', '>'})}), RESULT_NO_EXIF},
        {"the first EXIF chunk decides", Webp({RiffChunk("EXIF", {1, 2, 3, 4}), exif}),
         RESULT_NO_EXIF},
        {"chunk size past the end of the file", Webp({RiffChunkHeader("VP8L", 1000), exif}),
         RESULT_NO_EXIF},
        {"EXIF one byte longer than the file",
         Webp({image, Concat({RiffChunkHeader("EXIF", exifSize + 1), TIFF})}), RESULT_NO_EXIF},
        {"EXIF behind the end of the RIFF", WebpWithRiffSize(riffUpToExif, {image, exif}),
         RESULT_NO_EXIF},
        {"EXIF running over the end of the RIFF",
         WebpWithRiffSize(riffUpToExif + CHUNK_HEADER_SIZE + exifSize - 1, {image, exif}),
         RESULT_NO_EXIF},
        {"RIFF size larger than the file", WebpWithRiffSize(0xFFFFFFF0, {image, exif}), RESULT_DONE,
         imageEnd + CHUNK_HEADER_SIZE},
        {"RIFF size 0", WebpWithRiffSize(0, {image, exif}), RESULT_NO_EXIF},
        {"RIFF of another form", wave, RESULT_NO_EXIF},
        {"JPEG bytes", Jpeg({ExifApp1(TIFF)}), RESULT_NO_EXIF},
    };
    for (const LocatorCase& c : cases) {
        ExpectOutcome(c, FileKind::WEBP);
    }
}

TEST(PngLocator, ChunkWalkOutcomes) {
    const Bytes header = PngIhdr();
    const Bytes image = PngIdat(16);
    const Bytes end = PngIend();
    const Bytes exif = PngChunk("eXIf", TIFF);
    const uint32_t headerEnd = PNG_SIGNATURE_SIZE + static_cast<uint32_t>(header.size());
    const uint32_t imageEnd = headerEnd + static_cast<uint32_t>(image.size());
    const uint32_t exifSize = static_cast<uint32_t>(TIFF.size());

    const LocatorCase cases[] = {
        {"eXIf before IDAT", Png({header, exif, image, end}), RESULT_DONE,
         headerEnd + CHUNK_HEADER_SIZE},
        {"eXIf after IDAT", Png({header, image, exif, end}), RESULT_DONE,
         imageEnd + CHUNK_HEADER_SIZE},
        {"eXIf last, no IEND", Png({header, image, exif}), RESULT_DONE,
         imageEnd + CHUNK_HEADER_SIZE},
        {"IEND before eXIf", Png({header, image, end, exif}), RESULT_NO_EXIF},
        {"no eXIf", Png({header, image, PngChunk("tEXt", {'a', 0, 'b'}), end}), RESULT_NO_EXIF},
        {"chunk length past the end of the file",
         Png({header, PngChunkHeader("IDAT", 1000), exif, end}), RESULT_NO_EXIF},
        {"chunk length above 2^31-1", Png({header, PngChunkHeader("IDAT", 0x80000000), exif}),
         RESULT_NO_EXIF},
        {"eXIf cut short before its CRC",
         Png({header, Concat({PngChunkHeader("eXIf", exifSize), TIFF})}), RESULT_NO_EXIF},
        // The chunk holds the TIFF data itself; the JPEG identifier is not looked for.
        {"eXIf with the Exif identifier in front",
         Png({header, PngChunk("eXIf", Concat({ExifIdentifier(), TIFF})), end}), RESULT_NO_EXIF},
        {"JPEG bytes", Jpeg({ExifApp1(TIFF)}), RESULT_NO_EXIF},
        {"empty file", {}, RESULT_NO_EXIF},
    };
    for (const LocatorCase& c : cases) {
        ExpectOutcome(c, FileKind::PNG);
    }
}

struct Container {
    const char* name;
    FileKind kind;
    // A file of chunks empty chunks, then the Exif chunk.
    std::function<Bytes(uint32_t chunks)> emptyChunksThenExif;
    // The image chunk with dataSize bytes, then the Exif chunk.
    std::function<Bytes(size_t dataSize)> imageThenExif;
    uint32_t imageData;  // where those bytes begin
};

const Container CONTAINERS[] = {
    {"WebP", FileKind::WEBP,
     [](uint32_t chunks) {
         std::vector<Bytes> pieces(chunks, RiffChunk("JUNK", {}));
         pieces.push_back(RiffChunk("EXIF", TIFF));
         return Webp(pieces);
     },
     [](size_t dataSize) {
         return Webp({RiffChunk("VP8L", Bytes(dataSize, 0x5A)), RiffChunk("EXIF", TIFF)});
     },
     RIFF_HEADER_SIZE + CHUNK_HEADER_SIZE},
    {"PNG", FileKind::PNG,
     [](uint32_t chunks) {
         std::vector<Bytes> pieces(chunks, PngChunk("tEXt", {}));
         pieces.push_back(PngChunk("eXIf", TIFF));
         return Png(pieces);
     },
     [](size_t dataSize) {
         return Png({PngIhdr(), PngIdat(dataSize), PngChunk("eXIf", TIFF), PngIend()});
     },
     PNG_SIGNATURE_SIZE + static_cast<uint32_t>(PngIhdr().size()) + CHUNK_HEADER_SIZE},
};

TEST(ChunkWalks, GiveUpBeyondTheChunkLimit) {
    for (const Container& container : CONTAINERS) {
        SCOPED_TRACE(container.name);
        GpsPosition position{};
        EXPECT_EQ(
            ReadPosition(container.emptyChunksThenExif(CHUNK_LIMIT - 1), container.kind, &position),
            RESULT_DONE)
            << "the Exif chunk is the last one visited";
        EXPECT_EQ(
            ReadPosition(container.emptyChunksThenExif(CHUNK_LIMIT), container.kind, &position),
            RESULT_NO_EXIF);
        EXPECT_LE(MemoryFile().reads.size(), CHUNK_LIMIT + 1);
    }
}

// One or two megabytes of image data in front of the Exif block cost the same calls and bytes,
// a few of them, none starting inside the image data.
TEST(ChunkWalks, ReadTheSameWhateverTheImageDataSize) {
    for (const Container& container : CONTAINERS) {
        SCOPED_TRACE(container.name);
        size_t calls[2] = {};
        uint64_t delivered[2] = {};
        for (size_t larger : {0, 1}) {
            const size_t size = size_t{1} << (20 + larger);
            GpsPosition position{};
            ASSERT_EQ(ReadPosition(container.imageThenExif(size), container.kind, &position),
                      RESULT_DONE);
            for (const ReadRecord& read : MemoryFile().reads) {
                EXPECT_TRUE(read.offset < container.imageData ||
                            read.offset >= container.imageData + size)
                    << "read at " << read.offset;
            }
            calls[larger] = MemoryFile().Calls();
            delivered[larger] = MemoryFile().Delivered();
        }
        EXPECT_EQ(calls[0], calls[1]);
        EXPECT_EQ(delivered[0], delivered[1]);
        EXPECT_LE(calls[1], 3u) << "the size, the front, the Exif chunk with its block";
    }
}

// Positions of 2 GiB and more are beyond one signed distance from the start of the file.
TEST(FileSource, MovesToEveryPosition) {
    for (uint64_t position : {uint64_t{0}, uint64_t{0x7FFFFFFF}, uint64_t{0x80000000},
                              uint64_t{0xFFFFFFFF}, uint64_t{5} << 30}) {
        for (FileAccess access : {FileAccess::DIRECT, FileAccess::READ_AHEAD}) {
            FileSource file(OpenMemoryFile({}), access);
            ASSERT_EQ(file.MoveTo(position), RESULT_DONE) << position;
            EXPECT_EQ(file.Position(), position);
        }
    }
}

struct RealFileCase {
    const char* name;
    FileKind kind;
    double latitude;  // as exiftool -n reads it back
    double longitude;
};

// Written by exiftool 12.57 (see tests/data/formats/README.md), the CR3 onto a tiny file of our
// own: eXIf before IDAT in the PNG, a bare TIFF header in the WebP EXIF chunks.
const RealFileCase REAL_FILES[] = {
    {"gps_exiftool.png", FileKind::PNG, -35.658632, -139.745410999914},
    {"gps_exiftool_lossless.webp", FileKind::WEBP, -35.658632, -139.745410999914},
    {"gps_exiftool_lossy.webp", FileKind::WEBP, -35.658632, -139.745410999914},
    {"gps_exiftool.cr3", FileKind::CR3, 35.658632, 139.745410999914},
};

double SignedDegrees(uint64_t magnitude, bool positive) {
    const double degrees = static_cast<double>(magnitude) / MICRO_ARCSECONDS_PER_DEGREE;
    return positive ? degrees : -degrees;
}

TEST(ChunkWalks, FilesWrittenByExiftoolGiveItsPosition) {
    for (const RealFileCase& c : REAL_FILES) {
        SCOPED_TRACE(c.name);
        std::ifstream in(std::string(QUORIEL_TEST_DATA "/formats/") + c.name, std::ios::binary);
        const Bytes file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ASSERT_FALSE(file.empty());
        GpsPosition position{};
        ASSERT_EQ(ReadPosition(file, c.kind, &position), RESULT_DONE);
        EXPECT_NEAR(SignedDegrees(position.latitude, position.north), c.latitude,
                    CORPUS_TOLERANCE_DEGREES);
        EXPECT_NEAR(SignedDegrees(position.longitude, position.east), c.longitude,
                    CORPUS_TOLERANCE_DEGREES);
    }
}

}  // namespace
