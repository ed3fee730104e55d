// root-store: adds a certificate to, or removes it from, the machine's trusted root
// authorities (the tests' own test authority, in the test prefix only).
//   root-store add|remove CERT.der
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: root-store add|remove CERT.der\n");
        return 2;
    }
    std::FILE* file = _wfopen(argv[2], L"rb");
    if (!file) return 3;
    std::vector<BYTE> der;
    for (int c; (c = std::fgetc(file)) != EOF;) der.push_back(static_cast<BYTE>(c));
    std::fclose(file);
    // The registry store itself: Wine's system store "ROOT" adds the host's authorities to
    // it, and deleting from that collection does not reach the registry.
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W, 0, 0,
                                     CERT_SYSTEM_STORE_LOCAL_MACHINE, L"ROOT");
    if (!store) return 4;
    PCCERT_CONTEXT cert = CertCreateCertificateContext(X509_ASN_ENCODING, der.data(),
                                                       static_cast<DWORD>(der.size()));
    if (!cert) return 5;
    bool ok = false;
    if (wcscmp(argv[1], L"add") == 0) {
        ok = CertAddCertificateContextToStore(store, cert, CERT_STORE_ADD_REPLACE_EXISTING,
                                              nullptr) != FALSE;
    } else {
        PCCERT_CONTEXT found =
            CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, cert, nullptr);
        ok = !found || CertDeleteCertificateFromStore(found) != FALSE;  // frees found
    }
    CertFreeCertificateContext(cert);
    CertCloseStore(store, 0);
    return ok ? 0 : 1;
}
