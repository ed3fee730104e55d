#include "install/InstallRecords.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <vector>

#include "install/SystemHelpers.h"
#include "sys/SystemIdentity.h"

namespace {

const wchar_t kKey[] = L"Software\\RavellSoft\\quillmoss";

std::wstring Environment(const wchar_t* name) {
    const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
    if (n == 0) return std::wstring();
    std::vector<wchar_t> buffer(n);
    GetEnvironmentVariableW(name, buffer.data(), n);
    return buffer.data();
}

std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return std::wstring();
    return path;
}

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
    if (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) return folder + name;
    return folder + L"\\" + name;
}

// Both taken as folders: whether they name the same folder.
bool SameFolder(const std::wstring& from, const std::wstring& to) {
    if (from.empty() || to.empty()) return false;
    wchar_t relative[MAX_PATH] = {};
    if (!PathRelativePathToW(relative, from.c_str(), FILE_ATTRIBUTE_DIRECTORY, to.c_str(),
                             FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // "." on Windows; Wine answers ".\" when one of them ends in a backslash.
    return wcscmp(relative, L".") == 0 || wcscmp(relative, L".\\") == 0;
}

std::wstring ExeFileName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return PathFindFileNameW(path);
}

}  // namespace

bool RegWriteString(const std::wstring& name, const std::wstring& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result =
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool RegReadString(const std::wstring& name, std::wstring& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD bytes = 0;
    LONG result = RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, &bytes);
    if (result == ERROR_SUCCESS) {
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        result = RegQueryValueExW(key, name.c_str(), nullptr, nullptr,
                                  reinterpret_cast<BYTE*>(buffer.data()), &bytes);
        if (result == ERROR_SUCCESS) value = buffer.data();  // stored without terminator
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

std::wstring GetDataDir() {
    std::wstring base = Environment(L"APPDATA");
    if (base.empty()) base = SpecialFolder(CSIDL_COMMON_DOCUMENTS);
    return Join(Join(base, L"RavellData"), L"quillmoss");
}

void InstallRecords::ReadPreviousInstall() {
    previousInstallDir.clear();
    previousUninstaller.clear();
    RegReadString(L"InstallPath", previousInstallDir);
    RegReadString(L"UnInstallEp", previousUninstaller);
    if (previousUninstaller.empty() && !previousInstallDir.empty())
        previousUninstaller = previousInstallDir + L"\\uninst.ep";
}

std::wstring InstallRecords::GetDefaultInstallDir() {
    std::wstring user;
    Utils::GetActiveSessionUserName(user);
    adminAccount = Utils::IsAdminAccount(user);
    elevated = Utils::IsProcessAdmin();
    if (!previousInstallDir.empty() && PathFileExistsW(previousUninstaller.c_str()))
        return previousInstallDir;
    std::wstring base;
    const std::wstring appData = Environment(L"APPDATA");
    if (adminAccount && elevated && !appData.empty()) {
        base = Join(appData, L"tidemarsh");
    } else {
        base = SpecialFolder(CSIDL_PROGRAM_FILESX86);
        if (base.empty()) base = SpecialFolder(CSIDL_PROGRAM_FILES);
    }
    return Join(base, L"quillmoss");
}

std::wstring InstallRecords::ResolveInstallDir(const std::wstring& typed) {
    const std::wstring fallback = GetDefaultInstallDir();
    return SameFolder(fallback, typed) ? fallback : typed;
}

bool InstallRecords::IsOverrideDisabled(const std::wstring& chosen) const {
    if (!SameFolder(previousInstallDir, chosen)) return false;
    wchar_t value[20] = {};
    GetPrivateProfileStringW(L"Uninstall", L"IsOverride", L"true", value, 20,
                             Join(chosen, L"set.ini").c_str());
    return wcscmp(value, L"false") == 0;
}

void InstallRecords::WriteRegistryRecord() {
    RegWriteString(L"InstallPath", installDir);
    if (uninstaller.empty()) uninstaller = installDir + L"\\uninst.ep";
    if (PathFileExistsW(uninstaller.c_str())) RegWriteString(L"UnInstallEp", uninstaller);
}

void InstallRecords::WriteIniRecords() const {
    const std::wstring setIni = Join(installDir, L"set.ini");
    WritePrivateProfileStringW(L"Install", L"APPStore", ExeFileName().c_str(), setIni.c_str());
    WritePrivateProfileStringW(L"Install", L"AppName", L"quillmoss", setIni.c_str());
    WritePrivateProfileStringW(L"Install", L"DeviceID", Utils::NewDeviceId().c_str(),
                               setIni.c_str());
    const std::wstring dataDir = GetDataDir();
    if (!CreateFolderWithParents(dataDir)) return;
    const std::wstring analytics = dataDir + L"\\RVSensorsAnalytics.ini";
    WritePrivateProfileStringW(L"Install", L"RVSensorsAnalyticsIni", analytics.c_str(),
                               setIni.c_str());
    SYSTEMTIME now;
    GetLocalTime(&now);
    wchar_t stamp[64];
    _snwprintf(stamp, 63, L"%d-%02d-%02d %02d:%02d:%02d", now.wYear, now.wMonth, now.wDay,
               now.wHour, now.wMinute, now.wSecond);
    stamp[63] = L'\0';
    WritePrivateProfileStringW(L"Init", L"UpdateTime", stamp, analytics.c_str());
}
