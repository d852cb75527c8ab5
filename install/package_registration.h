#pragma once
// Windows 11's own context menu: the signed package that lies beside the installer, kept beside
// the module (where each account registers it at its first sign-in, install/account_setup.h)
// and registered from there for the user who runs the installer, with the module's folder as its
// external location.

#include <string>

struct PackageRegistration {
    bool registered = false;
    // For the record: the thumbprint of the certificate trusted for the package, or empty.
    std::wstring thumbprint;
    // Why it was not registered, for the installer's one line.
    std::string failure;
};

// Trusts the package's certificate when needed and registers the package kept in moduleFolder
// through PowerShell, after removing earlier registrations of it. When that fails, nothing of it
// is left: a certificate it added is taken out again.
PackageRegistration RegisterPackage(const std::wstring& setupFolder,
                                    const std::wstring& moduleFolder);
