#include "download/UserProxy.h"

#include <curl/curl.h>  // before windows.h: it brings winsock2.h

#include <windows.h>
#include <winhttp.h>

#include <map>
#include <memory>
#include <mutex>

#include "sys/TextConversion.h"

namespace {

std::string Utf8(const wchar_t* text) {
    return text ? Utils::ToNarrow(std::wstring(text), CP_UTF8) : std::string();
}

// Frees the texts WinHTTP hands out.
void FreeText(LPWSTR text) {
    if (text) GlobalFree(text);
}

struct SessionClose {
    void operator()(void* session) const { WinHttpCloseHandle(session); }
};

// The session the automatic configuration is asked through; opened on first use.
HINTERNET AutoProxySession() {
    static std::unique_ptr<void, SessionClose> session(
        WinHttpOpen(L"Tallowmere", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                    WINHTTP_NO_PROXY_BYPASS, 0));
    return session.get();
}

struct CachedAnswer {
    bool answered;
    AutoProxyAnswer answer;
};

}  // namespace

UserProxySettings QueryUserProxySettings() {
    UserProxySettings settings;
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config = {};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&config)) return settings;
    settings.autoDetect = config.fAutoDetect != FALSE;
    settings.autoConfigUrl = Utf8(config.lpszAutoConfigUrl);
    settings.proxy = Utf8(config.lpszProxy);
    settings.bypass = Utf8(config.lpszProxyBypass);
    FreeText(config.lpszAutoConfigUrl);
    FreeText(config.lpszProxy);
    FreeText(config.lpszProxyBypass);
    return settings;
}

bool ResolveAutoProxy(const UserProxySettings& settings, const std::string& url,
                      AutoProxyAnswer& answer) {
    static std::mutex lock;
    static std::map<std::string, CachedAnswer> cache;  // by script, detection and address
    const std::string key = settings.autoConfigUrl + (settings.autoDetect ? "\n1\n" : "\n0\n") + url;
    std::lock_guard<std::mutex> guard(lock);  // one question at a time, each once
    const auto found = cache.find(key);
    if (found != cache.end()) {
        answer = found->second.answer;
        return found->second.answered;
    }
    WINHTTP_AUTOPROXY_OPTIONS options = {};
    const std::wstring script = Utils::ToWide(settings.autoConfigUrl, CP_UTF8);
    if (!script.empty()) {
        options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
        options.lpszAutoConfigUrl = script.c_str();
    }
    if (settings.autoDetect) {
        options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
        options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
    }
    options.fAutoLogonIfChallenged = TRUE;
    const std::wstring wideUrl = Utils::ToWide(url, CP_UTF8);
    WINHTTP_PROXY_INFO info = {};
    const HINTERNET session = AutoProxySession();
    bool answered = false;
    if (session && options.dwFlags &&
        WinHttpGetProxyForUrl(session, wideUrl.c_str(), &options, &info)) {
        answered = true;
        answer.direct = info.dwAccessType == WINHTTP_ACCESS_TYPE_NO_PROXY || !info.lpszProxy;
        answer.proxy = Utf8(info.lpszProxy);
        answer.bypass = Utf8(info.lpszProxyBypass);
        FreeText(info.lpszProxy);
        FreeText(info.lpszProxyBypass);
    }
    cache[key] = CachedAnswer{answered, answer};
    return answered;
}

int SetUserProxy(CURL* handle, const std::string& url) {
    const UserProxySettings settings = QueryUserProxySettings();
    const CurlProxy choice =
        ChooseCurlProxy(settings, url, [&settings](const std::string& address, AutoProxyAnswer& answer) {
            return ResolveAutoProxy(settings, address, answer);
        });
    int result = 0;
    // Both as texts, "" included: a null one would let libcurl read http_proxy / no_proxy.
    result |= curl_easy_setopt(handle, CURLOPT_PROXY, choice.proxy.c_str());
    result |= curl_easy_setopt(handle, CURLOPT_NOPROXY, choice.noProxy.c_str());
    return result;
}
