#include <windows.h>

#include "CliOutput.h"
#include "Commands.h"
#include "app/InstallerConfig.h"
#include "install/Installer.h"
#include "install/Uninstaller.h"
#include "sys/SystemIdentity.h"

namespace {

// Prints every event and remembers whether the last outcome was a success.
struct OutcomePrinter {
    int lastOutcome = 0;
    EventCallback Callback(std::initializer_list<int> successes,
                           std::initializer_list<int> failures) {
        std::vector<int> ok(successes), bad(failures);
        return [this, ok, bad](int code, double value, const wchar_t* message) {
            PrintEvent(code, value, message);
            for (int c : ok)
                if (c == code) lastOutcome = 1;
            for (int c : bad)
                if (c == code) lastOutcome = -1;
        };
    }
    int ExitCode() const { return lastOutcome == 1 ? 0 : 1; }
};

}  // namespace

// install <package> <folder> [--dsc=B] [--ssc=B] [--adminact=B] [--authorizationact=B]
//         [--lang=CODE]; -instcmd=... and the ini file next to the tool give InstCmd.
int RunInstallCommand(const std::vector<std::wstring>& args) {
    if (args.size() < 2) {
        PrintUtf8(L"usage: install <package> <folder> [--dsc=true|false] [--ssc=true|false] "
                  L"[--adminact=true|false] [--authorizationact=true|false] [--lang=CODE]\n");
        return 2;
    }
    TheInstallerConfig().ApplyCommandLine();
    std::wstring user;
    Utils::GetActiveSessionUserName(user);
    bool dsc = true, ssc = true, adminAct = Utils::IsAdminAccount(user);
    bool elevated = Utils::IsProcessAdmin();
    std::wstring language;
    for (size_t i = 2; i < args.size(); ++i) {
        ReadFlag(args[i], L"--dsc", dsc) || ReadFlag(args[i], L"--ssc", ssc) ||
            ReadFlag(args[i], L"--adminact", adminAct) ||
            ReadFlag(args[i], L"--authorizationact", elevated) ||
            ReadOption(args[i], L"--lang", language);
    }
    OutcomePrinter printer;
    {
        CInstaller installer(printer.Callback({2003}, {2004}), L"\"" + args[0] + L"\"", args[1]);
        installer.SetDesktopShortcut(dsc);
        installer.SetStartShortcut(ssc);
        installer.SetAdminAccount(adminAct);
        installer.SetElevated(elevated);
        installer.SetLanguage(language);
        installer.Start();
        installer.Join();
    }
    return printer.ExitCode();
}

// uninstall <uninstaller> <folder>
int RunUninstallCommand(const std::vector<std::wstring>& args) {
    if (args.size() < 2) {
        PrintUtf8(L"usage: uninstall <uninstaller> <folder>\n");
        return 2;
    }
    OutcomePrinter printer;
    {
        CUninstaller uninstaller(printer.Callback({5003}, {5004, 5005}), args[0], args[1]);
        uninstaller.Start();
        uninstaller.Join();
    }
    return printer.ExitCode();
}
