#include "install/certificate_trust.h"

#include "common/thumbprint.h"

namespace {

// Whether the certificate chains to a root that the machine trusts.
bool SignerTrusted(PCCERT_CONTEXT certificate) {
    CERT_CHAIN_PARA parameters = {};
    parameters.cbSize = sizeof(parameters);
    UniqueCertChain chain;
    if (!CertGetCertificateChain(HCCE_LOCAL_MACHINE, certificate, nullptr, nullptr, &parameters, 0,
                                 nullptr, chain.Put())) {
        return false;
    }
    CERT_CHAIN_POLICY_PARA policy = {};
    policy.cbSize = sizeof(policy);
    CERT_CHAIN_POLICY_STATUS status = {};
    status.cbSize = sizeof(status);
    return CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_BASE, chain.Get(), &policy,
                                            &status) &&
           status.dwError == ERROR_SUCCESS;
}

// Windows writes a system store's changes through at once and ignores this; Wine keeps them in
// its cache until the store is committed (or closed with no certificate of it still held).
void Commit(HCERTSTORE store) {
    CertControlStore(store, 0, CERT_STORE_CTRL_COMMIT, nullptr);
}

}  // namespace

DWORD CertificateTrust::Establish(const std::wstring& file) {
    UniqueCertificate certificate;
    if (!CryptQueryObject(CERT_QUERY_OBJECT_FILE, file.c_str(), CERT_QUERY_CONTENT_FLAG_CERT,
                          CERT_QUERY_FORMAT_FLAG_ALL, 0, nullptr, nullptr, nullptr, nullptr,
                          nullptr, reinterpret_cast<const void**>(certificate.Put()))) {
        return GetLastError();
    }
    if (SignerTrusted(certificate.Get())) {
        return ERROR_SUCCESS;
    }
    BYTE hash[THUMBPRINT_BYTES] = {};
    DWORD size = sizeof(hash);
    if (!CertGetCertificateContextProperty(certificate.Get(), CERT_SHA1_HASH_PROP_ID, hash,
                                           &size)) {
        return GetLastError();
    }
    store_.Reset(CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE,
                               TRUSTED_PEOPLE_STORE));
    if (!store_) {
        return GetLastError();
    }
    CRYPT_HASH_BLOB blob = {THUMBPRINT_BYTES, hash};
    const UniqueCertificate present(CertFindCertificateInStore(
        store_.Get(), X509_ASN_ENCODING, 0, CERT_FIND_SHA1_HASH, &blob, nullptr));
    if (!present) {
        if (!CertAddCertificateContextToStore(store_.Get(), certificate.Get(), CERT_STORE_ADD_NEW,
                                              added_.Put())) {
            return GetLastError();
        }
        Commit(store_.Get());  // PowerShell, another process, must see it now
        // Only a certificate this installation added is recorded for removal: one that was
        // there before belongs to whoever put it there.
        thumbprint_ = ThumbprintText(hash);
    }
    return ERROR_SUCCESS;
}

void CertificateTrust::Withdraw() {
    if (added_) {
        // The deletion frees the context it is given.
        CertDeleteCertificateFromStore(added_.Release());
        Commit(store_.Get());
    }
    thumbprint_.clear();
}
