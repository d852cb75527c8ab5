#pragma once
// Removes one user's launch settings, for the current user and for each profile of the walk.

#include <windows.h>

// Removes "Software\Vantorel\Quoriel" under root, and "Software\Vantorel" when nothing else
// is left under it, and the account's Active Setup note of the installation's step. True when
// done, including when there was nothing to remove.
bool RemoveSettings(HKEY root);
