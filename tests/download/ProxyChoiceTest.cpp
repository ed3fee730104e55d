#include "download/ProxyChoice.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

UrlParts Parts(const std::string& url) {
    UrlParts parts;
    EXPECT_TRUE(SplitUrl(url, parts)) << url;
    return parts;
}

TEST(ProxyChoiceTest, SplitsAddresses) {
    struct Case { const char* url; const char* scheme; const char* host; int port; };
    const Case cases[] = {
        {"http://127.0.0.1:8080/software/681", "http", "127.0.0.1", 8080},
        {"HTTPS://Dl.Example.COM/a?b=c", "https", "dl.example.com", 443},
        {"http://user:pw@host/x", "http", "host", 80},
        {"http://[::1]:81/x", "http", "::1", 81},
        {"http://[fe80::1]/", "http", "fe80::1", 80},
        {"http://host?q=a:b", "http", "host", 80},
        {"ftp://files.example", "ftp", "files.example", 21},
    };
    for (const Case& c : cases) {
        const UrlParts parts = Parts(c.url);
        EXPECT_EQ(parts.scheme, c.scheme) << c.url;
        EXPECT_EQ(parts.host, c.host) << c.url;
        EXPECT_EQ(parts.port, c.port) << c.url;
    }
    UrlParts parts;
    EXPECT_FALSE(SplitUrl("C:\\folder\\file.exe", parts));
    EXPECT_FALSE(SplitUrl("://host", parts));
    // A port that is not one makes no address (it was read as -1, 0 or a wrapped number).
    for (const char* bad : {"http://h:-1/", "http://h:0/", "http://h:65536/", "http://h:/x",
                            "http://h:8o/", "http://h:99999999999/", "http://[::1]:-5/",
                            "http://[::1]x/"})
        EXPECT_FALSE(SplitUrl(bad, parts)) << bad;
    EXPECT_TRUE(SplitUrl("http://h:65535/", parts));
    EXPECT_EQ(parts.port, 65535);
    // and a bypass entry with such a port bypasses nothing
    EXPECT_FALSE(BypassesProxy("h:-1;h:99999;h:", Parts("http://h:80/")));
    EXPECT_TRUE(BypassesProxy("h:80", Parts("http://h/")));
}

TEST(ProxyChoiceTest, PicksTheSchemesServer) {
    struct Case { const char* list; const char* scheme; const char* server; };
    const Case cases[] = {
        {"proxy.corp:3128", "http", "proxy.corp:3128"},
        {"proxy.corp:3128", "https", "proxy.corp:3128"},
        {"http=h1:1;https=h2:2", "http", "h1:1"},
        {"http=h1:1;https=h2:2", "https", "h2:2"},
        {"HTTPS=h2:2 ftp=h3:3", "https", "h2:2"},
        {"ftp=h3:3", "http", ""},
        {"ftp=h3:3;plain:9", "http", "plain:9"},
        {"https=h2:2;plain:9", "http", "plain:9"},
        {"socks=s:1080", "http", "socks4://s:1080"},
        {"socks=s:1080;http=h:1", "http", "h:1"},
        {"http=;https=h2:2", "http", ""},
        {"http://h1:1", "http", "http://h1:1"},
        {"", "http", ""},
        {" ; ", "http", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProxyForScheme(c.list, c.scheme), c.server) << c.list << " " << c.scheme;
}

TEST(ProxyChoiceTest, BypassList) {
    struct Case { const char* bypass; const char* url; bool bypassed; };
    const Case cases[] = {
        {"<local>", "http://intranet/x", true},
        {"<local>", "http://localhost:8080/x", true},
        {"<LOCAL>", "http://intranet/x", true},
        {"<local>", "http://127.0.0.1/x", false},
        {"<local>", "http://dl.example/x", false},
        {"<local>", "http://[::1]/x", false},
        {"127.0.0.1", "http://127.0.0.1:9/x", true},
        {"127.0.0.2", "http://127.0.0.1:9/x", false},
        {"*.corp.example", "http://a.corp.example/", true},
        {"*.corp.example", "http://A.B.CORP.example/", true},
        {"*.corp.example", "http://corp.example/", false},
        {".corp.example", "http://a.corp.example/", true},
        {"127.*", "http://127.0.0.1/", true},
        {"10.1.?.4", "http://10.1.2.4/", true},
        {"10.1.?.4", "http://10.1.22.4/", false},
        {"dl.example", "http://www.dl.example/", false},
        {"other;dl.example", "http://dl.example/", true},
        {"other, dl.example", "http://dl.example/", true},
        {"other dl.example", "http://dl.example/", true},
        {"http://dl.example", "http://dl.example/", true},
        {"https://dl.example", "http://dl.example/", false},
        {"dl.example:8080", "http://dl.example:8080/", true},
        {"dl.example:8080", "http://dl.example/", false},
        {"*", "http://anything.example/", true},
        {"", "http://intranet/", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BypassesProxy(c.bypass, Parts(c.url)), c.bypassed) << c.bypass << " " << c.url;
}

TEST(ProxyChoiceTest, NoProxyListForRedirections) {
    struct Case { const char* bypass; const char* url; const char* list; };
    const Case cases[] = {
        {"<local>;127.0.0.1;*.corp.example", "http://dl.example/", "127.0.0.1,.corp.example"},
        {"10.*;http://a.example;a.example:81;b.example", "http://dl.example/", "b.example"},
        // libcurl would read "example" as covering dl.example, which the list does not mean
        {"example;c.example", "http://dl.example/", "c.example"},
        {"*.dl.example", "http://other.example/", ".dl.example"},
        // libcurl's ".dl.example" covers dl.example itself, which "*.dl.example" does not
        {"*.dl.example", "http://dl.example/", ""},
        {"", "http://dl.example/", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CurlNoProxyList(c.bypass, Parts(c.url)), c.list) << c.bypass;
}

// A resolver that records what it was asked and gives a fixed answer.
struct FakeResolver {
    bool answers;
    AutoProxyAnswer answer;
    std::vector<std::string> asked;
    AutoProxyResolver Get() {
        return [this](const std::string& url, AutoProxyAnswer& out) {
            asked.push_back(url);
            if (answers) out = answer;
            return answers;
        };
    }
};

UserProxySettings Manual(const char* proxy, const char* bypass) {
    UserProxySettings s;
    s.proxy = proxy;
    s.bypass = bypass;
    return s;
}

TEST(ProxyChoiceTest, ManualProxy) {
    FakeResolver resolver{false, {}, {}};
    const UserProxySettings s = Manual("127.0.0.1:3128", "<local>;*.corp.example");
    CurlProxy p = ChooseCurlProxy(s, "http://127.0.0.1:8000/software/681", resolver.Get());
    EXPECT_EQ(p.proxy, "127.0.0.1:3128");
    EXPECT_EQ(p.noProxy, ".corp.example");
    p = ChooseCurlProxy(s, "http://localhost:8000/software/681", resolver.Get());
    EXPECT_EQ(p.proxy, "");
    p = ChooseCurlProxy(s, "https://x.corp.example/a", resolver.Get());
    EXPECT_EQ(p.proxy, "");
    EXPECT_TRUE(resolver.asked.empty());  // no automatic configuration, no question
}

TEST(ProxyChoiceTest, NoConfigurationIsDirect) {
    FakeResolver resolver{true, {false, "never:1", ""}, {}};
    const CurlProxy p = ChooseCurlProxy(UserProxySettings(), "http://dl.example/", resolver.Get());
    EXPECT_EQ(p.proxy, "");
    EXPECT_EQ(p.noProxy, "");
    EXPECT_TRUE(resolver.asked.empty());
}

TEST(ProxyChoiceTest, LocalFilesAndOddAddressesAreDirect) {
    const UserProxySettings s = Manual("h:1", "");
    EXPECT_EQ(ChooseCurlProxy(s, "file:///C:/x.exe", nullptr).proxy, "");
    EXPECT_EQ(ChooseCurlProxy(s, "not an address", nullptr).proxy, "");
}

TEST(ProxyChoiceTest, AutomaticConfigurationPerAddress) {
    UserProxySettings s = Manual("manual:1", "");
    s.autoConfigUrl = "http://wpad.corp.example/proxy.pac";
    FakeResolver resolver{true, {false, "http=pac:8080;https=pacs:8443", "*.inside"}, {}};
    CurlProxy p = ChooseCurlProxy(s, "http://dl.example/a", resolver.Get());
    EXPECT_EQ(p.proxy, "pac:8080");
    EXPECT_EQ(p.noProxy, ".inside");
    p = ChooseCurlProxy(s, "https://dl.example/a", resolver.Get());
    EXPECT_EQ(p.proxy, "pacs:8443");
    p = ChooseCurlProxy(s, "http://a.inside/", resolver.Get());
    EXPECT_EQ(p.proxy, "");
    EXPECT_EQ(resolver.asked, (std::vector<std::string>{"http://dl.example/a", "https://dl.example/a",
                                                        "http://a.inside/"}));
}

TEST(ProxyChoiceTest, AutomaticDirectAnswer) {
    UserProxySettings s = Manual("manual:1", "");
    s.autoDetect = true;
    FakeResolver resolver{true, {true, "", ""}, {}};
    EXPECT_EQ(ChooseCurlProxy(s, "http://dl.example/", resolver.Get()).proxy, "");
    EXPECT_EQ(resolver.asked.size(), 1u);
}

TEST(ProxyChoiceTest, FailedAutomaticConfigurationFallsBackToTheManualProxy) {
    UserProxySettings s = Manual("manual:1", "<local>");
    s.autoDetect = true;
    FakeResolver resolver{false, {}, {}};
    EXPECT_EQ(ChooseCurlProxy(s, "http://dl.example/", resolver.Get()).proxy, "manual:1");
    EXPECT_EQ(ChooseCurlProxy(s, "http://intranet/", resolver.Get()).proxy, "");
    s.proxy.clear();
    EXPECT_EQ(ChooseCurlProxy(s, "http://dl.example/", resolver.Get()).proxy, "");
    EXPECT_EQ(resolver.asked.size(), 3u);
}

}  // namespace
