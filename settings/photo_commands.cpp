#include "settings/photo_commands.h"

#include <commdlg.h>

#include "launch/command_launch.h"
#include "settings/dialog_controls.h"
#include "settings/settings_ids.h"
#include "settings/settings_strings.h"
#include "settings/window_state.h"

namespace {

constexpr const WCHAR* EVERY_FILE_PATTERN = L"*.*";
// Room for a path as long as the file dialog gives with this flag set.
constexpr DWORD PATH_CHARACTERS = 32768;

// A filter list: name, NUL, pattern, NUL, and one more NUL to end the list.
std::wstring EveryFileFilter(const WindowTexts& texts) {
    std::wstring filter = texts.Get(IDS_ALL_FILES);
    filter += L'\0';
    filter += EVERY_FILE_PATTERN;
    filter += L'\0';
    return filter;
}

}  // namespace

void ChoosePhoto(SettingsWindow& window) {
    std::wstring path(PATH_CHARACTERS, L'\0');
    const std::wstring filter = EveryFileFilter(window.texts);
    const std::wstring title = window.texts.Get(IDS_PHOTO_DIALOG_TITLE);
    OPENFILENAMEW choice = {};
    choice.lStructSize = sizeof(choice);
    choice.hwndOwner = window.dialog;
    choice.lpstrFilter = filter.c_str();
    choice.lpstrFile = &path[0];
    choice.nMaxFile = PATH_CHARACTERS;
    choice.lpstrTitle = title.c_str();
    choice.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_DONTADDTORECENT;
    if (!GetOpenFileNameW(&choice)) {
        return;
    }
    // Setting the path reads the file, as typing one does.
    SetControlText(window.dialog, IDC_PHOTO_PATH, path.c_str());
}

void ReadPhotoAgain(SettingsWindow& window) {
    window.photo = ReadPhoto(ControlText(window.dialog, IDC_PHOTO_PATH));
    ShowPhotoReading(window);
}

void ShowPhotoReading(SettingsWindow& window) {
    std::wstring result =
        DescribeReading(window.photo, window.texts, ChosenMessages(window.dialog));
    // The menu reads the formats as saved: boxes changed since are not tried yet.
    if (window.photo.outcome == PhotoReading::NOT_OFFERED &&
        !(CheckedFormats(window.dialog) == window.shownFormats)) {
        result += window.texts.Get(IDS_PHOTO_APPLY_FIRST);
    }
    SetControlText(window.dialog, IDC_PHOTO_RESULT, result);
    RefreshPreview(window);
}

void OpenPhotoLink(SettingsWindow& window) {
    std::wstring link = ControlText(window.dialog, IDC_PHOTO_LINK);
    if (link.empty()) {
        return;
    }
    LaunchExpandedText(window.dialog, ChosenMessages(window.dialog), &link[0]);
}
