#pragma once
// Whether the process may uninstall: on Windows 6.0 and later only a fully elevated token
// passes; before that, a token that lists the Administrators group. When the token cannot be
// read the run goes on, and what cannot be removed is reported later.

#include <windows.h>

bool IsWindowsVistaOrLater();
bool HasAdministratorRights();
// Whether token lists S-1-5-32-544 among its groups, whatever the group's attributes; true
// when the groups cannot be read.
bool TokenListsAdministrators(HANDLE token);
