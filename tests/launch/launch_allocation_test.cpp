// Wine cannot be made to refuse a heap allocation of a few bytes, so this program links its own
// AllocateBuffer and FreeBuffer in place of the module's: they count, remember the order of
// frees, and refuse from a chosen allocation on.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "common/memory.h"
#include "launch/command_launch.h"
#include "tests/launch/settings_fixture.h"
#include "tests/support/launch_record.h"
#include "tests/support/message_box_recorder.h"
#include "tests/support/test_prefix.h"

namespace {

int allocationsAllowed = INT_MAX;
std::vector<void*> allocated;
std::vector<void*> freed;

void ResetAllocations(int allowed) {
    allocationsAllowed = allowed;
    allocated.clear();
    freed.clear();
}

constexpr GpsPosition POSITION_A{128371200000u, 503083500000u, true, true};
// The template, the four hemisphere texts and the expanded text.
constexpr int LAUNCH_ALLOCATIONS = 6;

}  // namespace

void* AllocateBuffer(size_t bytes) noexcept {
    if (allocationsAllowed <= 0) {
        return nullptr;
    }
    --allocationsAllowed;
    void* buffer = HeapAlloc(GetProcessHeap(), 0, bytes);
    allocated.push_back(buffer);
    return buffer;
}

void FreeBuffer(void* buffer) noexcept {
    freed.push_back(buffer);
    HeapFree(GetProcessHeap(), 0, buffer);
}

namespace {

TEST(LaunchAllocation, EveryRefusalFailsCleanly) {
    SettingsFixture stored;
    // A program that does not exist: a launch that got that far would show a box.
    stored.Write(L"C:\\qrtest\\no-such-program.exe @Ad", L"N", L"S", L"E", L"W");
    for (int allowed = 0; allowed < LAUNCH_ALLOCATIONS; ++allowed) {
        SCOPED_TRACE(allowed);
        ResetAllocations(allowed);
        MessageBoxRecorder boxes;
        EXPECT_EQ(LaunchPosition(nullptr, POSITION_A), STATUS_OUT_OF_MEMORY);
        EXPECT_TRUE(boxes.Boxes().empty());
        EXPECT_EQ(allocated.size(), static_cast<size_t>(allowed));
        EXPECT_EQ(freed.size(), allocated.size()) << "every buffer obtained is freed";
    }
}

TEST(LaunchAllocation, BuffersAreFreedInReverseOrder) {
    SettingsFixture stored;
    stored.Write(std::wstring(RECORDER_PATH) + L" @Ad", L"N", L"S", L"E", L"W");
    ResetAllocations(INT_MAX);
    LaunchRecord record;
    ASSERT_EQ(LaunchPosition(nullptr, POSITION_A), RESULT_DONE);
    ASSERT_EQ(allocated.size(), static_cast<size_t>(LAUNCH_ALLOCATIONS));
    // The expanded text, then "W", "E", "S", "N" and the template.
    EXPECT_EQ(freed, std::vector<void*>(allocated.rbegin(), allocated.rend()));
    EXPECT_TRUE(record.Wait().has_value());
}

}  // namespace
