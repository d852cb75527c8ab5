#pragma once
// The PowerShell commands for the Windows 11 package (run with common/powershell_command.h): the
// installer's, each account's at its first sign-in, and Uninstall's.

#include <string>

// Every registration of the named package, whatever its version or signature, for every user.
// Needs an administrator.
std::wstring RemovePackageCommand(const std::wstring& name);

// Registers the package file for the account that runs the command, with the folder as its
// external location.
std::wstring AddPackageCommand(const std::wstring& packageFile, const std::wstring& folder);

// The installer's: earlier registrations gone first, so that a reinstall (a rebuild signs the
// same version anew) or an upgrade never leaves the item twice; nothing is added when they could
// not be removed.
std::wstring ReplacePackageCommand(const std::wstring& name, const std::wstring& packageFile,
                                   const std::wstring& folder);
