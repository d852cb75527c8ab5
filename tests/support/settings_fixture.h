#pragma once
// Launch settings written into the test prefix's registry for one test.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "launch/launch_settings.h"
#include "tests/support/registry_scratch.h"

// One registry value, its data exactly as stored.
struct StoredValue {
    const wchar_t* name;
    DWORD type;
    std::vector<uint8_t> data;
};

// The characters of text and its terminating NUL.
inline std::vector<uint8_t> StringData(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.c_str());
    return std::vector<uint8_t>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
}

// The characters of text alone, with no NUL added.
inline std::vector<uint8_t> CharacterData(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    return std::vector<uint8_t>(bytes, bytes + text.size() * sizeof(wchar_t));
}

class SettingsFixture {
  public:
    SettingsFixture() : key_(HKEY_CURRENT_USER, SETTINGS_KEY) {}

    void Write(const std::vector<StoredValue>& values) {
        for (const StoredValue& value : values) {
            key_.SetRaw(value.name, value.type, value.data);
        }
    }

    // A template with the four hemisphere texts, all REG_SZ.
    void Write(const std::wstring& object, const std::wstring& north, const std::wstring& south,
               const std::wstring& east, const std::wstring& west) {
        Write({{SETTING_TEMPLATE, REG_SZ, StringData(object)},
               {SETTING_NORTH, REG_SZ, StringData(north)},
               {SETTING_SOUTH, REG_SZ, StringData(south)},
               {SETTING_EAST, REG_SZ, StringData(east)},
               {SETTING_WEST, REG_SZ, StringData(west)}});
    }

  private:
    ScratchKey key_;
};
