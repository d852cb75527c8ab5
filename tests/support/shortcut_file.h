#pragma once
// Shortcut (.lnk) files as the shell reads them, and the Start menu folder they go into.

#include <windows.h>

#include <optional>
#include <string>

struct ShortcutFile {
    std::wstring target;
    std::wstring description;
};

// The all-users Programs folder of the Start menu.
std::wstring CommonProgramsFolder();

// What the shortcut at path points at, read through IShellLinkW; nothing when it cannot be
// loaded.
std::optional<ShortcutFile> ReadShortcut(const std::wstring& path);
