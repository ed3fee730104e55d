#include "download/PackageSignature.h"

// clang-format off
#include <windows.h>
#include <wincrypt.h>
#include <wintrust.h>
#include <softpub.h>
// clang-format on

#include <vector>

#include "download/CertificateChain.h"
#include "download/PublisherMatch.h"
#include "download/Sha256.h"
#include "sys/DebugLog.h"

namespace {

std::string HexOf(const BYTE* bytes, DWORD length) {
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (DWORD i = 0; i < length; ++i) {
        hex += kHex[bytes[i] >> 4];
        hex += kHex[bytes[i] & 15];
    }
    return hex;
}

SignerIdentity IdentityOf(PCCERT_CONTEXT cert) {
    SignerIdentity identity;
    BYTE sha1[20];
    DWORD size = sizeof sha1;
    if (CertGetCertificateContextProperty(cert, CERT_SHA1_HASH_PROP_ID, sha1, &size))
        identity.sha1 = HexOf(sha1, size);
    Sha256 sha256;
    sha256.Update(cert->pbCertEncoded, cert->cbCertEncoded);
    identity.sha256 = sha256.HexDigest();
    wchar_t name[512] = {};
    if (CertGetNameStringW(cert, CERT_NAME_ATTR_TYPE, 0, const_cast<char*>(szOID_COMMON_NAME),
                           name, 512) > 1)
        identity.subject = name;
    return identity;
}

// One verification with the given revocation checking; the signer's identity when the
// signature holds and the signer's chain is trusted for code signing (checked again here: not
// every trust provider refuses a chain ending at an untrusted root).
LONG Verify(HANDLE file, const std::wstring& path, DWORD revocation, SignerIdentity& signer) {
    WINTRUST_FILE_INFO fileInfo = {};
    fileInfo.cbStruct = sizeof fileInfo;
    fileInfo.pcwszFilePath = path.c_str();
    fileInfo.hFile = file;
    WINTRUST_DATA data = {};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = revocation;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &fileInfo;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = revocation == WTD_REVOKE_WHOLECHAIN ? WTD_REVOCATION_CHECK_CHAIN : 0;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    LONG status = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    if (status == ERROR_SUCCESS) {
        CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(data.hWVTStateData);
        CRYPT_PROVIDER_SGNR* first =
            provider ? WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
        PCCERT_CONTEXT cert =
            first && first->csCertChain > 0 ? first->pasCertChain[0].pCert : nullptr;
        if (cert && CertificateChainTrusted(cert, szOID_PKIX_KP_CODE_SIGNING, cert->hCertStore))
            signer = IdentityOf(cert);
        else
            status = CERT_E_UNTRUSTEDROOT;
    }
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return status;
}

}  // namespace

SignatureVerdict VerifySignature(void* file, const std::wstring& path,
                                 const std::wstring& publisher) {
    SignerIdentity signer;
    LONG status = Verify(file, path, WTD_REVOKE_WHOLECHAIN, signer);
    if (status == CERT_E_REVOCATION_FAILURE || status == CRYPT_E_REVOCATION_OFFLINE ||
        status == CRYPT_E_NO_REVOCATION_CHECK) {
        // The revocation status cannot be had (no server named, or none reachable); the
        // signature itself must still hold.
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        status = Verify(file, path, WTD_REVOKE_NONE, signer);
    }
    if (status != ERROR_SUCCESS) {
        DEBUG_LOG(L"signature of %s refused: 0x%08lx\r\n", path.c_str(),
                  static_cast<unsigned long>(status));
        return SignatureVerdict::NotTrusted;
    }
    if (!PublisherMatches(publisher, signer)) {
        DEBUG_LOG(L"signature of %s is by another publisher: %s\r\n", path.c_str(),
                  signer.subject.c_str());
        return SignatureVerdict::OtherPublisher;
    }
    return SignatureVerdict::Accepted;
}
