#pragma once
// Runs the position command on a real file, from a real drop list, with settings that launch
// the recorder program with the position to the micro-arcsecond, and collects what happened.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/gps_position.h"
#include "position/command/position_command.h"
#include "tests/position/exif_builder.h"
#include "tests/host/message_box_recorder.h"
#include "tests/support/scratch_file.h"
#include "tests/support/settings_fixture.h"
#include "tests/support/test_window.h"

struct CommandRun {
    HRESULT result = E_FAIL;
    std::vector<RecordedBox> boxes;
    std::optional<GpsPosition> launched;
    bool fileReleased = false;  // nobody holds the file after the command
};

struct Expected {
    enum Kind { LAUNCH, NO_EXIF, NO_POSITION, FAILURE } kind;
    GpsPosition position;
    HRESULT failure;
};

inline Expected Launch(const GpsPosition& position) {
    return Expected{Expected::LAUNCH, position, S_OK};
}
constexpr Expected NO_EXIF{Expected::NO_EXIF, {}, S_FALSE};
constexpr Expected NO_POSITION{Expected::NO_POSITION, {}, S_FALSE};
inline Expected Failure(HRESULT result) {
    return Expected{Expected::FAILURE, {}, result};
}

class CommandHarness {
  public:
    CommandHarness();

    CommandRun RunBytes(const Bytes& bytes, FileKind kind);
    // verb is the invocation's lpVerb: a command offset or a string.
    CommandRun RunFile(const std::wstring& path, FileKind kind, LPCSTR verb = nullptr);

    HWND Owner() const { return owner_.Get(); }
    const ScratchFolder& Folder() const { return folder_; }

  private:
    SettingsFixture settings_;
    ScratchFolder folder_;
    TestWindow owner_;
    CQuorielReader reader_;  // one handler for every run, as the shell may reuse it
    int files_ = 0;
};

// Checks the host result, the one message box of the outcome and the launched position.
void ExpectOutcome(const CommandRun& run, const Expected& expected, HWND owner);

// "D M s H D M s H" as the recorder gets it, back to micro-arcseconds.
std::optional<GpsPosition> ParseLaunchedPosition(const std::wstring& arguments);

// A position from whole degrees, minutes and hundredths of seconds.
GpsPosition PositionOf(bool north, uint64_t latitude, bool east, uint64_t longitude);
uint64_t MicroArcseconds(uint64_t degrees, uint64_t minutes, uint64_t centiseconds);
