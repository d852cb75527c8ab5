#include "tests/support/certificate_store.h"

#include <gtest/gtest.h>

#include "common/certificate_owners.h"
#include "common/thumbprint.h"

namespace {

UniqueCertStore OpenMachineStore(const wchar_t* store) {
    UniqueCertStore opened(
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, store));
    EXPECT_TRUE(opened) << "cannot open a machine store";
    return opened;
}

UniqueCertificate Find(HCERTSTORE store, const std::wstring& thumbprint) {
    BYTE hash[THUMBPRINT_BYTES] = {};
    if (store == nullptr || !ThumbprintBytes(thumbprint, hash)) {
        return UniqueCertificate();
    }
    CRYPT_HASH_BLOB blob = {THUMBPRINT_BYTES, hash};
    return UniqueCertificate(CertFindCertificateInStore(store, X509_ASN_ENCODING, 0,
                                                        CERT_FIND_SHA1_HASH, &blob, nullptr));
}

}  // namespace

std::wstring Thumbprint(const std::vector<uint8_t>& certificate) {
    UniqueCertificate context(CertCreateCertificateContext(X509_ASN_ENCODING, certificate.data(),
                                                           static_cast<DWORD>(certificate.size())));
    BYTE hash[THUMBPRINT_BYTES] = {};
    DWORD size = sizeof(hash);
    if (!context ||
        !CertGetCertificateContextProperty(context.Get(), CERT_SHA1_HASH_PROP_ID, hash, &size)) {
        return L"";
    }
    return ThumbprintText(hash);
}

bool MachineStoreHolds(const wchar_t* store, const std::wstring& thumbprint) {
    const UniqueCertStore opened = OpenMachineStore(store);
    return static_cast<bool>(Find(opened.Get(), thumbprint));
}

void AddToMachineStore(const wchar_t* store, const std::vector<uint8_t>& certificate) {
    const UniqueCertStore opened = OpenMachineStore(store);
    EXPECT_TRUE(CertAddEncodedCertificateToStore(
        opened.Get(), X509_ASN_ENCODING, certificate.data(), static_cast<DWORD>(certificate.size()),
        CERT_STORE_ADD_REPLACE_EXISTING, nullptr));
}

void RemoveFromMachineStore(const wchar_t* store, const std::wstring& thumbprint) {
    const UniqueCertStore opened = OpenMachineStore(store);
    UniqueCertificate found = Find(opened.Get(), thumbprint);
    if (found) {
        EXPECT_TRUE(CertDeleteCertificateFromStore(found.Release()));
        // Wine keeps the deletion in its cache until the store is committed.
        CertControlStore(opened.Get(), 0, CERT_STORE_CTRL_COMMIT, nullptr);
    }
}
