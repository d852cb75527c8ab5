#include "settings/window_state.h"

#include "settings/dialog_controls.h"
#include "settings/preset_choice.h"
#include "settings/sample_position.h"
#include "settings/settings_ids.h"
#include "settings/settings_strings.h"

namespace {

constexpr int LAUNCH_CONTROLS[LAUNCH_VALUE_COUNT] = {IDC_TEMPLATE, IDC_NORTH, IDC_SOUTH, IDC_EAST,
                                                     IDC_WEST};
constexpr const WCHAR* NAME_SEPARATOR = L", ";

// A stored value that could not be read and that the user has not replaced.
bool UnreadableKept(const SettingsWindow& window, int setting) {
    return window.stored.values[setting].state == ValueState::UNREADABLE &&
           !window.touched[setting];
}

std::wstring TemplateNote(const SettingsWindow& window, const std::wstring& object) {
    if (UnreadableKept(window, TEMPLATE_VALUE)) {
        return FormatText(window.texts.Get(IDS_TEMPLATE_UNREADABLE),
                          {ErrorCodeText(window.stored.values[TEMPLATE_VALUE].error)});
    }
    return TemplateProblem(object, window.texts, ChosenMessages(window.dialog));
}

std::wstring HemisphereNote(const SettingsWindow& window) {
    std::wstring names;
    for (int i = NORTH_VALUE; i <= WEST_VALUE; ++i) {
        if (UnreadableKept(window, i)) {
            names += (names.empty() ? L"" : NAME_SEPARATOR) + std::wstring(SettingName(i));
        }
    }
    return names.empty() ? names
                         : FormatText(window.texts.Get(IDS_HEMISPHERES_UNREADABLE), {names});
}

std::wstring FormatsNote(const SettingsWindow& window) {
    const StoredValue& stored = window.stored.values[FORMATS_SETTING];
    if (stored.state == ValueState::UNREADABLE ||
        (stored.state == ValueState::TEXT &&
         !(ListedFormats(stored.text) == window.shownFormats))) {
        return window.texts.Get(IDS_FORMATS_NOT_READ);
    }
    if (!window.unknownFormats.empty()) {
        return FormatText(window.texts.Get(IDS_FORMATS_KEPT), {window.unknownFormats});
    }
    return std::wstring();
}

void ShowFormats(SettingsWindow& window) {
    window.shownFormats = MenuFormats();
    const StoredValue& stored = window.stored.values[FORMATS_SETTING];
    window.unknownFormats =
        stored.state == ValueState::TEXT ? UnknownEntries(stored.text) : std::wstring();
    for (int i = 0; i < SWITCHED_FORMAT_COUNT; ++i) {
        SetControlText(window.dialog, IDC_FORMAT_BASE + i, SwitchedFormat(i).contentType);
        CheckBox(window.dialog, IDC_FORMAT_BASE + i, window.shownFormats.on[i]);
    }
    SetControlText(window.dialog, IDC_FORMATS_NOTE, FormatsNote(window));
}

}  // namespace

int LaunchControl(int setting) {
    return LAUNCH_CONTROLS[setting];
}

LaunchTexts EditedTexts(HWND dialog) {
    LaunchTexts texts;
    for (int i = 0; i < LAUNCH_VALUE_COUNT; ++i) {
        texts[i] = ControlText(dialog, LAUNCH_CONTROLS[i]);
    }
    return texts;
}

void FillLaunchTexts(SettingsWindow& window, const LaunchTexts& texts) {
    window.filling = true;
    for (int i = 0; i < LAUNCH_VALUE_COUNT; ++i) {
        SetControlText(window.dialog, LAUNCH_CONTROLS[i], texts[i]);
    }
    window.filling = false;
}

void ShowSampleTitle(const SettingsWindow& window) {
    SetControlText(window.dialog, IDC_PREVIEW_GROUP,
                   FormatText(window.texts.Get(IDS_PREVIEW_TITLE), {DegreesText(SAMPLE_POSITION)}));
}

void ShowStoredSettings(SettingsWindow& window) {
    window.stored = ReadStoredSettings();
    for (bool& touched : window.touched) {
        touched = false;
    }
    LaunchTexts texts = DefaultPresetTexts();
    if (!window.stored.NoLaunchValues()) {
        for (int i = 0; i < LAUNCH_VALUE_COUNT; ++i) {
            texts[i] = window.stored.values[i].text;
        }
    }
    FillLaunchTexts(window, texts);
    ShowService(window);
    ShowFormats(window);
    window.shownLanguage = AccountMessageLanguage();
    SendDlgItemMessageW(window.dialog, IDC_MESSAGES, CB_SETCURSEL,
                        static_cast<WPARAM>(window.shownLanguage), 0);
    RefreshPreview(window);
}

void ShowService(SettingsWindow& window) {
    SendDlgItemMessageW(window.dialog, IDC_SERVICE, CB_SETCURSEL,
                        static_cast<WPARAM>(MatchingPreset(EditedTexts(window.dialog))), 0);
}

void RefreshPreview(SettingsWindow& window) {
    const LaunchTexts texts = EditedTexts(window.dialog);
    SetControlText(window.dialog, IDC_PREVIEW_SAMPLE, ExpandedText(texts, SAMPLE_POSITION));
    SetControlText(window.dialog, IDC_PREVIEW_SOUTH, ExpandedText(texts, SAMPLE_SOUTH));
    SetControlText(window.dialog, IDC_PREVIEW_WEST, ExpandedText(texts, SAMPLE_WEST));
    SetControlText(window.dialog, IDC_TEMPLATE_ERROR, TemplateNote(window, texts[TEMPLATE_VALUE]));
    SetControlText(window.dialog, IDC_HEMISPHERE_ERROR, HemisphereNote(window));
    const std::wstring link = window.photo.outcome == PhotoReading::POSITION
                                  ? ExpandedText(texts, window.photo.position)
                                  : std::wstring();
    SetControlText(window.dialog, IDC_PHOTO_LINK, link);
    EnableWindow(GetDlgItem(window.dialog, IDC_OPEN_LINK), link.empty() ? FALSE : TRUE);
}

FormatsChoice CheckedFormats(HWND dialog) {
    FormatsChoice choice;
    for (int i = 0; i < SWITCHED_FORMAT_COUNT; ++i) {
        choice.on[i] = BoxChecked(dialog, IDC_FORMAT_BASE + i);
    }
    return choice;
}

MessageLanguage ChosenLanguage(HWND dialog) {
    const LRESULT chosen = SendDlgItemMessageW(dialog, IDC_MESSAGES, CB_GETCURSEL, 0, 0);
    return chosen == static_cast<LRESULT>(MessageLanguage::ENGLISH) ? MessageLanguage::ENGLISH
                                                                    : MessageLanguage::JAPANESE;
}

const MessageTexts& ChosenMessages(HWND dialog) {
    return MessagesIn(ChosenLanguage(dialog));
}
