#pragma once
#include <string>

enum class SignatureVerdict {
    Accepted,        // a valid signature by the expected publisher
    NotTrusted,      // unsigned, modified after signing, or a chain the system does not trust
    OtherPublisher,  // validly signed, by someone else
};

// Verifies the Authenticode signature of an open file (its path names it in messages) with
// the system's trust provider, revocation checked along the whole chain where the status can
// be had (a revoked certificate is refused; an unreachable revocation server is not), and
// compares the signer with publisher.
SignatureVerdict VerifySignature(void* file, const std::wstring& path,
                                 const std::wstring& publisher);
