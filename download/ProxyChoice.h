#pragma once
#include <functional>
#include <string>

// Which proxy a libcurl request takes, decided the way WinHTTP decides it from the user's
// settings (Internet Settings of the current user). Texts are UTF-8.

// The user's settings as WinHttpGetIEProxyConfigForCurrentUser reports them.
struct UserProxySettings {
    bool autoDetect = false;    // "Automatically detect settings"
    std::string autoConfigUrl;  // the automatic configuration script's address
    std::string proxy;          // "host:port" or "http=host:port;https=host:port", ...
    std::string bypass;         // "<local>;*.corp.example;10.1.2.3", ...
};

// What an automatic configuration answered for one address.
struct AutoProxyAnswer {
    bool direct = true;
    std::string proxy;   // a proxy list as above
    std::string bypass;  // a bypass list as above
};

// Asks the automatic configuration (script or detection) about url; false when it cannot
// answer (no script found, the script failed).
using AutoProxyResolver = std::function<bool(const std::string& url, AutoProxyAnswer& answer)>;

// What libcurl is told: CURLOPT_PROXY ("" connects directly, and keeps libcurl away from the
// http_proxy-style environment variables) and CURLOPT_NOPROXY.
struct CurlProxy {
    std::string proxy;
    std::string noProxy;
};

// The parts of an address the choice looks at; false for an address without "scheme://" or
// with a port that is not one (empty, signed, out of range).
struct UrlParts {
    std::string scheme;  // lower case
    std::string host;    // lower case, without brackets
    int port = 0;        // the given port, or the scheme's default
};
bool SplitUrl(const std::string& url, UrlParts& parts);

// The server a proxy list names for a scheme: the scheme's own entry ("https=..."), else an
// entry without a scheme, else a "socks=" entry (as "socks4://server"); empty when none.
std::string ProxyForScheme(const std::string& list, const std::string& scheme);

// Whether the address is in a bypass list: entries are separated by ";", "," or white space;
// "<local>" stands for every host name without a dot; an entry may carry a scheme
// ("http://") and a port (":8080"), which must then match too, and "*" (any run of
// characters) and "?" (one character); a leading "." stands for "*.". Letters compare
// without case.
bool BypassesProxy(const std::string& bypass, const UrlParts& url);

// The entries of a bypass list libcurl can follow itself on a redirection (host names and
// addresses, "*.domain" as ".domain"), comma-separated; entries libcurl would apply more
// widely than the list means, to the address at hand (a parent domain of its host), are left
// out, since the list does not bypass it.
std::string CurlNoProxyList(const std::string& bypass, const UrlParts& url);

// The choice for one request: an automatic configuration (detection or script) first, per
// address; when it cannot answer, the manual proxy with its bypass list; no proxy at all means
// a direct connection. Local files never take a proxy.
CurlProxy ChooseCurlProxy(const UserProxySettings& settings, const std::string& url,
                          const AutoProxyResolver& resolveAuto);
