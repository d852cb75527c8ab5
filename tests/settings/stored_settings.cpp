#include "tests/settings/stored_settings.h"

#include "common/owners.h"

SettingsSnapshot ReadSettings() {
    SettingsSnapshot snapshot;
    UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) {
        return snapshot;
    }
    DWORD count = 0;
    DWORD longestName = 0;
    DWORD largestData = 0;
    RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                     &longestName, &largestData, nullptr, nullptr);
    for (DWORD i = 0; i < count; ++i) {
        std::wstring name(longestName + 1, L'\0');
        DWORD nameLength = longestName + 1;
        RawValue value{REG_NONE, std::vector<uint8_t>(largestData)};
        DWORD size = largestData;
        if (RegEnumValueW(key.Get(), i, &name[0], &nameLength, nullptr, &value.type,
                          value.data.data(), &size) != ERROR_SUCCESS) {
            continue;
        }
        name.resize(nameLength);
        value.data.resize(size);
        snapshot[name] = value;
    }
    return snapshot;
}
