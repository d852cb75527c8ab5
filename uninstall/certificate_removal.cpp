#include "uninstall/certificate_removal.h"

#include <windows.h>

#include "common/certificate_owners.h"
#include "common/thumbprint.h"

namespace {

// crypt32 is loaded for this step alone: the module that Explorer loads for its menu imports
// nothing that the menu does not need.
constexpr const char* OPEN_STORE = "CertOpenStore";
constexpr const char* FIND_CERTIFICATE = "CertFindCertificateInStore";
constexpr const char* DELETE_CERTIFICATE = "CertDeleteCertificateFromStore";
constexpr const char* CONTROL_STORE = "CertControlStore";

using OpenStoreFunction = HCERTSTORE(WINAPI*)(LPCSTR, DWORD, HCRYPTPROV_LEGACY, DWORD, const void*);
using FindCertificateFunction = PCCERT_CONTEXT(WINAPI*)(HCERTSTORE, DWORD, DWORD, DWORD,
                                                        const void*, PCCERT_CONTEXT);
using DeleteCertificateFunction = BOOL(WINAPI*)(PCCERT_CONTEXT);
using ControlStoreFunction = BOOL(WINAPI*)(HCERTSTORE, DWORD, DWORD, const void*);

template <typename Function>
Function Resolve(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

bool RemoveTrustedCertificate(const std::wstring& thumbprint) {
    BYTE hash[THUMBPRINT_BYTES] = {};
    if (!ThumbprintBytes(thumbprint, hash)) {
        return false;
    }
    // Uninstall runs elevated: crypt32 from the system directory only, never from another folder.
    UniqueModule crypt32(LoadLibraryExW(CRYPT32_LIBRARY, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!crypt32) {
        return false;
    }
    const auto openStore = Resolve<OpenStoreFunction>(crypt32.Get(), OPEN_STORE);
    const auto findCertificate = Resolve<FindCertificateFunction>(crypt32.Get(), FIND_CERTIFICATE);
    const auto deleteCertificate =
        Resolve<DeleteCertificateFunction>(crypt32.Get(), DELETE_CERTIFICATE);
    const auto commitStore = Resolve<ControlStoreFunction>(crypt32.Get(), CONTROL_STORE);
    if (openStore == nullptr || findCertificate == nullptr || deleteCertificate == nullptr ||
        commitStore == nullptr) {
        return false;
    }
    LoadedCertStore store(openStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE,
                                    TRUSTED_PEOPLE_STORE));
    if (!store) {
        return false;
    }
    CRYPT_HASH_BLOB blob = {THUMBPRINT_BYTES, hash};
    const PCCERT_CONTEXT found =
        findCertificate(store.Get(), X509_ASN_ENCODING, 0, CERT_FIND_SHA1_HASH, &blob, nullptr);
    if (found == nullptr) {
        return GetLastError() == static_cast<DWORD>(CRYPT_E_NOT_FOUND);
    }
    // The deletion frees the found context, whether it succeeds or not.
    if (!deleteCertificate(found)) {
        return false;
    }
    // Windows writes the deletion through at once and ignores this; Wine keeps it in its cache
    // until the store is committed.
    commitStore(store.Get(), 0, CERT_STORE_CTRL_COMMIT, nullptr);
    return true;
}
