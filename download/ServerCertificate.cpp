#include "download/ServerCertificate.h"

// clang-format off
#define SECURITY_WIN32
#include <windows.h>
#include <wincrypt.h>
#include <security.h>
#include <schannel.h>
// clang-format on

#include <string>

#include "download/CertificateChain.h"
#include "sys/DebugLog.h"
#include "sys/TextConversion.h"

namespace {

// Set by the check on the thread that runs the transfer (an easy handle's callbacks run on
// the thread of curl_easy_perform).
thread_local bool t_refused = false;

struct CurlUrlOwner {
    explicit CurlUrlOwner(CURLU* url) : url(url) {}
    ~CurlUrlOwner() { curl_url_cleanup(url); }
    CURLU* url;
};

// The scheme and host of the request the handle is about to send.
bool RequestHost(CURL* handle, std::string& scheme, std::string& host) {
    char* effective = nullptr;
    if (curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &effective) != CURLE_OK || !effective)
        return false;
    CurlUrlOwner url(curl_url());
    if (!url.url || curl_url_set(url.url, CURLUPART_URL, effective, 0) != CURLUE_OK) return false;
    char* part = nullptr;
    if (curl_url_get(url.url, CURLUPART_SCHEME, &part, 0) != CURLUE_OK) return false;
    scheme = part;
    curl_free(part);
    if (scheme != "https") return true;  // file:// has no host
    if (curl_url_get(url.url, CURLUPART_HOST, &part, 0) != CURLUE_OK) return false;
    host = part;
    curl_free(part);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    return true;
}

bool ChainTrusted(PCCERT_CONTEXT cert, const std::wstring& host) {
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    if (!CertificateChainTrusted(cert, szOID_PKIX_KP_SERVER_AUTH, cert->hCertStore, &chain)) {
        DEBUG_LOG(L"certificate of %s refused: its chain is not trusted\r\n", host.c_str());
        return false;
    }
    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl = {};
    ssl.cbSize = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.pwszServerName = const_cast<wchar_t*>(host.c_str());
    CERT_CHAIN_POLICY_PARA policy = {};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS status = {};
    status.cbSize = sizeof status;
    // The name (and what else the system's server policy asks for).
    const bool trusted =
        CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status) &&
        status.dwError == 0;
    if (!trusted)
        DEBUG_LOG(L"certificate of %s refused: 0x%08lx\r\n", host.c_str(),
                  static_cast<unsigned long>(status.dwError));
    CertFreeCertificateChain(chain);
    return trusted;
}

bool PeerTrusted(CURL* handle) {
    std::string scheme, host;
    if (!RequestHost(handle, scheme, host)) return false;
    if (scheme != "https") return true;  // nothing to check (and nothing secret)
    curl_tlssessioninfo* session = nullptr;
    if (curl_easy_getinfo(handle, CURLINFO_TLS_SSL_PTR, &session) != CURLE_OK || !session ||
        session->backend != CURLSSLBACKEND_SCHANNEL || !session->internals)
        return false;
    PCCERT_CONTEXT cert = nullptr;
    if (QueryContextAttributesW(static_cast<CtxtHandle*>(session->internals),
                                SECPKG_ATTR_REMOTE_CERT_CONTEXT, &cert) != SEC_E_OK ||
        !cert)
        return false;
    const bool trusted = ChainTrusted(cert, Utils::ToWide(host, CP_UTF8));
    CertFreeCertificateContext(cert);
    return trusted;
}

int CheckBeforeRequest(void* handle, char*, char*, int, int) {
    if (PeerTrusted(static_cast<CURL*>(handle))) return CURL_PREREQFUNC_OK;
    t_refused = true;
    return CURL_PREREQFUNC_ABORT;
}

}  // namespace

int SetServerCertificateCheck(CURL* handle) {
    int result = 0;
    result |= curl_easy_setopt(handle, CURLOPT_PREREQFUNCTION, &CheckBeforeRequest);
    result |= curl_easy_setopt(handle, CURLOPT_PREREQDATA, handle);
    return result;
}

int PerformRequest(CURL* handle) {
    t_refused = false;
    const int result = curl_easy_perform(handle);
    const bool refused = t_refused;
    t_refused = false;
    return refused && result == CURLE_ABORTED_BY_CALLBACK ? CURLE_PEER_FAILED_VERIFICATION
                                                          : result;
}
