#include <windows.h>

#include "CliOutput.h"
#include "Commands.h"
#include "download/WinHttpClient.h"
#include "sys/TextConversion.h"

// http <verb> <url> [--file=PATH] [--data=TEXT] [--header=LINE] [--cookie=TEXT]
//      [--proxy=HOST:PORT] [--proxy-user=U] [--proxy-password=P]: one
// WinHttpClient exchange; prints the result and what the client took from the response.
int RunHttpCommand(const std::vector<std::wstring>& args) {
    if (args.size() < 2) {
        PrintUtf8(L"usage: http <verb> <url> [--file=PATH] [--data=TEXT] [--header=LINE] "
                  L"[--cookie=TEXT]\n");
        return 2;
    }
    WinHttpClient client(args[1]);
    std::wstring value;
    for (size_t i = 2; i < args.size(); ++i) {
        if (ReadOption(args[i], L"--file", value)) client.SetResponseFilePath(value);
        else if (ReadOption(args[i], L"--data", value))
            client.SetAdditionalDataToSend(Utils::ToNarrow(value, CP_UTF8));
        else if (ReadOption(args[i], L"--header", value)) client.SetAdditionalRequestHeaders(value);
        else if (ReadOption(args[i], L"--cookie", value)) client.SetAdditionalRequestCookies(value);
        else if (ReadOption(args[i], L"--proxy", value)) client.SetProxy(value);
        else if (ReadOption(args[i], L"--proxy-user", value)) client.SetProxyUsername(value);
        else if (ReadOption(args[i], L"--proxy-password", value)) client.SetProxyPassword(value);
    }
    const bool ok = client.SendHttpRequest(args[0]);
    PrintField(L"Result", BoolText(ok));
    PrintField(L"LastError", std::to_wstring(client.GetLastError()));
    PrintField(L"StatusCode", client.GetStatusCode());
    PrintField(L"Charset", client.GetResponseCharset());
    PrintField(L"ContentLength", std::to_wstring(client.GetResponseContentLength()));
    PrintField(L"Received", std::to_wstring(client.GetRawResponseReceivedSize()));
    PrintField(L"Cookies", client.GetResponseCookies());
    PrintField(L"FinalUrl", client.GetFinalUrl());
    PrintField(L"Content", client.GetResponseContent());
    return ok ? 0 : 1;
}
