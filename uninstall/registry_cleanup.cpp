#include "uninstall/registry_cleanup.h"

#include "common/messages.h"
#include "common/owners.h"
#include "common/registry_names.h"
#include "uninstall/profile_walk.h"
#include "uninstall/restore_privilege.h"

namespace {

// A key that is already gone counts as removed.
bool Removed(LONG error) {
    return error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND;
}

// The class key goes only after its server key, and only when that was its last subkey.
void RemoveMachineKeys(CleanupOutcome* outcome) {
    if (Removed(RegDeleteKeyW(HKEY_CLASSES_ROOT, SERVER_KEY))) {
        outcome->failed |= !Removed(RegDeleteKeyW(HKEY_CLASSES_ROOT, CLASS_KEY));
    } else {
        outcome->failed = true;
    }
    outcome->failed |= !Removed(RegDeleteKeyW(HKEY_CLASSES_ROOT, HANDLER_KEY));
    outcome->failed |= !Removed(RegDeleteKeyW(HKEY_LOCAL_MACHINE, PROGRAMS_KEY));
}

}  // namespace

bool RemoveSettings(HKEY root) {
    UniqueKey maker;
    const LONG error = RegOpenKeyExW(root, MAKER_KEY, 0, KEY_READ, maker.Put());
    if (error != ERROR_SUCCESS) {
        return error == ERROR_FILE_NOT_FOUND;
    }
    if (!Removed(RegDeleteKeyW(maker.Get(), SETTINGS_SUBKEY))) {
        return false;
    }
    DWORD subkeys = 0;
    if (RegQueryInfoKeyW(maker.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                         nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    // Another product's settings keep the maker's key; its values alone do not.
    return subkeys != 0 || RegDeleteKeyW(root, MAKER_KEY) == ERROR_SUCCESS;
}

bool RunRegistryCleanup() {
    CleanupOutcome outcome;
    RemoveMachineKeys(&outcome);
    outcome.failed |= !RemoveSettings(HKEY_CURRENT_USER);
    {
        RestorePrivilege privilege;
        if (privilege.Enable()) {
            WalkProfiles(&outcome);
        } else {
            outcome.walkNotRun = true;
        }
    }
    if (!outcome.Complete()) {
        MessageBoxW(nullptr, TEXT_REGISTRY_LEFT, CAPTION_UNINSTALL, STYLE_WARNING);
    }
    return outcome.Complete();
}
