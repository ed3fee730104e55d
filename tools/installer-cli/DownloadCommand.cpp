#include <windows.h>
#include <psapi.h>


#include "CliOutput.h"
#include "Commands.h"
#include "download/DownloaderFactory.h"

// download [--type N] [--abort-after MS] [--peak-memory] <url> <target>: runs the
// downloader the pipeline would create for DownloadType N (default 1), restarting it on 1005
// from the reporting thread as the pipeline does. Exit code 0 after 1003, 1 after 1004.
// --abort-after destroys the downloader after MS milliseconds if it has not finished (exit
// code 3; "destroying" and "destroyed" are printed around the destruction); --peak-memory prints the process's peak working set at the end.
int RunDownloadCommand(const std::vector<std::wstring>& args) {
    int type = 1;
    DWORD abortAfter = INFINITE;
    bool peakMemory = false;
    std::vector<std::wstring> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--type" && i + 1 < args.size()) type = _wtoi(args[++i].c_str());
        else if (args[i] == L"--abort-after" && i + 1 < args.size())
            abortAfter = static_cast<DWORD>(_wtoi(args[++i].c_str()));
        else if (args[i] == L"--peak-memory") peakMemory = true;
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
    const bool aborting = WaitForSingleObject(done, abortAfter) == WAIT_TIMEOUT;
    if (aborting) {
        outcome = 3;
        PrintUtf8(L"destroying\n");
    }
    delete downloader;  // stops and waits for its threads
    if (aborting) PrintUtf8(L"destroyed\n");
    CloseHandle(done);
    if (peakMemory) {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof counters;
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
        PrintUtf8(L"PeakWorkingSet=" + std::to_wstring(counters.PeakWorkingSetSize) + L"\n");
    }
    return outcome;
}
