#pragma once
#include <string>
#include <vector>

// The settings that steer a run: built-in defaults, then "RavellInstallerConfig.ini" next to
// the executable, then the command line, each layer overriding the one before.
struct InstallerConfig {
    std::wstring DownloadUrl;
    int DownloadType = 1;
    bool IsCheckNet = false;
    double DownloadScale = 0.7;
    std::wstring InstCmd;
    int LanguageIndex = -1;
    bool InsNew = false;
    std::wstring DlAppNameSuffix;
    std::wstring m_DlAppVersion;
    bool IsEnableAppSensors = true;
    bool Silent = false;     // "-silent": install without a window or a prompt
    std::wstring InstDir;    // "-instdir": the install folder (empty: the default)
    std::wstring LogPath;    // "-log": the support log file (empty: none)

    // Defaults, then the ini file at iniPath when it exists.
    static InstallerConfig Load(const std::wstring& iniPath);
    // The ini file next to the running executable.
    static std::wstring ModuleIniPath();

    // Applies the options of the process command line (GetCommandLineW).
    void ApplyCommandLine();
    // Applies the options of already split arguments (the program path first).
    void ApplyArguments(const std::vector<std::wstring>& arguments);
};

// The built-in download address.
extern const wchar_t kDefaultDownloadUrl[];

// The process-wide configuration, loaded during static initialisation.
InstallerConfig& TheInstallerConfig();
