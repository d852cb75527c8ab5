#pragma once
// The Start menu shortcut to the settings program, in the all-users Programs folder: made by the
// installer, named in the installing user's interface language as the settings window chooses
// its own (Japanese when that language is Japanese, English otherwise), and removed by Uninstall
// under either name.

#include <windows.h>

#include "common/settings_names.h"

struct SettingsShortcut {
    const WCHAR* name;  // as the Start menu lists it
    const WCHAR* file;  // the name with ".lnk"
    const WCHAR* description;
};

inline constexpr SettingsShortcut JAPANESE_SHORTCUT = {
    L"" SETTINGS_CAPTION_JA_TEXT, L"" SETTINGS_CAPTION_JA_TEXT ".lnk",
    L"Quoriel が開く地図サービスと、右クリックで扱う写真・動画の形式を選びます"};
inline constexpr SettingsShortcut ENGLISH_SHORTCUT = {
    L"" SETTINGS_CAPTION_EN_TEXT, L"" SETTINGS_CAPTION_EN_TEXT ".lnk",
    L"Choose the map service Quoriel opens and the photo and video formats it offers"};

// Both names, for the removal: the installing user's language may not be the uninstalling one's.
inline constexpr const SettingsShortcut* SETTINGS_SHORTCUTS[] = {&JAPANESE_SHORTCUT,
                                                                 &ENGLISH_SHORTCUT};

inline const SettingsShortcut& ShortcutFor(LANGID userInterfaceLanguage) {
    return PRIMARYLANGID(userInterfaceLanguage) == LANG_JAPANESE ? JAPANESE_SHORTCUT
                                                                 : ENGLISH_SHORTCUT;
}
