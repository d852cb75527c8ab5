#pragma once
// The settings key as the tests compare it before and after the settings window: every value
// by name, with its type and bytes exactly as stored; and the map services as the window shows
// and stores them. common/map_presets.h is read in stored_settings.cpp alone.

#include <windows.h>

#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "tests/support/child_process.h"
#include "tests/support/settings_fixture.h"

struct RawValue {
    DWORD type;
    std::vector<uint8_t> data;

    bool operator==(const RawValue& other) const {
        return type == other.type && data == other.data;
    }
};

// Type and size only: a 1 MB value printed whole helps nobody.
inline void PrintTo(const RawValue& value, std::ostream* out) {
    *out << "type " << value.type << ", " << value.data.size() << " bytes";
}

using SettingsSnapshot = std::map<std::wstring, RawValue>;

// Every value of the settings key; empty when there is no key.
SettingsSnapshot ReadSettings();

inline RawValue Sz(const std::wstring& text) {
    return RawValue{REG_SZ, StringData(text)};
}

// The entries of a Formats value as the menu compares them: trimmed, in lower case.
std::set<std::wstring> FormatsEntries(const RawValue& value);

// The template and the four hemisphere texts, in the order of the window's edits.
struct LaunchTexts {
    std::wstring object, north, south, east, west;
};

// The map services in their table's order, which is the order of the window's list.
int PresetCount();
// The service whose preset file is named so, or -1.
int PresetIndex(const wchar_t* file);
// The service the installer writes for a user who has no settings yet.
int DefaultPreset();
std::wstring PresetName(int index);
LaunchTexts PresetTexts(int index);
// The five launch values of the service, as REG_SZ.
SettingsSnapshot PresetSettings(int index);

// The settings program as built, by its Windows path.
inline std::wstring SettingsProgram() {
    return FromLinuxPath(QUORIEL_SETTINGS_PROGRAM);
}
