#pragma once
// The settings as stored for the current user, read by the command's own rules, and the
// writing of the values the user changed.

#include <windows.h>

#include <string>
#include <vector>

#include "common/launch_values.h"
#include "common/status.h"

// The five launch values by LaunchValue, then the formats switch and the boxes' language.
enum SettingIndex { FORMATS_SETTING = LAUNCH_VALUE_COUNT, LANGUAGE_SETTING };
// The values read as text for the window: every one but the language, which the window reads by
// the command's own rule (common/message_language.h).
constexpr int READ_SETTING_COUNT = LANGUAGE_SETTING;

enum class ValueState { ABSENT, TEXT, UNREADABLE };

struct StoredValue {
    ValueState state = ValueState::ABSENT;
    std::wstring text;           // for TEXT: up to its first NUL, as the command reads it
    Status error = RESULT_DONE;  // for UNREADABLE: why
};

struct StoredSettings {
    StoredValue values[READ_SETTING_COUNT];

    // No launch value at all, as before the first installation: start from the default preset.
    bool NoLaunchValues() const;
};

// The registry name of a setting: a LaunchValue or a SettingIndex.
const WCHAR* SettingName(int index);

StoredSettings ReadStoredSettings();

// A value the user changed: the setting (a LaunchValue or a SettingIndex) and its new text.
struct SettingWrite {
    int index;
    std::wstring text;
};

// Writes each text as REG_SZ into the settings key, creating the key if absent, in order: 0, or
// the first registry error (nothing after it is written). Nothing to write touches nothing.
Status WriteSettings(const std::vector<SettingWrite>& writes);
