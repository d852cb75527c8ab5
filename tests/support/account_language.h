#pragma once
// The account's "Language" value as the box tests set it, with the texts its boxes must show:
// without the value the Japanese texts exactly as they have always been, with "en" English.

#include <windows.h>

#include "common/messages.h"
#include "common/registry_names.h"

struct LanguageCase {
    const char* name;
    const wchar_t* value;  // null: no value
    const MessageTexts& texts;
};

inline const LanguageCase LANGUAGE_CASES[] = {
    {"Language absent", nullptr, JAPANESE_MESSAGES},
    {"Language en", LANGUAGE_ENGLISH, ENGLISH_MESSAGES},
};

// Sets the current account's value as REG_SZ, creating the settings key if need be; null
// deletes it.
inline void SetAccountLanguage(const wchar_t* value) {
    if (value == nullptr) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_LANGUAGE);
        return;
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_LANGUAGE, REG_SZ, value,
                    static_cast<DWORD>((lstrlenW(value) + 1) * sizeof(wchar_t)));
}
