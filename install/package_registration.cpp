#include "install/package_registration.h"

#include <windows.h>

#include <cstdio>

#include "common/package_commands.h"
#include "common/package_identity.h"
#include "common/powershell_command.h"
#include "install/certificate_trust.h"
#include "install/file_placement.h"

namespace {

constexpr DWORD HRESULT_ERRORS = 0x80000000;
constexpr size_t HEX_CHARACTERS = 11;

std::string Narrow(const WCHAR* text) {
    std::string narrow;
    for (; *text != L'\0'; ++text) {
        narrow += static_cast<char>(*text);
    }
    return narrow;
}

std::string Missing(const WCHAR* file) {
    return Narrow(file) + " is missing beside the installer";
}

// Win32 errors in decimal, as the installer's other messages give them; HRESULTs, which
// crypt32 reports, in hexadecimal.
std::string WithError(const std::string& what, DWORD error) {
    if (error < HRESULT_ERRORS) {
        return what + " (error " + std::to_string(error) + ")";
    }
    char hex[HEX_CHARACTERS] = {};
    std::snprintf(hex, sizeof(hex), "0x%08lX", error);
    return what + " (error " + hex + ")";
}

}  // namespace

PackageRegistration RegisterPackage(const std::wstring& setupFolder,
                                    const std::wstring& moduleFolder) {
    PackageRegistration registration;
    const std::wstring package = setupFolder + L"\\" + PACKAGE_FILE;
    const std::wstring certificate = setupFolder + L"\\" + CERTIFICATE_FILE;
    if (!IsFile(package)) {
        registration.failure = Missing(PACKAGE_FILE);
        return registration;
    }
    if (!IsFile(certificate)) {
        registration.failure = Missing(CERTIFICATE_FILE);
        return registration;
    }
    CertificateTrust trust;
    const DWORD refused = trust.Establish(certificate);
    if (refused != ERROR_SUCCESS) {
        registration.failure = WithError(Narrow(CERTIFICATE_FILE) + " was refused", refused);
        return registration;
    }
    const PowerShellResult run = RunPowerShell(
        ReplacePackageCommand(PACKAGE_NAME, moduleFolder + L"\\" + PACKAGE_FILE, moduleFolder));
    if (!run.Succeeded()) {
        trust.Withdraw();
        registration.failure =
            run.startError != ERROR_SUCCESS
                ? WithError("PowerShell could not be started", run.startError)
                : "Add-AppxPackage ended with exit code " + std::to_string(run.exitCode);
        return registration;
    }
    registration.registered = true;
    registration.thumbprint = trust.Thumbprint();
    return registration;
}
