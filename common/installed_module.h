#pragma once
// Where the installer puts the module and the settings program beside it, and whence Uninstall
// removes them: the system directory and "\ShellExt\Quoriel.dll" or
// "\ShellExt\QuorielSettings.exe".

#include <windows.h>

// True with the installed module's path in path; false when the system directory cannot be
// read or is too long for the whole path to fit.
bool MakeInstalledModulePath(WCHAR (&path)[MAX_PATH]);

// The same for the installed settings program.
bool MakeInstalledSettingsPath(WCHAR (&path)[MAX_PATH]);
