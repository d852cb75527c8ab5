// The context-menu command: opens the selected file, runs the reader its kind calls for, and
// turns the reading's status into at most one message box and the host's HRESULT.
#include <windows.h>
#include <shellapi.h>

#include "common/messages.h"
#include "common/owners.h"
#include "position/file_reading.h"
#include "position/quoriel_reader.h"
#include "position/selected_file.h"

namespace {

constexpr HRESULT COMMAND_FAILED = static_cast<HRESULT>(0x80004005);  // E_FAIL

// Only command offset 0, the one item of the menu, is ours. Anything above the low word is a
// string verb.
bool IsOurCommand(LPCSTR verb) {
    const ULONG_PTR value = reinterpret_cast<ULONG_PTR>(verb);
    return (value >> 16) == 0 && (value & 0xFFFF) == 0;
}

// Opens the first file of drop for reading, others may read it too.
HRESULT OpenFirstFile(HDROP drop, UniqueFile* file) {
    const UniqueBuffer<WCHAR> path = FirstFileName(drop);
    if (!path) {
        return STATUS_OUT_OF_MEMORY;
    }
    file->Reset(
        CreateFileW(path.Get(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!*file) {
        return LastErrorStatus();
    }
    return S_OK;
}

}  // namespace

HRESULT CQuorielReader::RunPositionCommand(const CMINVOKECOMMANDINFO* info, HDROP drop,
                                           bool isJpeg) {
    if (info == nullptr || !IsOurCommand(info->lpVerb) || drop == nullptr) {
        return COMMAND_FAILED;
    }
    UniqueFile file;
    const HRESULT opened = OpenFirstFile(drop, &file);
    if (opened != S_OK) {
        return opened;
    }
    Status status = RESULT_DONE;
    if (isJpeg) {
        status = ReadJpegPosition(file.Get(), info);
    } else {
        status = ReadTiffPosition(file.Get(), info, 0, GetFileSize(file.Get(), nullptr));
    }
    switch (status) {
        case RESULT_DONE:
            return S_OK;
        case RESULT_NO_EXIF:
            MessageBoxW(info->hwnd, TEXT_NO_EXIF, CAPTION_COMMAND, STYLE_WARNING);
            return S_FALSE;
        case RESULT_REPORTED:
            return S_FALSE;
        default:
            return status;
    }
}
