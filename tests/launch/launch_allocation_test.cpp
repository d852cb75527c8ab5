// Allocation failures come from the counting allocator linked in place of the module's.
#include <gtest/gtest.h>

#include <vector>

#include "launch/command_launch.h"
#include "tests/support/counting_allocator.h"
#include "tests/support/launch_record.h"
#include "tests/host/message_box_recorder.h"
#include "tests/support/settings_fixture.h"
#include "tests/support/test_prefix.h"

namespace {

using counting_allocator::Allocated;
using counting_allocator::Freed;

constexpr GpsPosition POSITION_A{128371200000u, 503083500000u, true, true};
// The template, the four hemisphere texts and the expanded text.
constexpr int LAUNCH_ALLOCATIONS = 6;

TEST(LaunchAllocation, EveryRefusalFailsCleanly) {
    SettingsFixture stored;
    // A program that does not exist: a launch that got that far would show a box.
    stored.Write(L"C:\\qrtest\\no-such-program.exe @Ad", L"N", L"S", L"E", L"W");
    for (int allowed = 0; allowed < LAUNCH_ALLOCATIONS; ++allowed) {
        SCOPED_TRACE(allowed);
        counting_allocator::Reset(allowed);
        MessageBoxRecorder boxes;
        EXPECT_EQ(LaunchPosition(nullptr, JAPANESE_MESSAGES, POSITION_A), STATUS_OUT_OF_MEMORY);
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ(Allocated().size(), static_cast<size_t>(allowed));
        EXPECT_EQ(Freed().size(), Allocated().size()) << "every buffer obtained is freed";
    }
}

TEST(LaunchAllocation, BuffersAreFreedInReverseOrder) {
    SettingsFixture stored;
    stored.Write(std::wstring(RECORDER_PATH) + L" @Ad", L"N", L"S", L"E", L"W");
    counting_allocator::Reset();
    LaunchRecord record;
    ASSERT_EQ(LaunchPosition(nullptr, JAPANESE_MESSAGES, POSITION_A), RESULT_DONE);
    ASSERT_EQ(Allocated().size(), static_cast<size_t>(LAUNCH_ALLOCATIONS));
    // The expanded text, then "W", "E", "S", "N" and the template.
    EXPECT_EQ(Freed(), std::vector<void*>(Allocated().rbegin(), Allocated().rend()));
    EXPECT_TRUE(record.Wait().has_value());
}

}  // namespace
