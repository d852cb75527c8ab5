#include "uninstall/installed_programs_removal.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "common/installed_module.h"
#include "common/owners.h"
#include "common/settings_shortcut.h"
#include "uninstall/delayed_deletion.h"

namespace {

bool Gone(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// Either name: the installer chose by the language of whoever installed.
bool DeleteShortcuts() {
    UniqueTaskText folder;
    // Not verified: a Programs folder that is missing holds no shortcut.
    if (FAILED(SHGetKnownFolderPath(FOLDERID_CommonPrograms, KF_FLAG_DONT_VERIFY, nullptr,
                                    folder.Put()))) {
        return false;
    }
    bool removed = true;
    for (const SettingsShortcut* shortcut : SETTINGS_SHORTCUTS) {
        const std::wstring path = std::wstring(folder.Get()) + L"\\" + shortcut->file;
        if (!DeleteFileW(path.c_str()) && !Gone(GetLastError())) {
            removed = false;
        }
    }
    return removed;
}

bool ScheduleProgramDeletion(bool (*makePath)(WCHAR (&)[MAX_PATH])) {
    WCHAR path[MAX_PATH] = {};
    if (!makePath(path)) {
        return false;
    }
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES && Gone(GetLastError())) {
        return true;
    }
    return ScheduleDeletion(path);
}

}  // namespace

bool RemoveInstalledPrograms() {
    const bool shortcutsRemoved = DeleteShortcuts();
    const bool settingsRemoved = ScheduleProgramDeletion(MakeInstalledSettingsPath);
    const bool setupRemoved = ScheduleProgramDeletion(MakeInstalledSetupPath);
    return ScheduleProgramDeletion(MakeInstalledPackagePath) && setupRemoved && settingsRemoved &&
           shortcutsRemoved;
}
