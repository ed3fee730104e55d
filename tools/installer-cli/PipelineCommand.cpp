#include <windows.h>

#include <mutex>

#include "CliOutput.h"
#include "Commands.h"
#include "app/InstallerConfig.h"
#include "install/DownloadInstaller.h"
#include "install/InstallRecords.h"

// pipeline --url <url> --folder <dir> [--old-uninstaller <path>] [--dsc=B] [--ssc=B]
//          [--lang=CODE] [--insnew=true] [--retry-folder <dir>] [--destroy-after MS]; with
// --destroy-after the pipeline is destroyed after MS milliseconds if it has not finished
// (exit code 3; "destroyed" is printed once destruction has returned). With --retry-folder a
// failed download (1004) is followed by a second start with that folder, as a user's retry
// from the window would be. -downloadtype=N and the other installer options
// apply as for the installer. Prints every event and writes the records as the window does:
// the ini records on 2001, the registry record then the ini records on 2003. Exit code 0
// after 2003, 1 after 1004, 2004, 5004 or 5005.
int RunPipelineCommand(const std::vector<std::wstring>& args) {
    InstallerConfig& config = TheInstallerConfig();
    config.ApplyCommandLine();
    std::wstring url, folder, oldUninstaller, language, retryFolder;
    DWORD destroyAfter = INFINITE;
    bool dsc = true, ssc = true, insNew = config.InsNew;
    for (size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == L"--url" && hasValue) url = args[++i];
        else if (args[i] == L"--folder" && hasValue) folder = args[++i];
        else if (args[i] == L"--old-uninstaller" && hasValue) oldUninstaller = args[++i];
        else if (args[i] == L"--retry-folder" && hasValue) retryFolder = args[++i];
        else if (args[i] == L"--destroy-after" && hasValue)
            destroyAfter = static_cast<DWORD>(_wtoi(args[++i].c_str()));
        else if (ReadFlag(args[i], L"--dsc", dsc) || ReadFlag(args[i], L"--ssc", ssc) ||
                 ReadFlag(args[i], L"--insnew", insNew) || ReadOption(args[i], L"--lang", language))
            continue;
    }
    if (url.empty() || folder.empty()) {
        PrintUtf8(L"usage: pipeline --url <url> --folder <dir> [--old-uninstaller <path>] "
                  L"[--dsc=B] [--ssc=B] [--lang=CODE] [--insnew=true]\n");
        return 2;
    }
    config.InsNew = insNew;

    InstallRecords records;
    records.ReadPreviousInstall();
    records.GetDefaultInstallDir();  // the two flags
    records.installDir = folder;
    // As the window does: no uninstall when reinstalling into a folder that forbids it.
    if (records.IsOverrideDisabled(folder)) oldUninstaller.clear();

    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE downloadFailed = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    int exitCode = 1;
    std::mutex lock;
    EventCallback onEvent = [&](int code, double value, const wchar_t* message) {
        std::lock_guard<std::mutex> guard(lock);
        PrintEvent(code, value, message);
        switch (code) {
        case 3000: records.installDir = message; break;
        case 3003: records.uninstaller = message; break;
        case 2001: records.WriteIniRecords(); break;
        case 2003:
            records.WriteRegistryRecord();
            records.WriteIniRecords();
            exitCode = 0;
            SetEvent(done);
            break;
        case 1004:
            if (!retryFolder.empty()) {
                SetEvent(downloadFailed);
                break;
            }
            exitCode = 1;
            SetEvent(done);
            break;
        case 2004: case 5004: case 5005:
            exitCode = 1;
            SetEvent(done);
            break;
        default: break;
        }
    };
    {
        CDownloadInstaller pipeline(onEvent, L"", L"", L"", true, true, true);
        pipeline.SetParams(url, oldUninstaller, folder, dsc, ssc, records.adminAccount,
                           records.elevated, language);
        pipeline.Start();
        if (!retryFolder.empty()) {
            const HANDLE first[2] = {done, downloadFailed};
            if (WaitForMultipleObjects(2, first, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
                retryFolder.swap(folder);
                retryFolder.clear();  // a second failure ends the run
                records.installDir = folder;
                pipeline.SetParams(url, L"", folder, dsc, ssc, records.adminAccount,
                                   records.elevated, language);
                pipeline.Start();
            }
        }
        if (WaitForSingleObject(done, destroyAfter) == WAIT_TIMEOUT) exitCode = 3;
    }  // waits for the install and uninstall threads
    if (destroyAfter != INFINITE) {
        std::lock_guard<std::mutex> guard(lock);
        PrintUtf8(L"destroyed\n");
    }
    CloseHandle(done);
    CloseHandle(downloadFailed);
    return exitCode;
}

// records: the previous installation as the window reads it.
int RunRecordsCommand(const std::vector<std::wstring>&) {
    InstallRecords records;
    records.ReadPreviousInstall();
    std::wstring installPath, uninstallEp;
    RegReadString(L"InstallPath", installPath);
    RegReadString(L"UnInstallEp", uninstallEp);
    PrintField(L"InstallPath", installPath);
    PrintField(L"UnInstallEp", uninstallEp);
    PrintField(L"PreviousUninstaller", records.previousUninstaller);
    PrintField(L"DefaultInstallDir", records.GetDefaultInstallDir());
    PrintField(L"DataDir", GetDataDir());
    return 0;
}
