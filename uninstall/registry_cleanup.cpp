#include "uninstall/registry_cleanup.h"

#include "common/messages.h"
#include "common/owners.h"
#include "uninstall/profile_walk.h"
#include "uninstall/restore_privilege.h"

namespace {

#define QUORIEL_CLSID L"{6A0C5B7E-3D24-4F19-9E8B-2C71D4A05F63}"
constexpr const WCHAR* SERVER_KEY = L"CLSID\\" QUORIEL_CLSID L"\\InProcServer32";
constexpr const WCHAR* CLASS_KEY = L"CLSID\\" QUORIEL_CLSID;
constexpr const WCHAR* HANDLER_KEY = L"*\\shellex\\ContextMenuHandlers\\" QUORIEL_CLSID;
constexpr const WCHAR* PROGRAMS_KEY =
    L"SoftWare\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" QUORIEL_CLSID;
#undef QUORIEL_CLSID

constexpr const WCHAR* MAKER_KEY = L"Software\\Vantorel";
constexpr const WCHAR* SETTINGS_SUBKEY = L"Quoriel";

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
