#include "settings/settings_values.h"

#include "common/owners.h"
#include "common/registry_names.h"
#include "launch/launch_settings.h"

namespace {

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
    for (int i = 0; i < LAUNCH_VALUE_COUNT; ++i) {
        if (values[i].state != ValueState::ABSENT) {
            return false;
        }
    }
    return true;
}

const WCHAR* SettingName(int index) {
    if (index < LAUNCH_VALUE_COUNT) {
        return LAUNCH_VALUE_NAMES[index];
    }
    return index == FORMATS_SETTING ? SETTING_FORMATS : SETTING_LANGUAGE;
}

StoredSettings ReadStoredSettings() {
    StoredSettings settings;
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_QUERY_VALUE, key.Put()) !=
        ERROR_SUCCESS) {
        return settings;
    }
    for (int i = 0; i < READ_SETTING_COUNT; ++i) {
        settings.values[i] = ReadValue(key.Get(), SettingName(i));
    }
    return settings;
}

Status WriteSettings(const std::vector<SettingWrite>& writes) {
    if (writes.empty()) {
        return RESULT_DONE;
    }
    UniqueKey key;
    LONG error = RegCreateKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY, 0, nullptr, 0, KEY_SET_VALUE,
                                 nullptr, key.Put(), nullptr);
    for (const SettingWrite& write : writes) {
        if (error != ERROR_SUCCESS) {
            break;
        }
        const DWORD bytes = static_cast<DWORD>((write.text.size() + 1) * sizeof(WCHAR));
        error = RegSetValueExW(key.Get(), SettingName(write.index), 0, REG_SZ,
                               reinterpret_cast<const BYTE*>(write.text.c_str()), bytes);
    }
    return HResultFromWin32(error);
}
