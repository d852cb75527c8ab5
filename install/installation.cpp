#include "install/installation.h"

#include <algorithm>

#include "common/formats_value.h"
#include "common/installed_module.h"
#include "common/key_removal.h"
#include "common/map_presets.h"
#include "common/owners.h"
#include "common/package_identity.h"
#include "common/registry_names.h"
#include "quoriel_version.h"

namespace {

constexpr const WCHAR* DISPLAY_NAME = L"Quoriel 64ビット版";
constexpr const WCHAR* DISPLAY_VERSION = L"" QUORIEL_VERSION_TEXT;
constexpr const WCHAR* PUBLISHER = L"Vantorel";
constexpr const WCHAR* THREADING_MODEL = L"Apartment";
constexpr const WCHAR* MENU_NAME = L"Quoriel";

bool SetValue(HKEY root, const WCHAR* path, const WCHAR* name, DWORD type, const void* data,
              DWORD bytes) {
    UniqueKey key;
    if (RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    return RegSetValueExW(key.Get(), name, 0, type, static_cast<const BYTE*>(data), bytes) ==
           ERROR_SUCCESS;
}

bool SetString(HKEY root, const WCHAR* path, const WCHAR* name, const std::wstring& text) {
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR));
    return SetValue(root, path, name, REG_SZ, text.c_str(), bytes);
}

bool SetNumber(HKEY root, const WCHAR* path, const WCHAR* name, DWORD number) {
    return SetValue(root, path, name, REG_DWORD, &number, sizeof(number));
}

bool InGroups(FormatGroup group, std::initializer_list<FormatGroup> groups) {
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

// The path make gives, or empty when it cannot be made.
std::wstring SystemPathOrEmpty(bool (*make)(WCHAR (&)[MAX_PATH])) {
    WCHAR path[MAX_PATH] = {};
    return make(path) ? path : L"";
}

}  // namespace

std::wstring InstalledModulePath() {
    return SystemPathOrEmpty(MakeInstalledModulePath);
}

std::wstring InstalledSettingsPath() {
    return SystemPathOrEmpty(MakeInstalledSettingsPath);
}

std::wstring FolderOf(const std::wstring& file) {
    return file.substr(0, file.find_last_of(L'\\'));
}

bool CopyModule(const std::wstring& source, const std::wstring& target) {
    const std::wstring folder = FolderOf(target);
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        return false;
    }
    return CopyFileW(source.c_str(), target.c_str(), FALSE) != FALSE;
}

bool RegisterModule(const std::wstring& modulePath) {
    const std::wstring uninstall = L"rundll32.exe \"" + modulePath + L"\",Uninstall";
    return SetString(HKEY_CLASSES_ROOT, CLASS_KEY, nullptr, MENU_NAME) &&
           SetString(HKEY_CLASSES_ROOT, SERVER_KEY, nullptr, modulePath) &&
           SetString(HKEY_CLASSES_ROOT, SERVER_KEY, THREADING_MODEL_VALUE, THREADING_MODEL) &&
           SetString(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, DISPLAY_NAME_VALUE, DISPLAY_NAME) &&
           SetString(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, DISPLAY_VERSION_VALUE, DISPLAY_VERSION) &&
           SetString(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, PUBLISHER_VALUE, PUBLISHER) &&
           SetString(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, UNINSTALL_STRING_VALUE, uninstall) &&
           SetNumber(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, NO_MODIFY_VALUE, 1) &&
           SetNumber(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, NO_REPAIR_VALUE, 1);
}

bool RegisterClassicHandler() {
    return SetString(HKEY_CLASSES_ROOT, HANDLER_KEY, nullptr, MENU_NAME);
}

bool RecordPackage(const std::wstring& thumbprint) {
    if (!SetString(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, PACKAGE_VALUE, PACKAGE_NAME)) {
        return false;
    }
    if (!thumbprint.empty() &&
        !SetString(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, TRUSTED_CERTIFICATE_VALUE, thumbprint)) {
        return false;
    }
    return Removed(RegDeleteKeyW(HKEY_CLASSES_ROOT, HANDLER_KEY));
}

bool WriteDefaultSettings() {
    UniqueKey existing;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_QUERY_VALUE, existing.Put()) ==
        ERROR_SUCCESS) {
        return true;  // a reinstall keeps what the user chose
    }
    const MapPreset& preset = DEFAULT_PRESET;
    return SetString(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_TEMPLATE, preset.launchTemplate) &&
           SetString(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_NORTH, preset.north) &&
           SetString(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_SOUTH, preset.south) &&
           SetString(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_EAST, preset.east) &&
           SetString(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_WEST, preset.west);
}

std::wstring SwitchedFormats(std::initializer_list<FormatGroup> groups) {
    return JoinFormats([&](const Format& format) { return InGroups(format.group, groups); });
}

bool SwitchOnPhotoFormats() {
    return SetString(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_FORMATS,
                     SwitchedFormats({FormatGroup::PHOTO}));
}
