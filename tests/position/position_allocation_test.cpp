// The path buffer of the command: refused, and released on every path. Allocations come from
// the counting allocator linked in place of the module's.
#include <gtest/gtest.h>

#include "tests/position/command_harness.h"
#include "tests/support/counting_allocator.h"

namespace {

TEST(PositionAllocation, PathBufferRefusedGivesOutOfMemory) {
    CommandHarness harness;
    const std::wstring path = harness.Folder().Write(L"photo.jpg", {});
    counting_allocator::Reset(0);
    const CommandRun run = harness.RunFile(path, FileKind::JPEG);
    EXPECT_EQ(run.result, E_OUTOFMEMORY);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_TRUE(run.fileReleased);
}

TEST(PositionAllocation, EveryBufferIsFreedOnEveryPath) {
    CommandHarness harness;
    const Bytes tiff =
        BuildTiff(PositionLayout(ByteOrder::INTEL, 'N', Dms(1, 2, 3), 'E', Dms(4, 5, 6)));
    const struct {
        const char* what;
        std::wstring path;
        size_t allocations;  // the path, and for a launch the five settings and the expanded text
    } cases[] = {
        {"open fails", harness.Folder().Path() + L"\\missing.jpg", 1},
        {"no Exif", harness.Folder().Write(L"empty.jpg", {}), 1},
        {"launched", harness.Folder().Write(L"photo.jpg", Jpeg({ExifApp1(tiff)})), 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        counting_allocator::Reset();
        harness.RunFile(c.path, FileKind::JPEG);
        EXPECT_EQ(counting_allocator::Allocated().size(), c.allocations);
        EXPECT_EQ(counting_allocator::Freed().size(), c.allocations);
    }
}

}  // namespace
