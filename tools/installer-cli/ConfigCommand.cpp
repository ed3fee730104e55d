#include "Commands.h"

#include "CliOutput.h"
#include "app/InstallerConfig.h"

// Builds the configuration as the installer does (defaults, the ini file next to this
// executable, this process's command line) and prints every field.
int RunConfigCommand(const std::vector<std::wstring>&) {
    InstallerConfig& config = TheInstallerConfig();
    config.ApplyCommandLine();
    PrintField(L"DownloadUrl", config.DownloadUrl);
    PrintField(L"DownloadType", std::to_wstring(config.DownloadType));
    PrintField(L"IsCheckNet", BoolText(config.IsCheckNet));
    PrintField(L"DownloadScale", DoubleText(config.DownloadScale));
    PrintField(L"InstCmd", config.InstCmd);
    PrintField(L"LanguageIndex", std::to_wstring(config.LanguageIndex));
    PrintField(L"InsNew", BoolText(config.InsNew));
    PrintField(L"DlAppNameSuffix", config.DlAppNameSuffix);
    PrintField(L"m_DlAppVersion", config.m_DlAppVersion);
    PrintField(L"IsEnableAppSensors", BoolText(config.IsEnableAppSensors));
    PrintField(L"Silent", BoolText(config.Silent));
    PrintField(L"InstDir", config.InstDir);
    PrintField(L"LogPath", config.LogPath);
    return 0;
}
