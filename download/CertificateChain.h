#pragma once
#include <windows.h>
#include <wincrypt.h>

// Whether a certificate chains up to a root the system trusts, every certificate on the way
// valid now and for the given use (an extended key usage such as szOID_PKIX_KP_SERVER_AUTH),
// and none revoked. A revocation status that cannot be had (no server named, none reachable)
// does not count against it. The chain is looked for in the system's stores and in extra
// (certificates that came with the one checked: a server's or a signature's). The chain's
// own status decides, not only a policy's answer: some trust providers (Wine's) let chains
// that end below an untrusted root pass.
bool CertificateChainTrusted(PCCERT_CONTEXT cert, const char* usage, HCERTSTORE extra,
                             PCCERT_CHAIN_CONTEXT* chainOut = nullptr);
