#include "tests/settings/stored_settings.h"

#include <algorithm>
#include <cwctype>

#include "common/map_presets.h"
#include "common/owners.h"

namespace {

constexpr wchar_t ENTRY_SEPARATOR = L';';
constexpr const wchar_t* SPACES = L" ";

}  // namespace

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

std::set<std::wstring> FormatsEntries(const RawValue& value) {
    std::wstring text(reinterpret_cast<const wchar_t*>(value.data.data()),
                      value.data.size() / sizeof(wchar_t));
    text = text.substr(0, text.find(L'\0'));
    std::set<std::wstring> entries;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find(ENTRY_SEPARATOR, start), text.size());
        std::wstring entry = text.substr(start, end - start);
        entry.erase(0, entry.find_first_not_of(SPACES));
        entry.erase(entry.find_last_not_of(SPACES) + 1);
        std::transform(entry.begin(), entry.end(), entry.begin(), towlower);
        if (!entry.empty()) {
            entries.insert(entry);
        }
        start = end + 1;
    }
    return entries;
}

int PresetCount() {
    return static_cast<int>(ARRAYSIZE(MAP_PRESETS));
}

int PresetIndex(const wchar_t* file) {
    for (int i = 0; i < PresetCount(); ++i) {
        if (std::wstring(MAP_PRESETS[i].file) == file) {
            return i;
        }
    }
    return -1;
}

int DefaultPreset() {
    return static_cast<int>(&DEFAULT_PRESET - MAP_PRESETS);
}

std::wstring PresetName(int index) {
    return MAP_PRESETS[index].name;
}

LaunchTexts PresetTexts(int index) {
    const MapPreset& preset = MAP_PRESETS[index];
    const auto& t = preset.texts;
    return {t[TEMPLATE_VALUE], t[NORTH_VALUE], t[SOUTH_VALUE], t[EAST_VALUE], t[WEST_VALUE]};
}

SettingsSnapshot PresetSettings(int index) {
    const LaunchTexts texts = PresetTexts(index);
    return {{SETTING_TEMPLATE, Sz(texts.object)},
            {SETTING_NORTH, Sz(texts.north)},
            {SETTING_SOUTH, Sz(texts.south)},
            {SETTING_EAST, Sz(texts.east)},
            {SETTING_WEST, Sz(texts.west)}};
}
