#pragma once
// The settings key as the tests compare it before and after the settings window: every value
// by name, with its type and bytes exactly as stored.

#include <windows.h>

#include <cstdint>
#include <map>
#include <ostream>
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

// The settings program as built, by its Windows path.
inline std::wstring SettingsProgram() {
    return FromLinuxPath(QUORIEL_SETTINGS_PROGRAM);
}
