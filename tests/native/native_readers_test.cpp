// The reading built natively under the sanitizers, over an in-memory file: the real corpus and
// built data give their outcomes, and no read leaves the TIFF data window.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "position/gps_reading.h"
#include "tests/native/memory_file.h"
#include "tests/position/corpus_cases.h"
#include "tests/position/exif_builder.h"

namespace {

constexpr uint32_t EXIF_ID_SIZE = 6;
constexpr uint32_t APP1_OVERHEAD = 8;

Bytes ReadCorpusFile(const char* name) {
    std::ifstream in(std::string(QUORIEL_TEST_DATA "/corpus/") + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Status Read(const Bytes& bytes, FileKind kind, GpsPosition* position) {
    const HANDLE file = OpenMemoryFile(bytes);
    CQuorielReader reader;
    return ReadGpsPosition(reader, file, kind, position);
}

// Every read of the TIFF reader lies inside the window: for a JPEG file the window begins
// behind the identifier (the one read of 6 bytes) and ends with its APP1 segment.
void ExpectReadsInsideWindow(FileKind kind) {
    const MemoryFileState& file = MemoryFile();
    size_t first = 0;
    uint64_t start = 0;
    uint64_t length = file.bytes.size();
    if (kind == FileKind::JPEG) {
        while (first < file.reads.size() && file.reads[first].size != EXIF_ID_SIZE) {
            ++first;
        }
        if (first == file.reads.size()) {
            return;  // the TIFF reader was never reached
        }
        const uint32_t header = file.reads[first - 1].offset;
        start = file.reads[first].offset + EXIF_ID_SIZE;
        length = (file.bytes[header + 2] << 8 | file.bytes[header + 3]) - APP1_OVERHEAD;
        ++first;
    }
    for (size_t i = first; i < file.reads.size(); ++i) {
        const ReadRecord& read = file.reads[i];
        EXPECT_GE(read.offset, start) << "read " << i;
        EXPECT_LE(read.offset + uint64_t{read.size}, start + length) << "read " << i;
    }
}

TEST(NativeReaders, CorpusOutcomes) {
    for (const CorpusCase& c : CORPUS_CASES) {
        SCOPED_TRACE(c.name);
        GpsPosition position{};
        const Status status = Read(ReadCorpusFile(c.name), c.kind, &position);
        ASSERT_FALSE(MemoryFile().bytes.empty());
        switch (c.outcome) {
            case CorpusCase::POSITION:
                ASSERT_EQ(status, RESULT_DONE);
                EXPECT_EQ(position.latitude, c.latitude);
                EXPECT_EQ(position.longitude, c.longitude);
                EXPECT_EQ(position.north, c.north);
                EXPECT_EQ(position.east, c.east);
                break;
            case CorpusCase::NO_POSITION:
                EXPECT_EQ(status, RESULT_NO_POSITION);
                break;
            case CorpusCase::NO_EXIF:
                EXPECT_EQ(status, RESULT_NO_EXIF);
                break;
        }
        ExpectReadsInsideWindow(c.kind);
    }
}

TEST(NativeReaders, BothByteOrdersGiveTheSamePosition) {
    std::vector<GpsPosition> positions;
    for (ByteOrder order : {ByteOrder::INTEL, ByteOrder::MOTOROLA}) {
        const Bytes tiff =
            BuildTiff(PositionLayout(order, 'S', Dms(22, 54, 3000), 'W', Dms(43, 10, 2160)));
        for (FileKind kind : {FileKind::TIFF, FileKind::JPEG}) {
            const Bytes file = kind == FileKind::JPEG ? Jpeg({JfifApp0(), ExifApp1(tiff)}) : tiff;
            GpsPosition position{};
            ASSERT_EQ(Read(file, kind, &position), RESULT_DONE);
            positions.push_back(position);
            ExpectReadsInsideWindow(kind);
        }
    }
    for (const GpsPosition& p : positions) {
        EXPECT_EQ(p.latitude, 82470000000u);
        EXPECT_EQ(p.longitude, 155421600000u);
        EXPECT_FALSE(p.north);
        EXPECT_FALSE(p.east);
    }
}

TEST(NativeReaders, OnlyFixedSizeReads) {
    const Bytes jpeg = ReadCorpusFile("DSCN0010.jpg");
    GpsPosition position{};
    ASSERT_EQ(Read(jpeg, FileKind::JPEG, &position), RESULT_DONE);
    for (const ReadRecord& read : MemoryFile().reads) {
        EXPECT_TRUE(read.size == 2 || read.size == 4 || read.size == 6 || read.size == 8 ||
                    read.size == 12 || read.size == 24)
            << read.size;
    }
}

}  // namespace
