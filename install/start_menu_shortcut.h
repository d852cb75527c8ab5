#pragma once
// The Start menu shortcut to the installed settings program (common/settings_shortcut.h), in
// the all-users Programs folder, named in the language of the user who installs.

#include <windows.h>

#include <string>

#include "common/settings_shortcut.h"

// Makes or replaces the shortcut to program, with its description, and deletes one of the other
// name; S_OK or the failure.
HRESULT MakeSettingsShortcut(const SettingsShortcut& shortcut, const std::wstring& program);
