#pragma once
// What the installer writes: the module file and the settings program in the system directory,
// the module's registration, the entry in the list of installed programs, and the current user's
// launch settings. Exactly what Uninstall removes, with the Start menu shortcut
// (install/start_menu_shortcut.h).

#include <windows.h>

#include <initializer_list>
#include <string>

#include "common/formats.h"

// The installed module's path: the system directory and "\ShellExt\Quoriel.dll".
std::wstring InstalledModulePath();

// The installed settings program's path: beside the module.
std::wstring InstalledSettingsPath();

// The folder of a file's path, without a trailing backslash.
std::wstring FolderOf(const std::wstring& file);

// Copies the module or the settings program to its installed path, making the "ShellExt" folder
// when needed.
bool CopyModule(const std::wstring& source, const std::wstring& target);

// The class with its in-process server and the installed-programs entry with an uninstall
// command that runs the module's Uninstall through rundll32.
bool RegisterModule(const std::wstring& modulePath);

// The classic context-menu handler for all files: the menu before Windows 11, and on Windows 11
// the one under "Show more options" when the package could not be registered.
bool RegisterClassicHandler();

// After the package was registered: the record Uninstall removes it by (with the thumbprint
// unless it is empty), and no classic handler left by an earlier installation, which would
// show Quoriel twice.
bool RecordPackage(const std::wstring& thumbprint);

// The default preset's settings (common/map_presets.h) for the current user, unless the user
// already has settings.
bool WriteDefaultSettings();

// The "Formats" value that switches on every switched format of the groups, "; "-joined in the
// order of FORMATS.
std::wstring SwitchedFormats(std::initializer_list<FormatGroup> groups);

// The current user's switch for every switched photo format; the other settings stay.
bool SwitchOnPhotoFormats();
