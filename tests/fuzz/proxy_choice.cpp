// The user's proxy settings (from the registry, or a configuration script's answer) against
// request addresses: input lines are the address, the proxy list, the bypass list and the
// automatic answer's list; the first byte picks automatic detection and its outcome.
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "download/ProxyChoice.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

std::vector<std::string> Lines(const std::string& text, std::size_t count) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (lines.size() + 1 < count) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    lines.push_back(start <= text.size() ? text.substr(start) : std::string());
    lines.resize(count);
    return lines;
}

std::string SwapCase(std::string text) {
    for (char& c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::islower(u)) c = static_cast<char>(std::toupper(u));
        else if (std::isupper(u)) c = static_cast<char>(std::tolower(u));
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const unsigned mode = data[0];
    const std::vector<std::string> line = Lines(FuzzInput::Bytes(data + 1, size - 1), 4);

    UrlParts url;
    if (SplitUrl(line[0], url)) {
        FUZZ_CHECK(url.port >= 1 && url.port <= 65535);
        for (char c : url.scheme + url.host)
            FUZZ_CHECK(!std::isupper(static_cast<unsigned char>(c)));
        // Letters in a bypass list compare without case.
        FUZZ_CHECK(BypassesProxy(line[2], url) == BypassesProxy(SwapCase(line[2]), url));
        // What libcurl is told to bypass never holds a separator of the list's own.
        for (char c : CurlNoProxyList(line[2], url))
            FUZZ_CHECK(c != ';' && c != ' ' && c != '\t' && c != '\r' && c != '\n');
    }
    const std::string scheme = url.scheme.empty() ? "http" : url.scheme;
    const std::string server = ProxyForScheme(line[1], scheme);
    for (char c : server) FUZZ_CHECK(c != ';');

    UserProxySettings settings;
    settings.autoDetect = (mode & 1) != 0;
    settings.autoConfigUrl = (mode & 2) ? "http://wpad/wpad.dat" : "";
    settings.proxy = line[1];
    settings.bypass = line[2];
    int asked = 0;
    const CurlProxy chosen =
        ChooseCurlProxy(settings, line[0], [&](const std::string&, AutoProxyAnswer& answer) {
            ++asked;
            answer.direct = (mode & 4) != 0;
            answer.proxy = line[3];
            answer.bypass = line[2];
            return (mode & 8) != 0;
        });
    FUZZ_CHECK(asked <= 1);
    for (char c : chosen.proxy) FUZZ_CHECK(c != ';');
    // Without any setting, every request connects directly.
    const CurlProxy none = ChooseCurlProxy(UserProxySettings(), line[0],
                                           [](const std::string&, AutoProxyAnswer&) { return false; });
    FUZZ_CHECK(none.proxy.empty());
    return 0;
}
