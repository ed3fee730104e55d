#pragma once
#include <atomic>
#include <memory>
#include <string>

#include "download/EventCallback.h"

class CDownloader;
class CInstaller;
class CUninstaller;
class PrivateFolder;

// Chains the three stages: removes the previous version, downloads the package, runs it
// silently; forwards every event to the owner, then reacts to it. Destruction waits for the
// running stage; from its start no event reaches the owner and no further stage starts.
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

    std::unique_ptr<CUninstaller> m_uninstaller;
    std::unique_ptr<PrivateFolder> m_copyFolder;  // the old uninstaller's copy runs from here
    std::unique_ptr<CDownloader> m_downloader;
    std::unique_ptr<CInstaller> m_installer;
    std::wstring m_url;
    std::wstring m_oldUninstaller;
    std::wstring m_installDir;
    std::wstring m_packagePath;
    std::wstring m_downloadPath;  // the package path the downloader and installer were made with
    std::wstring m_language;
    bool m_desktopShortcut, m_startShortcut, m_adminAccount, m_elevated = false;
    EventCallback m_owner;
    std::atomic<bool> m_stopping{false};  // destruction has begun: no event, no next stage
};

