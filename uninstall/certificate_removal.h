#pragma once
// Takes the certificate that the installer trusted for the Windows 11 package out of the
// machine's TrustedPeople store again.

#include <string>

// True when the certificate with this SHA-1 thumbprint (common/thumbprint.h) is not, or no
// longer, in the store; false when the thumbprint is malformed or the removal failed.
bool RemoveTrustedCertificate(const std::wstring& thumbprint);
