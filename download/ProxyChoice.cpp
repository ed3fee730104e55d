#include "download/ProxyChoice.h"

#include <cctype>
#include <cstdlib>
#include <vector>

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsSeparator(char c, bool comma) {
    return c == ';' || (comma && c == ',') || std::isspace(static_cast<unsigned char>(c));
}

std::vector<std::string> Entries(const std::string& list, bool comma) {
    std::vector<std::string> entries;
    std::string current;
    for (char c : list) {
        if (IsSeparator(c, comma)) {
            if (!current.empty()) entries.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) entries.push_back(current);
    return entries;
}

int DefaultPort(const std::string& scheme) {
    if (scheme == "https") return 443;
    if (scheme == "ftp") return 21;
    return 80;
}

// The port written from text[from] to the end: 1 to 65535; -1 when it is anything else
// (empty, a sign, other characters, out of range).
int ParsePort(const std::string& text, size_t from) {
    if (from >= text.size() || text.size() - from > 5) return -1;
    int port = 0;
    for (size_t i = from; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        port = port * 10 + (text[i] - '0');
    }
    return port >= 1 && port <= 65535 ? port : -1;
}

// '*' any run, '?' one character; both texts already in lower case.
bool GlobMatch(const char* pattern, const char* text) {
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*text) {
        if (*pattern == '*') {
            star = pattern++;
            resume = text;
        } else if (*pattern == '?' || *pattern == *text) {
            ++pattern;
            ++text;
        } else if (star) {
            pattern = star + 1;
            text = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

// An entry split into its optional scheme and port and its host pattern.
struct BypassEntry {
    std::string scheme;
    std::string host;
    int port = 0;  // 0: any
};

BypassEntry ParseEntry(const std::string& text) {
    BypassEntry entry;
    std::string rest = Lower(text);
    const size_t scheme = rest.find("://");
    if (scheme != std::string::npos) {
        entry.scheme = rest.substr(0, scheme);
        rest = rest.substr(scheme + 3);
    }
    const size_t colon = rest.rfind(':');
    if (colon != std::string::npos && rest.find(']') == std::string::npos &&
        rest.find(':') == colon) {
        entry.port = ParsePort(rest, colon + 1);  // -1 matches no address
        rest = rest.substr(0, colon);
    }
    if (rest.size() > 1 && rest[0] == '[' && rest.back() == ']') rest = rest.substr(1, rest.size() - 2);
    if (!rest.empty() && rest[0] == '.') rest = "*" + rest;
    entry.host = rest;
    return entry;
}

bool HasWildcard(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

// Whether libcurl's no-proxy rule for name (the host and its subdomains) covers host.
bool CurlNameCovers(const std::string& name, const std::string& host) {
    if (host == name) return true;
    return host.size() > name.size() && host.compare(host.size() - name.size(), name.size(), name) == 0 &&
           host[host.size() - name.size() - 1] == '.';
}

}  // namespace

bool SplitUrl(const std::string& url, UrlParts& parts) {
    const size_t scheme = url.find("://");
    if (scheme == std::string::npos || scheme == 0) return false;
    parts.scheme = Lower(url.substr(0, scheme));
    size_t start = scheme + 3;
    size_t end = url.find_first_of("/?#", start);
    std::string authority = url.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const size_t at = authority.rfind('@');
    if (at != std::string::npos) authority = authority.substr(at + 1);
    parts.port = DefaultPort(parts.scheme);
    if (!authority.empty() && authority[0] == '[') {
        const size_t close = authority.find(']');
        if (close == std::string::npos) return false;
        parts.host = Lower(authority.substr(1, close - 1));
        if (close + 1 < authority.size()) {
            if (authority[close + 1] != ':') return false;
            parts.port = ParsePort(authority, close + 2);
        }
        return parts.port > 0;
    }
    const size_t colon = authority.find(':');
    if (colon != std::string::npos) {
        parts.port = ParsePort(authority, colon + 1);
        authority = authority.substr(0, colon);
    }
    parts.host = Lower(authority);
    return parts.port > 0;  // a port that is not one makes no address
}

std::string ProxyForScheme(const std::string& list, const std::string& scheme) {
    std::string plain, own, socks;
    for (const std::string& entry : Entries(list, false)) {
        const size_t equals = entry.find('=');
        if (equals == std::string::npos) {
            if (plain.empty()) plain = entry;
            continue;
        }
        const std::string name = Lower(entry.substr(0, equals));
        const std::string server = entry.substr(equals + 1);
        if (server.empty()) continue;
        if (name == scheme && own.empty()) own = server;
        else if (name == "socks" && socks.empty()) socks = server;
    }
    if (!own.empty()) return own;
    if (!plain.empty()) return plain;
    if (!socks.empty()) return socks.find("://") == std::string::npos ? "socks4://" + socks : socks;
    return std::string();
}

bool BypassesProxy(const std::string& bypass, const UrlParts& url) {
    for (const std::string& text : Entries(bypass, true)) {
        if (Lower(text) == "<local>") {
            if (url.host.find('.') == std::string::npos && url.host.find(':') == std::string::npos)
                return true;
            continue;
        }
        const BypassEntry entry = ParseEntry(text);
        if (!entry.scheme.empty() && entry.scheme != url.scheme) continue;
        if (entry.port != 0 && entry.port != url.port) continue;
        if (!entry.host.empty() && GlobMatch(entry.host.c_str(), url.host.c_str())) return true;
    }
    return false;
}

std::string CurlNoProxyList(const std::string& bypass, const UrlParts& url) {
    std::string list;
    for (const std::string& text : Entries(bypass, true)) {
        if (text[0] == '<') continue;  // <local> and the like: only this process knows them
        const BypassEntry entry = ParseEntry(text);
        if (!entry.scheme.empty() || entry.port != 0) continue;
        std::string name;
        if (!HasWildcard(entry.host)) {
            name = entry.host;
        } else if (entry.host.size() > 2 && entry.host.compare(0, 2, "*.") == 0 &&
                   !HasWildcard(entry.host.substr(2))) {
            name = entry.host.substr(1);  // ".domain"
        } else {
            continue;
        }
        const std::string bare = name[0] == '.' ? name.substr(1) : name;
        // Leave out what libcurl would read as covering this address when the list does not.
        if (CurlNameCovers(bare, url.host)) continue;
        if (!list.empty()) list += ',';
        list += name;
    }
    return list;
}

CurlProxy ChooseCurlProxy(const UserProxySettings& settings, const std::string& url,
                          const AutoProxyResolver& resolveAuto) {
    const CurlProxy direct;
    UrlParts parts;
    if (!SplitUrl(url, parts) || parts.scheme == "file") return direct;
    std::string proxyList = settings.proxy;
    std::string bypass = settings.bypass;
    if ((settings.autoDetect || !settings.autoConfigUrl.empty()) && resolveAuto) {
        AutoProxyAnswer answer;
        if (resolveAuto(url, answer)) {
            if (answer.direct) return direct;
            proxyList = answer.proxy;
            bypass = answer.bypass;
        }
    }
    const std::string server = ProxyForScheme(proxyList, parts.scheme);
    if (server.empty() || BypassesProxy(bypass, parts)) return direct;
    return CurlProxy{server, CurlNoProxyList(bypass, parts)};
}
