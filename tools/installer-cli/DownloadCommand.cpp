#include <windows.h>

#include <memory>

#include "CliOutput.h"
#include "Commands.h"
#include "download/DownloaderFactory.h"

// download [--type N] <url> <target>: runs the downloader the pipeline would create for
// DownloadType N (default 1), restarting it on 1005 from the reporting thread as the
// pipeline does. Exit code 0 after 1003, 1 after 1004.
int RunDownloadCommand(const std::vector<std::wstring>& args) {
    int type = 1;
    std::vector<std::wstring> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--type" && i + 1 < args.size()) type = _wtoi(args[++i].c_str());
        else positional.push_back(args[i]);
    }
    if (positional.size() != 2) {
        PrintUtf8(L"usage: download [--type N] <url> <target>\n");
        return 2;
    }
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    int outcome = 1;
    CDownloader* downloader = nullptr;
    EventCallback callback = [&](int code, double value, const wchar_t* message) {
        PrintEvent(code, value, message);
        if (code == 1005) {
            downloader->Start();
        } else if (code == 1003 || code == 1004) {
            outcome = code == 1003 ? 0 : 1;
            SetEvent(done);
        }
    };
    downloader = CreateDownloader(type, callback, positional[0], positional[1]);
    if (!downloader) {
        PrintUtf8(L"downloader type " + std::to_wstring(type) + L" is not available\n");
        return 2;
    }
    downloader->Start();
    WaitForSingleObject(done, INFINITE);
    delete downloader;  // waits for its threads
    CloseHandle(done);
    return outcome;
}
