#include "Commands.h"

#include "CliOutput.h"
#include "download/UserProxy.h"
#include "sys/TextConversion.h"

namespace {

std::wstring Wide(const std::string& text) { return Utils::ToWide(text, 65001); }  // UTF-8

}  // namespace

// proxy <url>...: the current user's proxy settings as the libcurl downloaders read them, and
// for each address the proxy and no-proxy list libcurl is given ("" is a direct connection).
int RunProxyCommand(const std::vector<std::wstring>& args) {
    const UserProxySettings settings = QueryUserProxySettings();
    PrintField(L"AutoDetect", BoolText(settings.autoDetect));
    PrintField(L"AutoConfigUrl", Wide(settings.autoConfigUrl));
    PrintField(L"Proxy", Wide(settings.proxy));
    PrintField(L"Bypass", Wide(settings.bypass));
    for (const std::wstring& url : args) {
        const std::string address = Utils::ToNarrow(url, 65001);
        const CurlProxy choice = ChooseCurlProxy(
            settings, address, [&settings](const std::string& u, AutoProxyAnswer& answer) {
                return ResolveAutoProxy(settings, u, answer);
            });
        PrintField(L"CurlProxy", Wide(choice.proxy));
        PrintField(L"CurlNoProxy", Wide(choice.noProxy));
    }
    return 0;
}
