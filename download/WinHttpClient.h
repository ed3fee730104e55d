#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// One HTTP exchange (GET or POST) through the system's WinHTTP, with timeouts, relaxed
// certificate checks for HTTPS, extra headers and cookies, a named proxy or the user's proxy
// configuration, and up to three attempts. The body goes to memory or is appended to a file.
class WinHttpClient {
public:
    static const std::uint32_t kNoAddress = 3;
    static const std::uint32_t kBadVerb = 87;
    static const std::uint32_t kCutShort = 13;

    explicit WinHttpClient(const std::wstring& url);
    ~WinHttpClient();
    WinHttpClient(const WinHttpClient&) = delete;
    WinHttpClient& operator=(const WinHttpClient&) = delete;

    bool SendHttpRequest(const std::wstring& verb);

    void SetAdditionalRequestHeaders(const std::wstring& headers) { m_additionalHeaders = headers; }
    void SetAdditionalRequestCookies(const std::wstring& cookies) { m_additionalCookies = cookies; }
    void SetAdditionalDataToSend(const std::string& data) { m_requestData = data; }
    void SetProxy(const std::wstring& proxy) { m_proxy = proxy; }
    void SetProxyUsername(const std::wstring& user) { m_proxyUser = user; }
    void SetProxyPassword(const std::wstring& password) { m_proxyPassword = password; }
    void SetUserAgent(const std::wstring& agent) { m_userAgent = agent; }
    void SetForceCharset(bool on) { m_forceCharset = on; }
    void SetTimeouts(int resolve, int connect, int send, int receive);
    void SetResponseFilePath(const std::wstring& path) { m_responseFile = path; }
    // Called after each block of the body with the bytes read so far.
    void SetBodyProgress(std::function<void(std::int64_t)> progress) { m_progress = std::move(progress); }
    // Stops a running exchange from another thread: the body read ends at the next block and
    // the request fails. Safe to call at any time, also before or after the exchange.
    void Abort();

    const std::wstring& GetResponseHeader() const { return m_responseHeader; }
    const std::wstring& GetResponseContent() const { return m_responseContent; }
    const std::wstring& GetResponseCharset() const { return m_responseCharset; }
    const std::string& GetRawResponseBody() const { return m_responseBody; }
    std::int64_t GetRawResponseReceivedSize() const { return m_bodyLength; }
    int GetResponseContentLength() const { return m_responseContentLength; }
    // The announced body length as the system reads it (64 bits); -1 when none was announced.
    std::int64_t GetContentLength64() const { return m_contentLength64; }
    // The last body read ended on an error (of the connection or of the response file), or was
    // aborted, rather than at the body's end.
    bool BodyIncomplete() const { return m_readFailed || m_writeFailed || m_aborted; }
    const std::wstring& GetResponseCookies() const { return m_responseCookies; }
    const std::wstring& GetStatusCode() const { return m_statusCode; }
    const std::wstring& GetLocation() const { return m_location; }
    // The address the request ended at, after the redirections WinHTTP followed.
    const std::wstring& GetFinalUrl() const { return m_finalUrl; }
    std::uint32_t GetLastError() const { return m_lastError; }
    const std::wstring& GetHostName() const { return m_hostName; }

    // An absolute address for a redirect target given relative to base.
    static std::wstring ResolveLocation(const std::wstring& base, const std::wstring& location);

    // The request was redirected to location (called by the status callback).
    void NoteRedirect(const std::wstring& location) {
        m_finalUrl = ResolveLocation(m_finalUrl, location);
    }

private:
    void ParseHeaders();
    void ConvertContent();
    bool ReadBody(void* request);

    void* m_session = nullptr;
    std::wstring m_url;
    std::wstring m_hostName;
    std::wstring m_responseHeader;
    std::wstring m_responseContent;
    std::wstring m_responseCharset;
    std::string m_responseBody;
    std::int64_t m_bodyLength = 0;
    int m_responseContentLength = 0;
    std::wstring m_responseCookies;
    std::wstring m_additionalCookies;
    std::string m_requestData;
    std::wstring m_additionalHeaders;
    std::wstring m_proxy;
    std::uint32_t m_lastError = 0;
    std::wstring m_statusCode;
    std::wstring m_userAgent = L"WinHttpClient";
    bool m_forceCharset = false;
    std::wstring m_proxyUser;
    std::wstring m_proxyPassword;
    std::wstring m_location;
    int m_resolveTimeout = 0, m_connectTimeout = 60000, m_sendTimeout = 30000,
        m_receiveTimeout = 30000;
    std::wstring m_responseFile;
    std::wstring m_finalUrl;
    std::function<void(std::int64_t)> m_progress;
    std::int64_t m_contentLength64 = -1;
    bool m_readFailed = false;
    bool m_writeFailed = false;
    std::atomic<bool> m_aborted{false};
    std::mutex m_requestLock;      // guards m_request against Abort
    void* m_request = nullptr;     // the open request handle while an exchange runs
};
