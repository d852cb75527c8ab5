#include "install/removal.h"

#include <windows.h>

#include "common/owners.h"
#include "common/registry_names.h"
#include "install/installation.h"
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
    return KeyThere(HKEY_LOCAL_MACHINE, PROGRAMS_KEY) ? Removal::INCOMPLETE : Removal::REMOVED;
}

Removal UninstallQuietly() {
    if (!HasAdministratorRights()) {
        return Removal::REFUSED;
    }
    const bool registryComplete = RemoveRegistrationsAndSettings().Complete();
    const bool filesRemoved = RemoveInstalledFiles();
    return registryComplete && filesRemoved ? Removal::REMOVED : Removal::INCOMPLETE;
}
