#include "uninstall/package_removal.h"

#include <windows.h>

#include <string>

#include "common/package_commands.h"
#include "common/powershell_command.h"
#include "common/registry_names.h"
#include "uninstall/certificate_removal.h"

namespace {

// Package names have at most 50 characters, thumbprints 40: anything longer is not the
// installer's record.
constexpr DWORD RECORD_CHARACTERS = 128;

enum class Record { ABSENT, READ, UNREADABLE };

Record ReadRecord(const WCHAR* name, std::wstring* text) {
    WCHAR value[RECORD_CHARACTERS] = {};
    DWORD size = sizeof(value);
    const LONG error =
        RegGetValueW(HKEY_LOCAL_MACHINE, PROGRAMS_KEY, name, RRF_RT_REG_SZ, nullptr, value, &size);
    if (error == ERROR_FILE_NOT_FOUND) {
        return Record::ABSENT;
    }
    if (error != ERROR_SUCCESS) {
        return Record::UNREADABLE;
    }
    *text = value;
    return Record::READ;
}

// The installer registered the package for its own account and each account at its first
// sign-in; Uninstall may run as yet another administrator: the removal covers every user.
bool RemovePackage(const std::wstring& name) {
    return RunPowerShell(RemovePackageCommand(name)).Succeeded();
}

}  // namespace

void RemoveWindowsPackage(CleanupOutcome* outcome) {
    std::wstring package;
    std::wstring thumbprint;
    const Record packageRecord = ReadRecord(PACKAGE_VALUE, &package);
    const Record certificateRecord = ReadRecord(TRUSTED_CERTIFICATE_VALUE, &thumbprint);
    outcome->failed |= packageRecord == Record::UNREADABLE;
    outcome->failed |= certificateRecord == Record::UNREADABLE;
    // The package first, then the certificate its signature was trusted by.
    if (packageRecord == Record::READ && !RemovePackage(package)) {
        outcome->failed = true;
    }
    if (certificateRecord == Record::READ && !RemoveTrustedCertificate(thumbprint)) {
        outcome->failed = true;
    }
}
