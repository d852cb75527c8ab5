#pragma once
// Where the installer puts the module and, beside it, the settings program and a copy of the
// setup program, and whence Uninstall removes them: the system directory and
// "\ShellExt\Quoriel.dll", "\ShellExt\QuorielSettings.exe" or "\ShellExt\QuorielSetup.exe".

#include <windows.h>

// True with the installed module's path in path; false when the system directory cannot be
// read or is too long for the whole path to fit.
bool MakeInstalledModulePath(WCHAR (&path)[MAX_PATH]);

// The same for the installed settings program and the setup program's copy.
bool MakeInstalledSettingsPath(WCHAR (&path)[MAX_PATH]);
bool MakeInstalledSetupPath(WCHAR (&path)[MAX_PATH]);
// The Windows 11 package kept beside them.
bool MakeInstalledPackagePath(WCHAR (&path)[MAX_PATH]);
