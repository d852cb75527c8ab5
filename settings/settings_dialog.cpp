#include "settings/settings_dialog.h"

#include <exception>

#include "settings/dialog_controls.h"
#include "settings/format_box_layout.h"
#include "settings/preset_choice.h"
#include "settings/settings_ids.h"
#include "settings/settings_strings.h"
#include "settings/photo_commands.h"
#include "settings/settings_window.h"
#include "settings/window_save.h"
#include "settings/window_state.h"

namespace {

// The fields are as long as the stored values, which the command reads at any length.
constexpr WPARAM UNLIMITED_TEXT = 0;
constexpr int NOT_A_LAUNCH_FIELD = -1;
constexpr int LONG_FIELDS[] = {
    IDC_TEMPLATE,       IDC_NORTH,         IDC_SOUTH,        IDC_EAST,       IDC_WEST,
    IDC_PREVIEW_SAMPLE, IDC_PREVIEW_SOUTH, IDC_PREVIEW_WEST, IDC_PHOTO_PATH, IDC_PHOTO_LINK};

std::wstring ServiceName(const SettingsWindow& window, int index) {
    const UINT id = PresetNameId(index);
    const std::wstring translated = id == 0 ? std::wstring() : window.texts.Get(id);
    return translated.empty() ? std::wstring(PresetName(index)) : translated;
}

void AddService(HWND dialog, const std::wstring& name) {
    SendDlgItemMessageW(dialog, IDC_SERVICE, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(name.c_str()));
}

// Each language by its own name, in the order of MessageLanguage.
constexpr const WCHAR* LANGUAGE_NAMES[] = {L"日本語", L"English"};

void ShowIcon(const SettingsWindow& window) {
    const HICON icon = LoadIconW(window.texts.instance, MAKEINTRESOURCEW(IDI_SETTINGS));
    SendMessageW(window.dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window.dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void Initialize(SettingsWindow& window) {
    ShowIcon(window);
    ShowSampleTitle(window);
    for (int id : LONG_FIELDS) {
        SendDlgItemMessageW(window.dialog, id, EM_SETLIMITTEXT, UNLIMITED_TEXT, 0);
    }
    for (int i = 0; i < PresetCount(); ++i) {
        AddService(window.dialog, ServiceName(window, i));
    }
    AddService(window.dialog, window.texts.Get(IDS_CUSTOM));
    for (const WCHAR* name : LANGUAGE_NAMES) {
        SendDlgItemMessageW(window.dialog, IDC_MESSAGES, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(name));
    }
    CreateFormatBoxes(window.dialog);
    ShowStoredSettings(window);
}

// A service chosen from the list fills the five fields; "Custom" leaves them as they are.
void ServiceChosen(SettingsWindow& window) {
    const LRESULT chosen = SendDlgItemMessageW(window.dialog, IDC_SERVICE, CB_GETCURSEL, 0, 0);
    if (chosen < 0 || chosen >= PresetCount()) {
        return;
    }
    FillLaunchTexts(window, PresetTexts(static_cast<int>(chosen)));
    for (bool& touched : window.touched) {
        touched = true;
    }
    RefreshPreview(window);
}

void LaunchFieldEdited(SettingsWindow& window, int setting) {
    if (window.filling) {
        return;
    }
    window.touched[setting] = true;
    ShowService(window);
    RefreshPreview(window);
}

// The launch setting whose field id is, or NOT_A_LAUNCH_FIELD.
int LaunchSettingOf(int id) {
    for (int i = 0; i < LAUNCH_VALUE_COUNT; ++i) {
        if (LaunchControl(i) == id) {
            return i;
        }
    }
    return NOT_A_LAUNCH_FIELD;
}

bool IsFormatBox(int id) {
    return id >= IDC_FORMAT_BASE && id < IDC_FORMAT_BASE + SWITCHED_FORMAT_COUNT;
}

void Command(SettingsWindow& window, int id, int notification) {
    const int setting = LaunchSettingOf(id);
    if (setting != NOT_A_LAUNCH_FIELD && notification == EN_CHANGE) {
        LaunchFieldEdited(window, setting);
    } else if (id == IDC_SERVICE && notification == CBN_SELCHANGE) {
        ServiceChosen(window);
    } else if ((IsFormatBox(id) && notification == BN_CLICKED) ||
               (id == IDC_MESSAGES && notification == CBN_SELCHANGE)) {
        ShowPhotoReading(window);
    } else if (id == IDC_PHOTO_PATH && notification == EN_CHANGE) {
        ReadPhotoAgain(window);
    } else if (id == IDC_TRY_PHOTO && notification == BN_CLICKED) {
        ChoosePhoto(window);
    } else if (id == IDC_OPEN_LINK && notification == BN_CLICKED) {
        OpenPhotoLink(window);
    } else if (id == IDC_APPLY && notification == BN_CLICKED) {
        SaveChanges(window);
    } else if (id == IDOK && SaveChanges(window)) {
        EndDialog(window.dialog, IDOK);
    } else if (id == IDCANCEL) {
        EndDialog(window.dialog, IDCANCEL);
    }
}

// Nothing thrown (an allocation that failed, a text too long for a string) leaves the window
// procedure: the message is dropped instead.
INT_PTR CALLBACK SettingsProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            auto* window = reinterpret_cast<SettingsWindow*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            window->dialog = dialog;
            Initialize(*window);
            return TRUE;
        }
        auto* window = reinterpret_cast<SettingsWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (window != nullptr && message == WM_COMMAND) {
            Command(*window, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        }
    } catch (const std::exception&) {
        return FALSE;
    }
    return FALSE;
}

}  // namespace

INT_PTR RunSettingsDialog(HINSTANCE instance, LANGID language) {
    SettingsWindow window;
    window.texts = WindowTexts{instance, language};
    const DLGTEMPLATE* resource = DialogTemplate(instance, language, IDD_SETTINGS);
    if (resource == nullptr) {
        return DIALOG_NOT_SHOWN;
    }
    return DialogBoxIndirectParamW(instance, resource, nullptr, SettingsProcedure,
                                   reinterpret_cast<LPARAM>(&window));
}
