#include "install/removal.h"

#include <windows.h>

#include "common/owners.h"
#include "common/registry_names.h"
#include "install/installation.h"
#include "install/pending_deletion.h"
#include "uninstall/admin_check.h"
#include "uninstall/installed_files_removal.h"
#include "uninstall/registrations_removal.h"

extern "C" void WINAPI Uninstall();

namespace {

constexpr const char* UNINSTALL_EXPORT = "Uninstall";

using UninstallFunction = void(WINAPI*)();

bool KeyThere(HKEY root, const WCHAR* path) {
    UniqueKey key;
    return RegOpenKeyExW(root, path, 0, KEY_QUERY_VALUE, key.Put()) == ERROR_SUCCESS;
}

bool FileLeft(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES && !DeletionPending(path);
}

// What the export's warnings were about, as far as it shows from outside: a key of the
// machine's, or a file whose deletion is not pending. (A user profile's settings do not show.)
bool SomethingLeft() {
    return KeyThere(HKEY_CLASSES_ROOT, CLASS_KEY) || KeyThere(HKEY_CLASSES_ROOT, HANDLER_KEY) ||
           KeyThere(HKEY_LOCAL_MACHINE, PROGRAMS_KEY) ||
           KeyThere(HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY) || FileLeft(InstalledModulePath()) ||
           FileLeft(InstalledSettingsPath()) || FileLeft(InstalledSetupPath()) ||
           FileLeft(InstalledPackagePath());
}

}  // namespace

// The installed module's export, so that what the user sees is the module's own; when the
// module is gone, the same code built into this program.
Removal UninstallWithBoxes() {
    UniqueModule module(LoadLibraryW(InstalledModulePath().c_str()));
    const auto uninstall = module ? reinterpret_cast<UninstallFunction>(reinterpret_cast<void*>(
                                        GetProcAddress(module.Get(), UNINSTALL_EXPORT)))
                                  : nullptr;
    (uninstall != nullptr ? uninstall : Uninstall)();
    // The export returns nothing. Its cleanup deletes the server key and the entry; a "no" to
    // its confirmation, or its refusal, leaves both.
    if (KeyThere(HKEY_CLASSES_ROOT, SERVER_KEY) && KeyThere(HKEY_LOCAL_MACHINE, PROGRAMS_KEY)) {
        return HasAdministratorRights() ? Removal::CANCELLED : Removal::REFUSED;
    }
    return SomethingLeft() ? Removal::INCOMPLETE : Removal::REMOVED;
}

Removal UninstallQuietly() {
    if (!HasAdministratorRights()) {
        return Removal::REFUSED;
    }
    const bool registryComplete = RemoveRegistrationsAndSettings().Complete();
    const bool filesRemoved = RemoveInstalledFiles();
    return registryComplete && filesRemoved ? Removal::REMOVED : Removal::INCOMPLETE;
}
