#include "install/account_setup.h"

#include <windows.h>

#include <string>

#include "common/registry_names.h"
#include "install/installation.h"

namespace {

// Far more than the longest list the installation writes; a longer value is not its record.
constexpr DWORD RECORD_CHARACTERS = 1024;

// The formats the installation chose for new accounts; empty when none, or when the record is
// not one the installation wrote.
std::wstring AccountFormats() {
    WCHAR text[RECORD_CHARACTERS] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, ACCOUNT_FORMATS_VALUE, RRF_RT_REG_SZ,
                     nullptr, text, &size) != ERROR_SUCCESS) {
        return std::wstring();
    }
    return text;
}

}  // namespace

bool SetUpAccount() {
    if (HasSettings()) {
        return true;
    }
    const std::wstring formats = AccountFormats();
    if (!WriteDefaultSettings()) {
        return false;
    }
    return formats.empty() ||
           RegSetKeyValueW(
               HKEY_CURRENT_USER, SETTINGS_KEY, SETTING_FORMATS, REG_SZ, formats.c_str(),
               static_cast<DWORD>((formats.size() + 1) * sizeof(WCHAR))) == ERROR_SUCCESS;
}
