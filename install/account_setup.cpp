#include "install/account_setup.h"

#include <windows.h>

#include <string>

#include "common/registry_names.h"
#include "common/package_commands.h"
#include "common/package_presence.h"
#include "common/powershell_command.h"
#include "install/file_placement.h"
#include "install/installation.h"
#include "install/windows_version.h"

namespace {

// Far more than the longest list the installation writes; a longer value is not its record.
constexpr DWORD RECORD_CHARACTERS = 1024;

// The formats the installation chose for new accounts; empty when none, or when the record is
// not one the installation wrote.
std::wstring AccountFormats() {
    return ReadRecord(ACCOUNT_FORMATS_VALUE, RECORD_CHARACTERS);
}

// On Windows 11 the account's own registration of the package kept beside the module, which
// puts the command at the top of its menu; until it is there, the classic handler serves.
void RegisterPackageForAccount() {
    const std::wstring package = InstalledPackagePath();
    if (!IsWindows11OrLater() || !IsFile(package) || PackageRegisteredForUser()) {
        return;
    }
    RunPowerShell(AddPackageCommand(package, FolderOf(package)));
}

bool WriteFirstSettings() {
    if (HasSettings()) {
        return true;
    }
    const std::wstring formats = AccountFormats();
    if (!WriteDefaultSettings() || !WriteMessageLanguage()) {
        return false;
    }
    return formats.empty() ||
           RegSetKeyValueW(
               HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_FORMATS, REG_SZ, formats.c_str(),
               static_cast<DWORD>((formats.size() + 1) * sizeof(WCHAR))) == ERROR_SUCCESS;
}

}  // namespace

bool SetUpAccount() {
    // The settings first: the registration may take PowerShell seconds.
    const bool settings = WriteFirstSettings();
    RegisterPackageForAccount();
    return settings;
}
