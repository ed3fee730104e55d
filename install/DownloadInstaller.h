#pragma once
#include <string>

#include "install/EventCallback.h"

class CDownloader;
class CInstaller;
class CUninstaller;

// Chains the three stages: removes the previous version, downloads the package, runs it
// silently; forwards every event to the owner, then reacts to it.
class CDownloadInstaller {
public:
    CDownloadInstaller(EventCallback owner, const std::wstring& url,
                       const std::wstring& oldUninstaller, const std::wstring& installDir,
                       bool desktopShortcut, bool startShortcut, bool adminAccount);
    ~CDownloadInstaller();

    void SetParams(const std::wstring& url, const std::wstring& oldUninstaller,
                   const std::wstring& installDir, bool desktopShortcut, bool startShortcut,
                   bool adminAccount, bool elevated, const std::wstring& language);
    void Start();

private:
    void OnDownloadEvent(int code, double progress, const wchar_t* message);
    void OnUninstallEvent(int code, double progress, const wchar_t* message);
    void OnInstallEvent(int code, double progress, const wchar_t* message);
    void Forward(int code, double progress, const wchar_t* message);

    CUninstaller* m_uninstaller = nullptr;
    CDownloader* m_downloader = nullptr;
    CInstaller* m_installer = nullptr;
    std::wstring m_url;
    std::wstring m_oldUninstaller;
    std::wstring m_installDir;
    std::wstring m_packagePath;
    std::wstring m_downloadPath;  // the package path the downloader and installer were made with
    std::wstring m_language;
    bool m_desktopShortcut, m_startShortcut, m_adminAccount, m_elevated = false;
    EventCallback m_owner;
};

// "<system temp>\~RavellTemp.92482B06FB471E17\", created when missing; empty when it can
// neither be found nor created.
std::wstring GetInstallerTempDir();
