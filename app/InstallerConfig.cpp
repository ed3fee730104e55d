#include "app/InstallerConfig.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "app/CommandLineArgs.h"
#include "app/NumberConversion.h"
#include "app/RouteSubstitution.h"
#include "sys/SystemIdentity.h"

const wchar_t kDefaultDownloadUrl[] = L"https://dl.tallowmere.example/software/681";

namespace {

const wchar_t kSection[] = L"Install";

std::wstring OsName() { return Utils::GetOSVersionName().name; }

std::wstring ReadText(const std::wstring& path, const wchar_t* key, const wchar_t* fallback) {
    wchar_t buffer[260] = {};
    GetPrivateProfileStringW(kSection, key, fallback, buffer, 260, path.c_str());
    return buffer;
}

bool ReadBool(const std::wstring& path, const wchar_t* key, const wchar_t* fallback) {
    return TextToBool(ReadText(path, key, fallback));
}

int ReadInt(const std::wstring& path, const wchar_t* key, int fallback) {
    // A value too large for 32 bits counts as a value without a number.
    if (IntTextOutOfRange(ReadText(path, key, L""))) return 0;
    return static_cast<int>(GetPrivateProfileIntW(kSection, key, fallback, path.c_str()));
}

}  // namespace

InstallerConfig InstallerConfig::Load(const std::wstring& iniPath) {
    InstallerConfig c;
    c.DlAppNameSuffix = L".downloader";
    c.m_DlAppVersion = L"";
    c.InstCmd = L"";
    c.DownloadUrl = SubstituteRoute(kDefaultDownloadUrl, OsName);
    c.DownloadType = 1;
    c.IsCheckNet = false;
    c.IsEnableAppSensors = true;
    c.DownloadScale = 0.7;
    c.LanguageIndex = -1;
    c.InsNew = false;
    if (!PathFileExistsW(iniPath.c_str())) return c;

    c.DownloadUrl = SubstituteRoute(ReadText(iniPath, L"DownloadUrl", kDefaultDownloadUrl), OsName);
    c.DownloadType = ReadInt(iniPath, L"DownloadType", 1);
    c.IsCheckNet = ReadBool(iniPath, L"IsCheckNet", L"true");
    c.IsEnableAppSensors = ReadBool(iniPath, L"IsEnableAppSensors", L"true");
    c.DlAppNameSuffix = ReadText(iniPath, L"DlAppNameSuffix", L".downloader");
    c.m_DlAppVersion = ReadText(iniPath, L"m_DlAppVersion", L"");
    c.DownloadScale = IniTextToDouble(ReadText(iniPath, L"DownloadScale", L"0.7"));
    c.InstCmd = ReadText(iniPath, L"InstCmd", L"");
    return c;
}

std::wstring InstallerConfig::ModuleIniPath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return L"RavellInstallerConfig.ini";
        if (n < path.size()) break;
        path.resize(path.size() * 2);
    }
    PathRemoveFileSpecW(path.data());
    return std::wstring(path.data()) + L"\\RavellInstallerConfig.ini";
}

void InstallerConfig::ApplyCommandLine() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 0; argv && i < count; ++i) arguments.emplace_back(argv[i]);
    if (argv) LocalFree(argv);
    ApplyArguments(arguments);
}

void InstallerConfig::ApplyArguments(const std::vector<std::wstring>& arguments) {
    const CommandLineArgs args(arguments);
    std::wstring url;
    if (args.GetText(L"-downloadurl", url)) DownloadUrl = SubstituteRoute(url, OsName);
    args.GetInt(L"-downloadtype", DownloadType);
    args.GetDouble(L"-downloadscale", DownloadScale);
    args.GetBool(L"-ischecknet", IsCheckNet);
    args.GetBool(L"-isenableappsensors", IsEnableAppSensors);
    args.GetText(L"-dlappnamesuffix", DlAppNameSuffix);
    args.GetText(L"-dlappversion", m_DlAppVersion);
    args.GetText(L"-instcmd", InstCmd);
    args.GetInt(L"-language", LanguageIndex);
    args.GetBool(L"-insnew", InsNew);
    args.GetBool(L"-silent", Silent);
    args.GetText(L"-instdir", InstDir);
    args.GetText(L"-log", LogPath);
}

InstallerConfig& TheInstallerConfig() {
    static InstallerConfig config = InstallerConfig::Load(InstallerConfig::ModuleIniPath());
    return config;
}

namespace {
// Loaded during static initialisation, before the entry point runs.
const bool g_configLoaded = (TheInstallerConfig(), true);
}  // namespace
