#include "uninstall/settings_removal.h"

#include "common/owners.h"
#include "common/registry_names.h"
#include "common/key_removal.h"

namespace {

bool RemoveLaunchSettings(HKEY root) {
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

}  // namespace

bool RemoveSettings(HKEY root) {
    // Windows' note that the account has run the installation's step: without it, a later
    // installation gives the account its settings again.
    const bool markerRemoved = Removed(RegDeleteKeyW(root, ACTIVE_SETUP_KEY));
    return RemoveLaunchSettings(root) && markerRemoved;
}
