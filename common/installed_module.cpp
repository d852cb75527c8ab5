#include "common/installed_module.h"

#include "common/registry_names.h"

namespace {

// The system directory followed by below, when the whole path fits MAX_PATH with its NUL.
bool MakeSystemPath(const WCHAR* below, WCHAR (&path)[MAX_PATH]) {
    const UINT room = MAX_PATH - static_cast<UINT>(lstrlenW(below));
    const UINT length = GetSystemDirectoryW(path, room);
    if (length == 0 || length >= room) {
        return false;
    }
    lstrcpynW(path + length, below, MAX_PATH - length);
    return true;
}

}  // namespace

bool MakeInstalledModulePath(WCHAR (&path)[MAX_PATH]) {
    return MakeSystemPath(MODULE_IN_SYSTEM, path);
}

bool MakeInstalledSettingsPath(WCHAR (&path)[MAX_PATH]) {
    return MakeSystemPath(SETTINGS_PROGRAM_IN_SYSTEM, path);
}

bool MakeInstalledSetupPath(WCHAR (&path)[MAX_PATH]) {
    return MakeSystemPath(SETUP_PROGRAM_IN_SYSTEM, path);
}

bool MakeInstalledPackagePath(WCHAR (&path)[MAX_PATH]) {
    return MakeSystemPath(PACKAGE_IN_SYSTEM, path);
}
