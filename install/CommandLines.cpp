#include "install/CommandLines.h"

namespace {
const wchar_t* Word(bool value) { return value ? L"true" : L"false"; }
}  // namespace

std::wstring BuildPackageCommandLine(const PackageOptions& o) {
    std::wstring line = o.quotedPackage;
    line += L" /S -console=show -version=1.0.0";
    line += L" -adminact=";
    line += Word(o.adminAccount);
    line += L" -authorizationact=";
    line += Word(o.elevated);
    line += L" -dsc=";
    line += Word(o.desktopShortcut);
    line += L" -ssc=";
    line += Word(o.startShortcut);
    if (!o.language.empty()) line += L" -inslang=\"" + o.language + L"\"";
    if (!o.instCmd.empty()) line += L" " + o.instCmd;
    if (!o.installDir.empty()) {
        line += L" -instdir=\"" + o.installDir + L"\"";
        line += L" /D=" + o.installDir;
    }
    return line;
}

std::wstring BuildUninstallCommandLine(const std::wstring& uninstaller, bool adminAccount,
                                       bool elevated, const std::wstring& folder) {
    return uninstaller + L" /S -adminact=" + Word(adminAccount) + L" -authorizationact=" +
           Word(elevated) + L" -console=show _?=" + folder;
}
