#include "launch/command_launch.h"

#include <gtest/gtest.h>

#include <string>

#include "common/messages.h"
#include "tests/support/settings_fixture.h"
#include "tests/support/launch_record.h"
#include "tests/host/message_box_recorder.h"
#include "tests/support/test_prefix.h"
#include "tests/support/test_window.h"

namespace {

constexpr GpsPosition POSITION_A{128371200000u, 503083500000u, true, true};
constexpr GpsPosition POSITION_B{82470000000u, 155421600000u, false, false};
// Long enough for a launch to have arrived had there been one.
constexpr DWORD NO_LAUNCH_MS = 3000;

const std::wstring RECORDER = RECORDER_PATH;

TEST(SplitAtFirstSpace, FileAndParameters) {
    const struct {
        const wchar_t* text;
        const wchar_t* file;
        const wchar_t* parameters;  // null: no parameters at all
    } cases[] = {
        {L"https://example.org/?q=1,2", L"https://example.org/?q=1,2", nullptr},
        {L"prog.exe a b", L"prog.exe", L"a b"},
        {L"prog.exe  b", L"prog.exe", L" b"},
        {L" rest", L"", L"rest"},
        {L"prog.exe ", L"prog.exe", L""},
        {L"\"C:\\Program Files\\x.exe\" y", L"\"C:\\Program", L"Files\\x.exe\" y"},
        {L"", L"", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::wstring text = c.text;
        const WCHAR* file = nullptr;
        const WCHAR* parameters = reinterpret_cast<const WCHAR*>(1);
        SplitAtFirstSpace(text.data(), &file, &parameters);
        EXPECT_EQ(std::wstring(file), c.file);
        if (c.parameters == nullptr) {
            EXPECT_EQ(parameters, nullptr);
        } else {
            ASSERT_NE(parameters, nullptr);
            EXPECT_EQ(std::wstring(parameters), c.parameters);
        }
    }
}

struct LaunchCase {
    const char* what;
    std::wstring object;
    std::wstring north, south, east, west;
    GpsPosition position;
    std::wstring arguments;  // what the recorder receives after its own path
};

TEST(LaunchPosition, RecorderReceivesTheExpandedText) {
    const LaunchCase cases[] = {
        {"command line", RECORDER + L" @Ad @Od @AH @OH", L"N", L"S", L"E", L"W", POSITION_A,
         L"35.658666 139.745416 N E"},
        {"leading spaces and degrees, minutes, seconds", L"   " + RECORDER + L" @AD°@AM'@As\"@AH",
         L"N", L"S", L"E", L"W", POSITION_B, L"22°54'30\"S"},
        {"space from a hemisphere text splits", RECORDER + L"@AH@Ad", L" lat=", L"", L"", L"",
         POSITION_A, L"lat=35.658666"},
        {"URL through the recorder's scheme", std::wstring(RECORDER_SCHEME) + L":@AH@Ad,@OH@Od",
         L"", L"-", L"", L"-", POSITION_B,
         std::wstring(RECORDER_SCHEME) + L":-22.908333,-43.172666"},
    };
    for (const LaunchCase& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsFixture stored;
        stored.Write(c.object, c.north, c.south, c.east, c.west);
        TestWindow owner;
        MessageBoxRecorder boxes;
        LaunchRecord record;
        ASSERT_EQ(LaunchPosition(owner.Get(), JAPANESE_MESSAGES, c.position), RESULT_DONE);
        const auto commandLine = record.Wait();
        ASSERT_TRUE(commandLine.has_value()) << "the recorder was not started";
        EXPECT_EQ(LaunchRecord::Arguments(*commandLine), c.arguments) << "from " << *commandLine;
        EXPECT_TRUE(boxes.Boxes().empty());
    }
}

TEST(LaunchPosition, RefusedLaunchIsReportedOnce) {
    SettingsFixture stored;
    stored.Write(L"C:\\qrtest\\no-such-program.exe @Ad", L"N", L"S", L"E", L"W");
    TestWindow owner;
    MessageBoxRecorder boxes;
    EXPECT_EQ(LaunchPosition(owner.Get(), JAPANESE_MESSAGES, POSITION_A), RESULT_REPORTED);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(
        IsCommandBox(boxes.Boxes()[0], TEXT_LAUNCH_FAILED, MB_ICONINFORMATION, owner.Get()));
}

TEST(LaunchPosition, SettingsProblemsLaunchNothing) {
    const struct {
        const char* what;
        bool writeKey;
        std::wstring object;
        Status status;
        const wchar_t* box;
    } cases[] = {
        {"no settings key", false, L"", static_cast<Status>(0x80070002), nullptr},
        {"template only spaces", true, L"  ", RESULT_REPORTED, TEXT_TEMPLATE_NOT_SET},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
        SettingsFixture stored;
        if (c.writeKey) {
            stored.Write(c.object, L"N", L"S", L"E", L"W");
        } else {
            DeleteKeyTree(HKEY_CURRENT_USER, SETTINGS_KEY);
        }
        TestWindow owner;
        MessageBoxRecorder boxes;
        LaunchRecord record;
        EXPECT_EQ(LaunchPosition(owner.Get(), JAPANESE_MESSAGES, POSITION_A), c.status);
        if (c.box == nullptr) {
            EXPECT_TRUE(boxes.Boxes().empty());
        } else {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_TRUE(IsCommandBox(boxes.Boxes()[0], c.box, MB_ICONWARNING, owner.Get()));
        }
        EXPECT_FALSE(record.Wait(NO_LAUNCH_MS).has_value());
    }
}

TEST(LaunchPosition, NullOwnerShowsAnUnownedBox) {
    SettingsFixture stored;
    stored.Write(L"C:\\qrtest\\no-such-program.exe", L"N", L"S", L"E", L"W");
    MessageBoxRecorder boxes;
    EXPECT_EQ(LaunchPosition(nullptr, JAPANESE_MESSAGES, POSITION_A), RESULT_REPORTED);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(IsCommandBox(boxes.Boxes()[0], TEXT_LAUNCH_FAILED, MB_ICONINFORMATION, nullptr));
}

}  // namespace
