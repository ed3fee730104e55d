#include "download/WinHttpClient.h"

#include <windows.h>
#include <winhttp.h>

#include <cstdio>
#include <cwchar>
#include <vector>

#include "download/Pattern.h"
#include "sys/TextConversion.h"
#include "sys/UniqueHandle.h"

namespace {

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
    return _wcsnicmp(text.c_str(), prefix, wcslen(prefix)) == 0;
}

std::wstring QueryHeader(HINTERNET request, DWORD info) {
    DWORD bytes = 0;
    WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &bytes,
                        WINHTTP_NO_HEADER_INDEX);
    if (bytes == 0) return std::wstring();
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1);
    if (!WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, buffer.data(), &bytes,
                             WINHTTP_NO_HEADER_INDEX))
        return std::wstring();
    return std::wstring(buffer.data(), bytes / sizeof(wchar_t));
}

void SetNamedProxy(HINTERNET request, const std::wstring& proxy, const std::wstring& bypass,
                   DWORD& lastError) {
    wchar_t name[260] = {};
    wchar_t bypassList[260] = {};
    wcsncpy(name, proxy.c_str(), 259);
    wcsncpy(bypassList, bypass.c_str(), 259);
    WINHTTP_PROXY_INFO info = {};
    info.dwAccessType = WINHTTP_ACCESS_TYPE_NAMED_PROXY;
    info.lpszProxy = name;
    info.lpszProxyBypass = bypass.empty() ? nullptr : bypassList;
    if (!WinHttpSetOption(request, WINHTTP_OPTION_PROXY, &info, sizeof info))
        lastError = ::GetLastError();
}

void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD) {
    if (status != WINHTTP_CALLBACK_STATUS_REDIRECT || !context || !info) return;
    reinterpret_cast<WinHttpClient*>(context)->NoteRedirect(static_cast<const wchar_t*>(info));
}

}  // namespace

WinHttpClient::WinHttpClient(const std::wstring& url) : m_url(url) {}


std::wstring WinHttpClient::ResolveLocation(const std::wstring& base, const std::wstring& location) {
    if (location.find(L"://") != std::wstring::npos) return location;
    const size_t scheme = base.find(L"://");
    if (scheme == std::wstring::npos) return location;
    const size_t pathStart = base.find(L'/', scheme + 3);
    const std::wstring origin = base.substr(0, pathStart);
    if (!location.empty() && location[0] == L'/') return origin + location;
    const size_t lastSlash = base.rfind(L'/');
    return (pathStart == std::wstring::npos ? origin + L"/" : base.substr(0, lastSlash + 1)) +
           location;
}

WinHttpClient::~WinHttpClient() {
    if (m_session) WinHttpCloseHandle(m_session);
}

void WinHttpClient::Abort() {
    m_aborted = true;
    std::lock_guard<std::mutex> guard(m_requestLock);
    // Closing the request ends a read that is waiting for the network.
    if (m_request) WinHttpCloseHandle(m_request);
    m_request = nullptr;
}

namespace {

// A response-file problem, straight to the debugger output (no trace prefix, no line end).
void ReportFileProblem(const wchar_t* format, std::uint32_t error) {
    wchar_t message[256];
    _snwprintf(message, 255, format, static_cast<int>(error));
    message[255] = L'\0';
    OutputDebugStringW(message);
}

// The announced body length, -1 when the response has none (or it is no number).
std::int64_t QueryContentLength(HINTERNET request) {
    const std::wstring text = QueryHeader(request, WINHTTP_QUERY_CONTENT_LENGTH);
    if (text.empty()) return -1;
    std::int64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') return -1;
        if (value > (INT64_MAX - (c - L'0')) / 10) return -1;
        value = value * 10 + (c - L'0');
    }
    return value;
}

}  // namespace

void WinHttpClient::SetTimeouts(int resolve, int connect, int send, int receive) {
    m_resolveTimeout = resolve;
    m_connectTimeout = connect;
    m_sendTimeout = send;
    m_receiveTimeout = receive;
}

bool WinHttpClient::SendHttpRequest(const std::wstring& requestVerb) {
    if (m_url.empty()) {
        m_lastError = kNoAddress;
        return false;
    }
    const wchar_t* verb = nullptr;
    if (_wcsicmp(requestVerb.c_str(), L"GET") == 0) verb = L"GET";
    else if (_wcsicmp(requestVerb.c_str(), L"POST") == 0) verb = L"POST";
    else {
        m_lastError = kBadVerb;
        return false;
    }
    DWORD lastError = m_lastError;
    if (!m_session) {
        m_session = WinHttpOpen(m_userAgent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
        if (!m_session) {
            m_lastError = ::GetLastError();
            return false;
        }
    }
    WinHttpSetTimeouts(m_session, m_resolveTimeout, m_connectTimeout, m_sendTimeout,
                       m_receiveTimeout);

    wchar_t host[260] = {};
    wchar_t path[1300] = {};
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = 260;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = 1300;
    parts.dwSchemeLength = 1;
    if (!WinHttpCrackUrl(m_url.c_str(), 0, 0, &parts)) {
        m_lastError = ::GetLastError();
        return false;
    }
    m_hostName = host;
    const bool https = parts.nScheme == INTERNET_SCHEME_HTTPS;

    HINTERNET connection = WinHttpConnect(m_session, host, parts.nPort, 0);
    if (!connection) {
        m_lastError = ::GetLastError();
        return false;
    }
    HINTERNET request = WinHttpOpenRequest(connection, verb, path, nullptr, WINHTTP_NO_REFERER,
                                           WINHTTP_DEFAULT_ACCEPT_TYPES,
                                           https ? WINHTTP_FLAG_SECURE : 0);
    if (!request) {
        m_lastError = ::GetLastError();
        WinHttpCloseHandle(connection);
        return false;
    }
    {
        std::lock_guard<std::mutex> guard(m_requestLock);
        if (m_aborted) {
            WinHttpCloseHandle(request);
            WinHttpCloseHandle(connection);
            m_lastError = ERROR_WINHTTP_OPERATION_CANCELLED;
            return false;
        }
        m_request = request;
    }
    m_finalUrl = m_url;
    DWORD_PTR context = reinterpret_cast<DWORD_PTR>(this);
    WinHttpSetOption(request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context);
    WinHttpSetStatusCallback(request, &OnStatus, WINHTTP_CALLBACK_FLAG_REDIRECT, 0);

    bool succeeded = false;
    bool outOfMemory = false;
    for (int attempt = 0; attempt < 3 && !outOfMemory && !m_aborted; ++attempt) {
        succeeded = false;
        if (!m_additionalHeaders.empty() &&
            !WinHttpAddRequestHeaders(request, m_additionalHeaders.c_str(), (DWORD)-1L,
                                      WINHTTP_ADDREQ_FLAG_COALESCE_WITH_SEMICOLON))
            lastError = ::GetLastError();
        if (!m_additionalCookies.empty()) {
            const std::wstring cookie = L"Cookie: " + m_additionalCookies;
            if (!WinHttpAddRequestHeaders(request, cookie.c_str(), (DWORD)-1L,
                                          WINHTTP_ADDREQ_FLAG_COALESCE_WITH_SEMICOLON))
                lastError = ::GetLastError();
        }
        if (!m_proxy.empty()) {
            SetNamedProxy(request, m_proxy, L"", lastError);
            if (!m_proxyUser.empty()) {
                if (!WinHttpSetOption(request, WINHTTP_OPTION_PROXY_USERNAME,
                                      (void*)m_proxyUser.c_str(), (DWORD)m_proxyUser.size()))
                    lastError = ::GetLastError();
                if (!m_proxyPassword.empty() &&
                    !WinHttpSetOption(request, WINHTTP_OPTION_PROXY_PASSWORD,
                                      (void*)m_proxyPassword.c_str(),
                                      (DWORD)m_proxyPassword.size()))
                    lastError = ::GetLastError();
            }
        }
        // The length of the data written after sending is announced, or it would not be sent.
        const DWORD total = static_cast<DWORD>(m_requestData.size());
        bool sent = WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                       WINHTTP_NO_REQUEST_DATA, 0, total, 0) != FALSE;
        if (!sent) {
            // The send's own error (a refused certificate, say) is what the caller learns,
            // unless the user's proxy gives another answer.
            lastError = ::GetLastError();
            WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config = {};
            if (!WinHttpGetIEProxyConfigForCurrentUser(&config)) {
                lastError = ::GetLastError();
                continue;
            }
            if (config.lpszAutoConfigUrl) {
                WINHTTP_AUTOPROXY_OPTIONS options = {};
                options.dwFlags = WINHTTP_AUTOPROXY_AUTO_DETECT | WINHTTP_AUTOPROXY_CONFIG_URL;
                options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP;
                options.lpszAutoConfigUrl = config.lpszAutoConfigUrl;
                options.fAutoLogonIfChallenged = TRUE;
                WINHTTP_PROXY_INFO answer = {};
                if (WinHttpGetProxyForUrl(m_session, m_url.c_str(), &options, &answer)) {
                    if (WinHttpSetOption(request, WINHTTP_OPTION_PROXY, &answer, sizeof answer)) {
                        sent = WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                                                  WINHTTP_NO_REQUEST_DATA, 0, total, 0) != FALSE;
                        if (!sent) lastError = ::GetLastError();
                    }
                    if (answer.lpszProxy) GlobalFree(answer.lpszProxy);
                    if (answer.lpszProxyBypass) GlobalFree(answer.lpszProxyBypass);
                } else {
                    lastError = ::GetLastError();
                }
            } else if (config.lpszProxy) {
                SetNamedProxy(request, config.lpszProxy,
                              config.lpszProxyBypass ? config.lpszProxyBypass : L"", lastError);
            }
            if (config.lpszAutoConfigUrl) GlobalFree(config.lpszAutoConfigUrl);
            if (config.lpszProxy) GlobalFree(config.lpszProxy);
            if (config.lpszProxyBypass) GlobalFree(config.lpszProxyBypass);
            if (!sent) continue;
        }
        if (!m_requestData.empty()) {
            DWORD written = 0;
            WinHttpWriteData(request, m_requestData.data(), (DWORD)m_requestData.size(), &written);
        }
        if (!WinHttpReceiveResponse(request, nullptr)) {
            lastError = ::GetLastError();
            continue;
        }
        m_responseHeader = QueryHeader(request, WINHTTP_QUERY_RAW_HEADERS_CRLF);
        ParseHeaders();
        m_statusCode = QueryHeader(request, WINHTTP_QUERY_STATUS_CODE);
        m_contentLength64 = QueryContentLength(request);
        {
            wchar_t url[4096] = {};
            DWORD bytes = sizeof url - sizeof(wchar_t);
            // Where the system cannot tell, the address followed by the redirect callback stays.
            if (WinHttpQueryOption(request, WINHTTP_OPTION_URL, url, &bytes)) m_finalUrl = url;
        }
        m_lastError = lastError;
        if (!ReadBody(request)) {
            outOfMemory = true;
            break;
        }
        lastError = m_lastError;
        ConvertContent();
        succeeded = true;
        if (wcscmp(verb, L"GET") == 0) {
            std::vector<std::wstring> open, close;
            ParseRegExp(L"{<html>}", m_responseContent, open);
            ParseRegExp(L"{</html>}", m_responseContent, close);
            if (!open.empty() && close.empty()) {
                lastError = kCutShort;
                succeeded = false;
                continue;
            }
        }
        break;
    }
    m_lastError = lastError;
    {
        std::lock_guard<std::mutex> guard(m_requestLock);
        if (m_request) WinHttpCloseHandle(m_request);
        m_request = nullptr;
    }
    WinHttpCloseHandle(connection);
    if (m_aborted) {
        m_lastError = ERROR_WINHTTP_OPERATION_CANCELLED;
        return false;
    }
    return succeeded && !outOfMemory;
}

bool WinHttpClient::ReadBody(void* request) {
    m_responseBody.assign(10240, '\0');
    size_t used = 0;
    m_bodyLength = 0;
    m_readFailed = false;
    m_writeFailed = false;
    // The response file stays open for the whole body; every write is checked.
    Utils::UniqueFile file;
    if (!m_responseFile.empty()) {
        file.reset(_wfopen(m_responseFile.c_str(), L"ab+"));
        if (!file) {
            ReportFileProblem(L"Failed to open response file. Error code: %d", m_lastError);
            m_writeFailed = true;
        } else {
            setvbuf(file.get(), nullptr, _IOFBF, 1024 * 1024);
        }
    }
    // Large reads: one call per megabyte rather than per network packet.
    std::vector<char> block(1024 * 1024);
    for (;;) {
        if (m_aborted) break;
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request, &available)) {
            m_lastError = ::GetLastError();
            m_readFailed = true;
            break;
        }
        if (available == 0) break;
        if (available > block.size()) block.resize(available);
        const DWORD want = m_responseFile.empty() ? available : static_cast<DWORD>(block.size());
        DWORD read = 0;
        if (!WinHttpReadData(request, block.data(), want, &read)) {
            m_lastError = ::GetLastError();
            m_readFailed = true;
            break;
        }
        if (read == 0) break;
        if (!m_responseFile.empty()) {
            if (file && !m_writeFailed) {
                if (fwrite(block.data(), 1, read, file.get()) != read) {
                    ReportFileProblem(L"Failed to write response data. Error code: %d",
                                      m_lastError);
                    m_writeFailed = true;
                }
            }
        } else {
            try {
                if (used + read > m_responseBody.size()) {
                    size_t capacity = m_responseBody.size();
                    while (used + read > capacity) capacity *= 2;
                    m_responseBody.resize(capacity, '\0');
                }
            } catch (const std::bad_alloc&) {
                return false;
            }
            memcpy(&m_responseBody[used], block.data(), read);
            used += read;
        }
        m_bodyLength += read;
        if (m_progress) m_progress(m_bodyLength);
    }
    if (file && !Utils::CloseChecked(file)) m_writeFailed = true;
    return true;
}

void WinHttpClient::ConvertContent() {
    const std::string text(m_responseBody.c_str());  // up to the first zero byte
    if (text.empty()) {
        m_responseContent.clear();
        return;
    }
    const unsigned int codePage = StartsWithNoCase(m_responseCharset, L"utf-8") ? CP_UTF8 : 0;
    std::wstring converted = Utils::ToWide(text, codePage);
    if (converted.empty() && codePage != 0) converted = Utils::ToWide(text, 0);
    if (!converted.empty()) m_responseContent = converted;
}

void WinHttpClient::ParseHeaders() {
    std::vector<std::wstring> found;
    if (!m_forceCharset && ParseRegExp(L"charset={[A-Za-z0-9\\-_]+}", m_responseHeader, found) &&
        !found.empty())
        m_responseCharset = found[0];
    if (ParseRegExp(L"Content-Length: {[0-9]+}", m_responseHeader, found) && !found.empty())
        m_responseContentLength = _wtoi(found[0].c_str());
    if (ParseRegExp(L"Location: {https?:.+?\n}", m_responseHeader, found) && !found.empty())
        m_location = found[0];
    if (ParseRegExp(L"Set-Cookie:\\b*{.+?}\\n", m_responseHeader, found) && !found.empty()) {
        std::wstring cookies = m_responseCookies;
        for (size_t i = 0; i < found.size(); ++i) {
            if (!cookies.empty()) cookies += L"; ";
            cookies += found[i];
        }
        const size_t first = cookies.find_first_not_of(L' ');
        const size_t last = cookies.find_last_not_of(L' ');
        cookies = first == std::wstring::npos ? L"" : cookies.substr(first, last - first + 1);
        if (cookies.empty() || cookies.back() != L';') cookies += L";";
        m_responseCookies = cookies;
    }
}
