#include "Commands.h"

#include "CliOutput.h"
#include "sys/SystemIdentity.h"

int RunSysinfoCommand(const std::vector<std::wstring>&) {
    const Utils::OSVersionName os = Utils::GetOSVersionName();
    PrintField(L"OSVersion", os.family + L" " + os.name);
    PrintField(L"IsProcessAdmin", BoolText(Utils::IsProcessAdmin()));
    std::wstring user;
    Utils::GetActiveSessionUserName(user);
    PrintField(L"ActiveSessionUser", user);
    PrintField(L"IsAdminAccount", BoolText(Utils::IsAdminAccount(user)));
    PrintField(L"DeviceId", Utils::NewDeviceId());
    return 0;
}
