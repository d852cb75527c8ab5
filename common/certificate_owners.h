#pragma once
// Owners (common/owners.h) for crypt32's certificate stores, certificates and chains. Apart from
// owners.h, which the readers' native build also compiles, against a Windows stand-in without
// crypt32.

#include <windows.h>

#include "common/owners.h"

// For the installer, which imports crypt32.
struct CertStoreTraits {
    using Value = HCERTSTORE;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value store) noexcept { CertCloseStore(store, 0); }
};

struct CertificateTraits {
    using Value = PCCERT_CONTEXT;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value certificate) noexcept { CertFreeCertificateContext(certificate); }
};

struct CertChainTraits {
    using Value = PCCERT_CHAIN_CONTEXT;
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value chain) noexcept { CertFreeCertificateChain(chain); }
};

// A certificate store opened through a crypt32 that was loaded at run time (the module does
// not import it): closed through the same loaded library, which must outlive the store.
constexpr const WCHAR* CRYPT32_LIBRARY = L"crypt32.dll";
constexpr const char* CLOSE_STORE_FUNCTION = "CertCloseStore";

struct LoadedCertStoreTraits {
    using Value = HCERTSTORE;
    using CloseFunction = BOOL(WINAPI*)(HCERTSTORE, DWORD);
    static Value Empty() noexcept { return nullptr; }
    static void Close(Value store) noexcept {
        const auto close = reinterpret_cast<CloseFunction>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(CRYPT32_LIBRARY), CLOSE_STORE_FUNCTION)));
        if (close != nullptr) {
            close(store, 0);
        }
    }
};

using UniqueCertStore = Owner<CertStoreTraits>;
using UniqueCertificate = Owner<CertificateTraits>;
using UniqueCertChain = Owner<CertChainTraits>;
using LoadedCertStore = Owner<LoadedCertStoreTraits>;
