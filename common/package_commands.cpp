#include "common/package_commands.h"

#include "common/powershell_command.h"

namespace {

// A failing command ends the whole line with a failure exit code instead of going on.
constexpr const wchar_t* STOP_AT_ERRORS = L"$ErrorActionPreference = 'Stop'; ";

}  // namespace

std::wstring RemovePackageCommand(const std::wstring& name) {
    return L"Get-AppxPackage -AllUsers -Name " + PowerShellLiteral(name) +
           L" | Remove-AppxPackage -AllUsers";
}

std::wstring AddPackageCommand(const std::wstring& packageFile, const std::wstring& folder) {
    return L"Add-AppxPackage -Path " + PowerShellLiteral(packageFile) + L" -ExternalLocation " +
           PowerShellLiteral(folder);
}

std::wstring ReplacePackageCommand(const std::wstring& name, const std::wstring& packageFile,
                                   const std::wstring& folder) {
    return STOP_AT_ERRORS + RemovePackageCommand(name) + L"; " +
           AddPackageCommand(packageFile, folder);
}
