#pragma once
// The settings as stored for the current user, read by the command's own rules, and the
// writing of the values the user changed.

#include <windows.h>

#include <string>

#include "common/status.h"

// The five launch values in the order the window shows them, then the formats switch and the
// boxes' language.
enum SettingIndex {
    TEMPLATE_SETTING,
    NORTH_SETTING,
    SOUTH_SETTING,
    EAST_SETTING,
    WEST_SETTING,
    FORMATS_SETTING,
    LANGUAGE_SETTING,
    SETTING_COUNT
};
constexpr int LAUNCH_SETTING_COUNT = FORMATS_SETTING;

enum class ValueState { ABSENT, TEXT, UNREADABLE };

struct StoredValue {
    ValueState state = ValueState::ABSENT;
    std::wstring text;           // for TEXT: up to its first NUL, as the command reads it
    Status error = RESULT_DONE;  // for UNREADABLE: why
};

struct StoredSettings {
    StoredValue values[SETTING_COUNT];

    // No launch value at all, as before the first installation: start from the default preset.
    bool NoLaunchValues() const;
};

// The registry name of a setting.
const WCHAR* SettingName(SettingIndex index);

StoredSettings ReadStoredSettings();

// Writes text as REG_SZ into the settings key, creating it if absent: 0 or the registry error.
Status WriteSetting(SettingIndex index, const std::wstring& text);
