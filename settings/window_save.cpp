#include "settings/window_save.h"

#include "settings/dialog_controls.h"
#include "settings/settings_ids.h"
#include "settings/settings_strings.h"
#include "settings/photo_commands.h"
#include "settings/window_state.h"

namespace {

// Whether the value in the field is to be written: a value absent before is written; one read
// as text when its text differs; one that could not be read only when the user edited it, so
// that an untouched value keeps its type and bytes.
bool LaunchValueChanged(const SettingsWindow& window, int setting, const std::wstring& text) {
    const StoredValue& stored = window.stored.values[setting];
    switch (stored.state) {
        case ValueState::ABSENT:
            return true;
        case ValueState::TEXT:
            return text != stored.text;
        case ValueState::UNREADABLE:
            return window.touched[setting];
    }
    return false;
}

void ReportFailure(const SettingsWindow& window, Status error) {
    WCHAR caption[MAX_PATH] = {};
    GetWindowTextW(window.dialog, caption, MAX_PATH);
    MessageBoxW(window.dialog,
                FormatText(window.texts.Get(IDS_SAVE_FAILED), {ErrorCodeText(error)}).c_str(),
                caption, MB_OK | MB_ICONERROR);
}

// The template must be savable before anything is written, so that a refused save leaves the
// stored settings as they were.
bool RefusedForTemplate(const SettingsWindow& window, const std::wstring& object) {
    if (!LaunchValueChanged(window, TEMPLATE_VALUE, object) || TemplateSavable(object)) {
        return false;
    }
    MessageBeep(MB_ICONWARNING);
    SetFocus(GetDlgItem(window.dialog, IDC_TEMPLATE));
    return true;
}

// What a save writes, in the window's order: each launch value the user changed, the formats
// when a box changed, the boxes' language when its choice changed.
std::vector<SettingWrite> ChangedValues(const SettingsWindow& window, const LaunchTexts& edited) {
    std::vector<SettingWrite> writes;
    for (int i = 0; i < LAUNCH_VALUE_COUNT; ++i) {
        if (LaunchValueChanged(window, i, edited[i])) {
            writes.push_back({i, edited[i]});
        }
    }
    const FormatsChoice checked = CheckedFormats(window.dialog);
    if (!(checked == window.shownFormats)) {
        writes.push_back({FORMATS_SETTING, FormatsValue(checked, window.unknownFormats)});
    }
    const MessageLanguage language = ChosenLanguage(window.dialog);
    if (language != window.shownLanguage) {
        writes.push_back({LANGUAGE_SETTING, LanguageValue(language)});
    }
    return writes;
}

}  // namespace

bool SaveChanges(SettingsWindow& window) {
    const LaunchTexts edited = EditedTexts(window.dialog);
    if (RefusedForTemplate(window, edited[TEMPLATE_VALUE])) {
        return false;
    }
    const Status status = WriteSettings(ChangedValues(window, edited));
    if (status != RESULT_DONE) {
        ReportFailure(window, status);
        return false;
    }
    ShowStoredSettings(window);
    ReadPhotoAgain(window);
    return true;
}
