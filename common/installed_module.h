#pragma once
// Where the installer puts the module and whence Uninstall removes it: the system directory
// and "\ShellExt\Quoriel.dll".

#include <windows.h>

// True with the installed module's path in path; false when the system directory cannot be
// read or is too long for the whole path to fit.
bool MakeInstalledModulePath(WCHAR (&path)[MAX_PATH]);
