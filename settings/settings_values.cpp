#include "settings/settings_values.h"

#include "common/owners.h"
#include "common/registry_names.h"
#include "launch/launch_settings.h"

namespace {

constexpr const WCHAR* const SETTING_NAMES[SETTING_COUNT] = {
    SETTING_TEMPLATE, SETTING_NORTH,   SETTING_SOUTH,   SETTING_EAST,
    SETTING_WEST,     SETTING_FORMATS, SETTING_LANGUAGE};

StoredValue ReadValue(HKEY key, const WCHAR* name) {
    StoredValue value;
    SettingText text;
    const Status status = QuerySettingString(key, name, &text);
    if (status == HResultFromWin32(ERROR_FILE_NOT_FOUND)) {
        return value;
    }
    if (status != RESULT_DONE) {
        value.state = ValueState::UNREADABLE;
        value.error = status;
        return value;
    }
    value.state = ValueState::TEXT;
    value.text.assign(text.text.Get(), text.length);
    return value;
}

}  // namespace

bool StoredSettings::NoLaunchValues() const {
    for (int i = 0; i < LAUNCH_SETTING_COUNT; ++i) {
        if (values[i].state != ValueState::ABSENT) {
            return false;
        }
    }
    return true;
}

const WCHAR* SettingName(SettingIndex index) {
    return SETTING_NAMES[index];
}

StoredSettings ReadStoredSettings() {
    StoredSettings settings;
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_QUERY_VALUE, key.Put()) !=
        ERROR_SUCCESS) {
        return settings;
    }
    for (int i = 0; i < SETTING_COUNT; ++i) {
        settings.values[i] = ReadValue(key.Get(), SETTING_NAMES[i]);
    }
    return settings;
}

Status WriteSetting(SettingIndex index, const std::wstring& text) {
    UniqueKey key;
    LONG error = RegCreateKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY, 0, nullptr, 0, KEY_SET_VALUE,
                                 nullptr, key.Put(), nullptr);
    if (error != ERROR_SUCCESS) {
        return HResultFromWin32(error);
    }
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR));
    error = RegSetValueExW(key.Get(), SETTING_NAMES[index], 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(text.c_str()), bytes);
    return HResultFromWin32(error);
}
