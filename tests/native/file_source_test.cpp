// The file source on its own: read-ahead blocks kept, replaced and read again; reads at and past
// the end in both ways of access; moves to the far ends of a 64-bit position.
#include <gtest/gtest.h>

#include <vector>

#include "position/file_source.h"
#include "tests/native/memory_file.h"

namespace {

constexpr uint64_t FARTHEST = uint64_t{INT64_MAX};

std::vector<uint8_t> Pattern(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
    }
    return bytes;
}

// Each read in turn, with the file calls made so far: a block is read only where none holds the
// bytes, from the position asked for, and the fifth block takes the place of the first.
TEST(FileSource, ReadAheadKeepsFourBlocks) {
    const std::vector<uint8_t> bytes = Pattern(40000);
    const struct {
        uint64_t at;
        size_t calls;  // the size query, then one read a block
    } reads[] = {
        {0, 2},     {4092, 3},  // runs past the first block: a block of its own
        {100, 3},   {8000, 3},  {9000, 4},
        {20000, 5}, {30000, 6},  // the fifth block, in place of the one at 0
        {4093, 6},  {10, 7},
    };
    FileSource file(OpenMemoryFile(bytes), FileAccess::READ_AHEAD);
    for (const auto& read : reads) {
        SCOPED_TRACE(read.at);
        BYTE buffer[8];
        ASSERT_EQ(ReadAt(file, read.at, buffer), RESULT_DONE);
        EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 8),
                  std::vector<uint8_t>(bytes.begin() + read.at, bytes.begin() + read.at + 8));
        EXPECT_EQ(MemoryFile().Calls(), read.calls);
        EXPECT_EQ(MemoryFile().seeks, 0u);
    }
}

TEST(FileSource, ReadsAtAndPastTheEnd) {
    const std::vector<uint8_t> bytes = Pattern(100);
    for (FileAccess access : {FileAccess::DIRECT, FileAccess::READ_AHEAD}) {
        SCOPED_TRACE(access == FileAccess::DIRECT ? "direct" : "read-ahead");
        FileSource file(OpenMemoryFile(bytes), access);
        BYTE buffer[8];
        EXPECT_EQ(ReadAt(file, 92, buffer), RESULT_DONE);
        for (uint64_t at : {uint64_t{93}, uint64_t{100}, uint64_t{5000}, FARTHEST}) {
            EXPECT_EQ(ReadAt(file, at, buffer), RESULT_NO_EXIF) << at;
        }
        EXPECT_EQ(file.MoveTo(FARTHEST + 1), RESULT_NO_EXIF);
        EXPECT_EQ(file.Read(buffer, 0), RESULT_DONE);
        EXPECT_EQ(file.Read(buffer, READ_AHEAD_BLOCK + 1), RESULT_NO_EXIF);
    }
    // Read-ahead asks for nothing at or past the end: one block, one size query.
    EXPECT_EQ(MemoryFile().Calls(), 2u);
}

}  // namespace
