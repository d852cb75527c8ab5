#pragma once
// The trust that installing the Windows 11 package needs: when Windows does not already trust
// the package's signer, the public part of its certificate goes into the machine's
// TrustedPeople store, never into Root.

#include <windows.h>

#include <string>

#include "common/certificate_owners.h"

class CertificateTrust {
  public:
    CertificateTrust() = default;
    CertificateTrust(const CertificateTrust&) = delete;
    CertificateTrust& operator=(const CertificateTrust&) = delete;

    // Trusts the certificate in file (DER or Base64) unless a chain to a trusted root already
    // stands. ERROR_SUCCESS, or the error for which the certificate was refused.
    DWORD Establish(const std::wstring& file);
    // For the record that Uninstall removes by: the thumbprint of the certificate that Establish
    // added to TrustedPeople; empty when it was there already or Windows trusted the signer.
    const std::wstring& Thumbprint() const { return thumbprint_; }
    // Takes out again the certificate that Establish added; one that was there before stays.
    void Withdraw();

  private:
    UniqueCertStore store_;
    UniqueCertificate added_;
    std::wstring thumbprint_;
};
