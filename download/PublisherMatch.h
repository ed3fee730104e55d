#pragma once
#include <string>

// The publisher a package must be signed by, as a release build names it: the SHA-1 (40
// hexadecimal digits) or SHA-256 (64) thumbprint of the signing certificate, in any case and
// with or without spaces or colons between the bytes; any other text is the certificate's
// subject (its common name), compared exactly.
struct SignerIdentity {
    std::string sha1;     // lower-case hexadecimal thumbprints
    std::string sha256;
    std::wstring subject;
};

// The thumbprint as lower-case hexadecimal digits, or empty when the text is not one.
std::string NormalizeThumbprint(const std::wstring& text);

// Whether the signer is the expected publisher. An empty expectation matches nobody.
bool PublisherMatches(const std::wstring& expected, const SignerIdentity& signer);
