// The position command: opens the selected file, reads it by its kind, launches a found
// position or tells the user there is none, and turns the outcome into at most one message box
// and the host's HRESULT.
#include <windows.h>
#include <shellapi.h>

#include "common/message_language.h"
#include "common/owners.h"
#include "launch/command_launch.h"
#include "position/command/position_command.h"
#include "position/command/selected_file.h"
#include "position/gps_reading.h"

namespace {

// Only command offset 0, the one item of the menu, is ours. Anything above the low word is a
// string verb.
bool IsOurCommand(LPCSTR verb) {
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(verb);
    return (value >> 16) == 0 && (value & 0xFFFF) == 0;
}

// What follows a reading: the launch of a complete position, or the box that says the file has
// none. Every other status goes on unchanged.
Status Deliver(HWND owner, const MessageTexts& texts, Status reading, const GpsPosition& position) {
    if (reading == RESULT_DONE) {
        return LaunchPosition(owner, texts, position);
    }
    if (reading == RESULT_NO_POSITION) {
        MessageBoxW(owner, texts.noPosition, texts.commandCaption, STYLE_INFORMATION);
        return RESULT_REPORTED;
    }
    return reading;
}

}  // namespace

HRESULT RunCommandForFile(CQuorielReader& reader, const WCHAR* path, FileKind kind, HWND owner) {
    UniqueFile file;
    const HRESULT opened = OpenSelectedFile(path, &file);
    if (opened != S_OK) {
        return opened;
    }
    GpsPosition position{};
    const Status reading = ReadGpsPosition(reader, file.Get(), kind, &position);
    // Every outcome past the reading may show a box; the account's language is read once here.
    const MessageTexts& texts = AccountMessages();
    const Status status = Deliver(owner, texts, reading, position);
    switch (status) {
        case RESULT_DONE:
            return S_OK;
        case RESULT_NO_EXIF:
            MessageBoxW(owner, texts.noExif, texts.commandCaption, STYLE_WARNING);
            return S_FALSE;
        case RESULT_REPORTED:
            return S_FALSE;
        default:
            return status;
    }
}

HRESULT RunPositionCommand(CQuorielReader& reader, const CMINVOKECOMMANDINFO* info, HDROP drop,
                           FileKind kind) {
    if (info == nullptr || !IsOurCommand(info->lpVerb) || drop == nullptr) {
        return STATUS_FAILED;
    }
    const UniqueBuffer<WCHAR> path = FirstFileName(drop);
    if (!path) {
        return STATUS_OUT_OF_MEMORY;
    }
    return RunCommandForFile(reader, path.Get(), kind, info->hwnd);
}
