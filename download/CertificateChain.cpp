#include "download/CertificateChain.h"

namespace {

PCCERT_CHAIN_CONTEXT BuildChain(PCCERT_CONTEXT cert, const char* usage, HCERTSTORE extra,
                                DWORD flags) {
    LPSTR usages[] = {const_cast<LPSTR>(usage)};
    CERT_CHAIN_PARA para = {};
    para.cbSize = sizeof para;
    para.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
    para.RequestedUsage.Usage.cUsageIdentifier = 1;
    para.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    if (!CertGetCertificateChain(nullptr, cert, nullptr, extra, &para, flags, nullptr, &chain))
        return nullptr;
    return chain;
}

}  // namespace

bool CertificateChainTrusted(PCCERT_CONTEXT cert, const char* usage, HCERTSTORE extra,
                             PCCERT_CHAIN_CONTEXT* chainOut) {
    // Revocation on its own first: revoked is refused, unknown is left out of the verdict.
    PCCERT_CHAIN_CONTEXT revocation =
        BuildChain(cert, usage, extra, CERT_CHAIN_REVOCATION_CHECK_CHAIN_EXCLUDE_ROOT);
    if (!revocation) return false;
    const bool revoked = (revocation->TrustStatus.dwErrorStatus & CERT_TRUST_IS_REVOKED) != 0;
    CertFreeCertificateChain(revocation);
    if (revoked) return false;
    PCCERT_CHAIN_CONTEXT chain = BuildChain(cert, usage, extra, 0);
    if (!chain) return false;
    const bool trusted = chain->TrustStatus.dwErrorStatus == CERT_TRUST_NO_ERROR;
    if (trusted && chainOut)
        *chainOut = chain;
    else
        CertFreeCertificateChain(chain);
    return trusted;
}
