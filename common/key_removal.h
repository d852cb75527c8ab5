#pragma once
// How every removal of a key, by the uninstall or the installer, judges a RegDeleteKeyW result.

#include <windows.h>

// A key that is already gone counts as removed.
inline bool Removed(LONG error) {
    return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND;
}
