#pragma once
#include <string>

// What the installer records about an installation (registry key
// HKCU\Software\RavellSoft\quillmoss, "set.ini" in the install folder, the analytics ini in
// the data folder) and what it reads back. Failures to write are ignored.
struct InstallRecords {
    std::wstring previousInstallDir;   // InstallPath of an earlier installation
    std::wstring previousUninstaller;  // its UnInstallEp, or "<folder>\uninst.ep"
    std::wstring installDir;           // where this installation goes
    std::wstring uninstaller;          // from the package (event 3003), empty otherwise
    bool adminAccount = false;
    bool elevated = false;

    void ReadPreviousInstall();
    // The default install folder; refreshes the two flags on the way.
    std::wstring GetDefaultInstallDir();
    // The folder to install into for the text typed in the folder box.
    std::wstring ResolveInstallDir(const std::wstring& typed);
    // True when the chosen folder is the previous one and its "set.ini" says
    // [Uninstall] IsOverride=false: the earlier version is then not uninstalled.
    bool IsOverrideDisabled(const std::wstring& chosen) const;
    void WriteRegistryRecord();
    // Writes "set.ini" (a new DeviceID each time) and the analytics ini.
    void WriteIniRecords() const;
};

// "%APPDATA%\RavellData\quillmoss", or under the common documents folder without APPDATA.
std::wstring GetDataDir();
bool RegWriteString(const std::wstring& name, const std::wstring& value);
bool RegReadString(const std::wstring& name, std::wstring& value);
