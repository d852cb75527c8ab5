#include "tests/position/command_harness.h"

#include <gtest/gtest.h>

#include <sstream>

#include "common/messages.h"
#include "tests/host/drop_list.h"
#include "tests/support/launch_record.h"
#include "tests/support/test_prefix.h"

namespace {

// Whole degrees, whole minutes and seconds to the micro-arcsecond give the exact position.
constexpr const wchar_t* EXACT_TEMPLATE = L" @AD @AM @As @AH @OD @OM @Os @OH";

bool ParseSeconds(const std::wstring& text, uint64_t* microseconds) {
    const size_t point = text.find(L'.');
    const std::wstring whole = text.substr(0, point);
    std::wstring fraction = point == std::wstring::npos ? L"" : text.substr(point + 1);
    if (whole.empty() || fraction.size() > 6) {
        return false;
    }
    fraction.resize(6, L'0');
    *microseconds = std::stoull(whole) * 1000000 + std::stoull(fraction);
    return true;
}

bool ParseAngle(std::wistringstream& in, wchar_t positive, uint64_t* angle, bool* flag) {
    uint64_t degrees = 0;
    uint64_t minutes = 0;
    std::wstring seconds;
    std::wstring hemisphere;
    uint64_t micro = 0;
    if (!(in >> degrees >> minutes >> seconds >> hemisphere) || !ParseSeconds(seconds, &micro)) {
        return false;
    }
    *angle = degrees * MICRO_ARCSECONDS_PER_DEGREE + minutes * MICRO_ARCSECONDS_PER_MINUTE + micro;
    *flag = hemisphere == std::wstring(1, positive);
    return true;
}

std::string Describe(const GpsPosition& p) {
    std::ostringstream out;
    out << (p.north ? "N " : "S ") << p.latitude << " / " << (p.east ? "E " : "W ") << p.longitude;
    return out.str();
}

}  // namespace

CommandHarness::CommandHarness() {
    settings_.Write(std::wstring(RECORDER_PATH) + EXACT_TEMPLATE, L"N", L"S", L"E", L"W");
}

CommandRun CommandHarness::RunBytes(const Bytes& bytes, FileKind kind) {
    const std::wstring name =
        L"photo" + std::to_wstring(++files_) + (kind == FileKind::JPEG ? L".jpg" : L".tif");
    return RunFile(folder_.Write(name, bytes), kind);
}

CommandRun CommandHarness::RunFile(const std::wstring& path, FileKind kind, LPCSTR verb) {
    CommandRun run;
    UniqueGlobal drop = MakeDropList({path});
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof(info);
    info.hwnd = owner_.Get();
    info.lpVerb = verb;
    info.nShow = SW_SHOWNORMAL;
    LaunchRecord record;
    {
        MessageBoxRecorder boxes;
        run.result = RunPositionCommand(reader_, &info, static_cast<HDROP>(drop.Get()), kind);
        run.boxes = boxes.Boxes();
    }
    if (run.result == S_OK) {
        if (auto commandLine = record.Wait()) {
            run.launched = ParseLaunchedPosition(LaunchRecord::Arguments(*commandLine));
        }
    }
    const bool exists = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    run.fileReleased = !exists || NobodyHoldsFile(path);
    return run;
}

void ExpectOutcome(const CommandRun& run, const Expected& expected, HWND owner) {
    EXPECT_EQ(run.result, expected.failure);
    EXPECT_TRUE(run.fileReleased) << "the file is still held";
    switch (expected.kind) {
        case Expected::LAUNCH:
            EXPECT_TRUE(run.boxes.empty());
            ASSERT_TRUE(run.launched.has_value()) << "nothing was launched";
            EXPECT_EQ(Describe(*run.launched), Describe(expected.position));
            break;
        case Expected::NO_EXIF:
            ASSERT_EQ(run.boxes.size(), 1u);
            EXPECT_TRUE(IsCommandBox(run.boxes[0], TEXT_NO_EXIF, MB_ICONWARNING, owner))
                << "shown: " << testing::PrintToString(run.boxes[0].text);
            break;
        case Expected::NO_POSITION:
            ASSERT_EQ(run.boxes.size(), 1u);
            EXPECT_TRUE(IsCommandBox(run.boxes[0], TEXT_NO_POSITION, MB_ICONINFORMATION, owner))
                << "shown: " << testing::PrintToString(run.boxes[0].text);
            break;
        case Expected::FAILURE:
            EXPECT_TRUE(run.boxes.empty());
            break;
    }
    if (expected.kind != Expected::LAUNCH) {
        EXPECT_FALSE(run.launched.has_value());
    }
}

std::optional<GpsPosition> ParseLaunchedPosition(const std::wstring& arguments) {
    std::wistringstream in(arguments);
    GpsPosition position{};
    if (!ParseAngle(in, L'N', &position.latitude, &position.north) ||
        !ParseAngle(in, L'E', &position.longitude, &position.east)) {
        return std::nullopt;
    }
    return position;
}

GpsPosition PositionOf(bool north, uint64_t latitude, bool east, uint64_t longitude) {
    return GpsPosition{latitude, longitude, north, east};
}

uint64_t MicroArcseconds(uint64_t degrees, uint64_t minutes, uint64_t centiseconds) {
    return degrees * MICRO_ARCSECONDS_PER_DEGREE + minutes * MICRO_ARCSECONDS_PER_MINUTE +
           centiseconds * (MICRO_ARCSECONDS_PER_SECOND / 100);
}
