#pragma once
// The machine's certificate stores as the Windows 11 installation tests see them, and the
// throwaway test certificate they trust (tests/data/install).

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Where the installer must never put a certificate; it trusts in TRUSTED_PEOPLE_STORE
// (common/thumbprint.h).
constexpr const wchar_t* ROOT = L"Root";

// The certificate's SHA-1 thumbprint in upper-case hexadecimal, or "" when it is no certificate.
std::wstring Thumbprint(const std::vector<uint8_t>& certificate);
// Whether the local machine's store holds the certificate with this thumbprint.
bool MachineStoreHolds(const wchar_t* store, const std::wstring& thumbprint);
void AddToMachineStore(const wchar_t* store, const std::vector<uint8_t>& certificate);
// Nothing to remove is no error.
void RemoveFromMachineStore(const wchar_t* store, const std::wstring& thumbprint);
