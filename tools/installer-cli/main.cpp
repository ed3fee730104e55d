// installer-cli: the maintainers' console tool. Runs the installer's parts one at a time and
// prints what they report, one line each, as UTF-8.
#include <windows.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "CliOutput.h"
#include "Commands.h"
#include "download/RequiredPublisher.h"
#include "sys/Clock.h"

namespace {

using Command = int (*)(const std::vector<std::wstring>&);

const std::map<std::wstring, Command>& CommandTable() {
    static const std::map<std::wstring, Command> table = {
        {L"config", RunConfigCommand},
        {L"sysinfo", RunSysinfoCommand},
        {L"install", RunInstallCommand},
        {L"uninstall", RunUninstallCommand},
        {L"download", RunDownloadCommand},
        {L"http", RunHttpCommand},
        {L"pipeline", RunPipelineCommand},
        {L"records", RunRecordsCommand},
        {L"prompt", RunPromptCommand},
        {L"proxy", RunProxyCommand},
    };
    return table;
}

int Usage() {
    std::wstring text = L"usage: installer-cli.exe <command> [arguments]\ncommands:";
    for (const auto& entry : CommandTable()) text += L" " + entry.first;
    PrintUtf8(text + L"\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Libraries from the system folder only, as the installer itself.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
    SetRequiredPublisher(REQUIRED_PUBLISHER);  // compiled in, as in the installer
    // Tests run retry budgets quickly: every retry pause is divided by this number.
    if (const wchar_t* divisor = _wgetenv(L"TALLOWMERE_SLEEP_DIVISOR"))
        Utils::SetSleepDivisor(static_cast<unsigned>(_wtoi(divisor)));
    if (argc < 2) return Usage();
    const auto it = CommandTable().find(argv[1]);
    if (it == CommandTable().end()) return Usage();
    return it->second(std::vector<std::wstring>(argv + 2, argv + argc));
}
