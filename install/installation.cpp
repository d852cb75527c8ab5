#include "install/installation.h"

#include <algorithm>

#include "common/formats_value.h"
#include "common/installed_module.h"
#include "common/key_removal.h"
#include "common/map_presets.h"
#include "common/message_language.h"
#include "common/owners.h"
#include "common/package_identity.h"
#include "common/registry_names.h"
#include "common/ui_language.h"
#include "install/account_setup.h"
#include "install/setup_options.h"
#include "quoriel_version.h"

namespace {

constexpr const WCHAR* DISPLAY_NAME = L"Quoriel 64ビット版";
constexpr const WCHAR* DISPLAY_VERSION = L"" QUORIEL_VERSION_TEXT;
constexpr const WCHAR* PUBLISHER = L"Vantorel";
constexpr const WCHAR* THREADING_MODEL = L"Apartment";
constexpr const WCHAR* MENU_NAME = L"Quoriel";
constexpr DWORD THUMBPRINT_ROOM = 64;
// Active Setup's version form: four numbers below 65536, here year, month and day, hour and
// minute, second (UTC).
constexpr const WCHAR* STAMP_FORMAT = L"%u,%u,%u,%u";
constexpr int STAMP_CHARACTERS = 4 * 6;
// The module's first icon, as Settings > Apps shows it.
constexpr const WCHAR* ICON_INDEX = L",0";

bool SetValue(HKEY root, const WCHAR* path, const WCHAR* name, DWORD type, const void* data,
              DWORD bytes) {
    UniqueKey key;
    LONG status =
        RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Put(), nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExW(key.Get(), name, 0, type, static_cast<const BYTE*>(data), bytes);
    }
    // The setup program tells the user why.
    SetLastError(static_cast<DWORD>(status));
    return status == ERROR_SUCCESS;
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

// Active Setup runs the step again in every account whose note is older than this. The
// installation's time, not the product's version: a reinstall of the same version removes the
// package from every account, which must then register it again.
std::wstring InstallationStamp() {
    SYSTEMTIME now = {};
    GetSystemTime(&now);
    WCHAR stamp[STAMP_CHARACTERS] = {};
    wsprintfW(stamp, STAMP_FORMAT, now.wYear, now.wMonth * 100 + now.wDay,
              now.wHour * 100 + now.wMinute, now.wSecond);
    return stamp;
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

std::wstring InstalledSetupPath() {
    return SystemPathOrEmpty(MakeInstalledSetupPath);
}

std::wstring InstalledPackagePath() {
    return SystemPathOrEmpty(MakeInstalledPackagePath);
}

std::wstring ThisProgramPath() {
    WCHAR path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? L"" : std::wstring(path, length);
}

std::wstring FolderOf(const std::wstring& file) {
    return file.substr(0, file.find_last_of(L'\\'));
}

bool RegisterModule(const std::wstring& modulePath) {
    return SetString(HKEY_CLASSES_ROOT, CLASS_KEY, nullptr, MENU_NAME) &&
           SetString(HKEY_CLASSES_ROOT, SERVER_KEY, nullptr, modulePath) &&
           SetString(HKEY_CLASSES_ROOT, SERVER_KEY, THREADING_MODEL_VALUE, THREADING_MODEL);
}

bool WriteProgramsEntry(const std::wstring& setupPath, const std::wstring& modulePath,
                        DWORD sizeKilobytes) {
    const std::wstring setup = L"\"" + setupPath + L"\" ";
    const auto set = [](const WCHAR* name, const std::wstring& text) {
        return SetString(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, name, text);
    };
    return set(DISPLAY_NAME_VALUE, DISPLAY_NAME) && set(DISPLAY_VERSION_VALUE, DISPLAY_VERSION) &&
           set(PUBLISHER_VALUE, PUBLISHER) &&
           set(UNINSTALL_STRING_VALUE, setup + UNINSTALL_OPTION) &&
           set(QUIET_UNINSTALL_STRING_VALUE, setup + UNINSTALL_OPTION + L" " + QUIET_OPTION) &&
           set(DISPLAY_ICON_VALUE, modulePath + ICON_INDEX) &&
           set(INSTALL_LOCATION_VALUE, FolderOf(modulePath)) &&
           SetNumber(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, ESTIMATED_SIZE_VALUE, sizeKilobytes) &&
           SetNumber(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, NO_MODIFY_VALUE, 1) &&
           SetNumber(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, NO_REPAIR_VALUE, 1);
}

bool RegisterClassicHandler() {
    return SetString(HKEY_CLASSES_ROOT, HANDLER_KEY, nullptr, MENU_NAME);
}

bool RecordPackage() {
    return SetString(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, PACKAGE_VALUE, PACKAGE_NAME);
}

bool RecordTrustedCertificate(const std::wstring& thumbprint) {
    return thumbprint.empty() ||
           SetString(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, TRUSTED_CERTIFICATE_VALUE, thumbprint);
}

std::wstring ReadRecord(const WCHAR* name, DWORD mostCharacters) {
    std::wstring text(mostCharacters, L'\0');
    DWORD size = static_cast<DWORD>(text.size() * sizeof(WCHAR));
    if (RegGetValueW(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, name, RRF_RT_REG_SZ, nullptr, text.data(),
                     &size) != ERROR_SUCCESS) {
        return std::wstring();
    }
    text.resize(lstrlenW(text.c_str()));
    return text;
}

std::wstring RecordedCertificate() {
    // A thumbprint has 40 characters: a longer value is not the installer's record.
    return ReadRecord(TRUSTED_CERTIFICATE_VALUE, THUMBPRINT_ROOM);
}

bool HasSettings() {
    UniqueKey existing;
    return RegOpenKeyExW(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_QUERY_VALUE, existing.Put()) ==
           ERROR_SUCCESS;
}

bool WriteDefaultSettings() {
    if (HasSettings()) {
        return true;  // a reinstall keeps what the user chose
    }
    for (int i = 0; i < LAUNCH_VALUE_COUNT; ++i) {
        if (!SetString(HKEY_CURRENT_USER, SETTINGS_KEY, LAUNCH_VALUE_NAMES[i],
                       DEFAULT_PRESET.texts[i])) {
            return false;
        }
    }
    return true;
}

bool WriteMessageLanguage() {
    if (HasSettingValue(SETTING_LANGUAGE)) {
        return true;  // the account's own choice stays
    }
    const bool japanese = PRIMARYLANGID(WindowLanguage()) == LANG_JAPANESE;
    return SetString(
        HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_LANGUAGE,
        LanguageValue(japanese ? MessageLanguage::JAPANESE : MessageLanguage::ENGLISH));
}

std::wstring SwitchedFormats(std::initializer_list<FormatGroup> groups) {
    return JoinFormats([&](const Format& format) { return InGroups(format.group, groups); });
}

bool HasSettingValue(const WCHAR* name) {
    return RegGetValueW(HKEY_CURRENT_USER, SETTINGS_KEY, name, RRF_RT_ANY, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
}

std::wstring FormatsFor(FormatsChoice choice) {
    switch (choice) {
        case FormatsChoice::ALL:
            return SwitchedFormats({FormatGroup::PHOTO, FormatGroup::VIDEO, FormatGroup::RAW});
        case FormatsChoice::PHOTOS:
            return SwitchedFormats({FormatGroup::PHOTO});
        case FormatsChoice::NONE:
            break;
    }
    return std::wstring();
}

bool SwitchOnFormats(FormatsChoice choice) {
    return choice == FormatsChoice::NONE ||
           SetString(HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_FORMATS, FormatsFor(choice));
}

bool RegisterAccountStep(const std::wstring& settingsProgram, FormatsChoice formats, bool chosen) {
    const auto set = [](const WCHAR* name, const std::wstring& text) {
        return SetString(HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY, name, text);
    };
    const bool recorded =
        !chosen ||
        (formats == FormatsChoice::NONE
             ? Removed(RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, ACCOUNT_FORMATS_VALUE))
             : SetString(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, ACCOUNT_FORMATS_VALUE,
                         FormatsFor(formats)));
    return recorded && set(nullptr, DISPLAY_NAME) &&
           set(STUB_PATH_VALUE, L"\"" + settingsProgram + L"\" " + ACCOUNT_OPTION) &&
           set(VERSION_VALUE, InstallationStamp()) &&
           SetNumber(HKEY_LOCAL_MACHINE, ACTIVE_SETUP_KEY, IS_INSTALLED_VALUE, 1);
}
