#pragma once
// What the installer writes: the module's registration, the entry in the list of installed
// programs, and the current user's launch settings; with the files beside the module
// (install/file_placement.h) and the Start menu shortcut (install/start_menu_shortcut.h), exactly
// what Uninstall removes.

#include <windows.h>

#include <initializer_list>
#include <string>

#include "common/formats.h"

// The installed module's path: the system directory and "\ShellExt\Quoriel.dll".
std::wstring InstalledModulePath();

// The installed settings program's path and the setup program's copy: beside the module.
std::wstring InstalledSettingsPath();
std::wstring InstalledSetupPath();
std::wstring InstalledPackagePath();

// The running program's own path; empty when it does not fit MAX_PATH.
std::wstring ThisProgramPath();

// The folder of a file's path, without a trailing backslash.
std::wstring FolderOf(const std::wstring& file);

// The class with its in-process server.
bool RegisterModule(const std::wstring& modulePath);

// The entry in Settings > Apps: removal runs the setup program's copy at setupPath, which asks
// for elevation, with a box-free form for deployment tools; the folder and the size are shown.
bool WriteProgramsEntry(const std::wstring& setupPath, const std::wstring& modulePath,
                        DWORD sizeKilobytes);

// The classic context-menu handler for all files: the menu before Windows 11, and on Windows 11
// the one under "Show more options" for every account without the package; it steps aside where
// the package is registered (common/package_presence.h).
bool RegisterClassicHandler();

// On Windows 11, once the package is kept beside the module (any account may register it from
// there): the record by which Uninstall removes it for every user. A record of an earlier
// installation stays whatever happens, so that a later Uninstall still removes what it names.
bool RecordPackage();

// The certificate the installer added to TrustedPeople for the package (none: empty), which
// Uninstall takes out again.
bool RecordTrustedCertificate(const std::wstring& thumbprint);

// A text value of the installed-programs entry; empty when there is none, or when it is not a
// REG_SZ of fewer than mostCharacters characters (then it is not the installer's).
std::wstring ReadRecord(const WCHAR* name, DWORD mostCharacters);

// The thumbprint an earlier installation recorded; empty when none.
std::wstring RecordedCertificate();

// Whether the current user has launch settings, which a reinstall keeps.
bool HasSettings();

// The default preset's settings (common/map_presets.h) for the current user, unless the user
// already has settings.
bool WriteDefaultSettings();

// The language of the current user's boxes, from the language of the user's windows, unless the
// user already has a "Language" value.
bool WriteMessageLanguage();

// The "Formats" value that switches on every switched format of the groups, "; "-joined in the
// order of FORMATS.
std::wstring SwitchedFormats(std::initializer_list<FormatGroup> groups);

// What the setup program switches on: nothing, the photo formats (/formats, as ever), or the
// photo, video and raw formats (its window's box, /formats:all).
enum class FormatsChoice { NONE, PHOTOS, ALL };

// Whether the current user's settings hold a value of this name, whatever it holds.
bool HasSettingValue(const WCHAR* name);

// The "Formats" value of a choice: empty for none.
std::wstring FormatsFor(FormatsChoice choice);

// The current user's switch for every switched format of the choice; the other settings stay.
bool SwitchOnFormats(FormatsChoice choice);

// The step that gives every other account its settings at its first sign-in (Active Setup runs
// "QuorielSettings.exe /account" there, install/account_setup.h), with the formats it is to get;
// unless chosen, those an earlier installation recorded stay.
bool RegisterAccountStep(const std::wstring& settingsProgram, FormatsChoice formats,
                         bool chosen = true);
