#include "download/PublisherMatch.h"

std::string NormalizeThumbprint(const std::wstring& text) {
    std::string hex;
    for (wchar_t c : text) {
        if (c == L' ' || c == L':') continue;
        if (c >= L'0' && c <= L'9') hex += static_cast<char>(c);
        else if (c >= L'a' && c <= L'f') hex += static_cast<char>(c);
        else if (c >= L'A' && c <= L'F') hex += static_cast<char>(c - L'A' + L'a');
        else return std::string();
    }
    return hex.size() == 40 || hex.size() == 64 ? hex : std::string();
}

bool PublisherMatches(const std::wstring& expected, const SignerIdentity& signer) {
    if (expected.empty()) return false;
    const std::string thumbprint = NormalizeThumbprint(expected);
    if (thumbprint.size() == 40) return thumbprint == signer.sha1;
    if (thumbprint.size() == 64) return thumbprint == signer.sha256;
    return expected == signer.subject;
}
