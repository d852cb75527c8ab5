#pragma once
// Removes the extension's registration and every user's launch settings, loading the hives of
// users who are not logged on. Never stops at a failure; warns once at the end when anything
// was left.

#include <windows.h>

// True when everything was removed (or already gone); false after the warning.
bool RunRegistryCleanup();

// Removes "Software\Vantorel\Quoriel" under root, and "Software\Vantorel" when nothing else
// is left under it. True when done, including when there was nothing to remove.
bool RemoveSettings(HKEY root);
