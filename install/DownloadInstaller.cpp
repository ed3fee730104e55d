#include "install/DownloadInstaller.h"

#include <windows.h>
#include <shlwapi.h>

#include "sys/DebugLog.h"
#include "app/InstallerConfig.h"
#include "download/DownloaderFactory.h"
#include "install/Installer.h"
#include "install/PrivateFolder.h"
#include "install/SystemHelpers.h"
#include "install/Uninstaller.h"
#include "sys/Clock.h"

namespace {

// The package file of the last failed download in this process.
std::wstring& LastFailedPackage() {
    static std::wstring path;
    return path;
}

const wchar_t kDownloadTag[] = L"CDownloadInstaller::Start::DownloadEventHandler::operator ()";
const wchar_t kUninstallTag[] = L"CDownloadInstaller::Start::UninstallEventHandler::operator ()";
const wchar_t kInstallTag[] = L"CDownloadInstaller::Start::InstallEventHandler::operator ()";

}  // namespace

CDownloadInstaller::CDownloadInstaller(EventCallback owner, const std::wstring& url,
                                       const std::wstring& oldUninstaller,
                                       const std::wstring& installDir, bool desktopShortcut,
                                       bool startShortcut, bool adminAccount)
    : m_url(url),
      m_oldUninstaller(oldUninstaller),
      m_installDir(installDir),
      m_desktopShortcut(desktopShortcut),
      m_startShortcut(startShortcut),
      m_adminAccount(adminAccount),
      m_owner(std::move(owner)) {}

CDownloadInstaller::~CDownloadInstaller() {
    m_stopping = true;
    // Each stage may start the next one from its thread: the uninstall the download, the
    // download the install. They are stopped in that order, so a stage is joined before the
    // one it could start is destroyed.
    m_uninstaller.reset();
    m_copyFolder.reset();
    m_downloader.reset();
    m_installer.reset();
}

void CDownloadInstaller::SetParams(const std::wstring& url, const std::wstring& oldUninstaller,
                                   const std::wstring& installDir, bool desktopShortcut,
                                   bool startShortcut, bool adminAccount, bool elevated,
                                   const std::wstring& language) {
    m_url = url;
    m_oldUninstaller = oldUninstaller;
    m_installDir = installDir;
    m_desktopShortcut = desktopShortcut;
    m_startShortcut = startShortcut;
    m_adminAccount = adminAccount;
    m_elevated = elevated;
    m_language = language;
}

void CDownloadInstaller::Start() {
    m_packagePath = m_installDir + L"\\__Package_" + L"quillmoss" + L".exe";
    DEBUG_LOG(L"DL_TYPE=%d\r\n", TheInstallerConfig().DownloadType);
    if (!m_downloader) {
        m_downloadPath = m_packagePath;
        m_downloader.reset(CreateDownloader(
            TheInstallerConfig().DownloadType,
            [this](int c, double p, const wchar_t* m) { OnDownloadEvent(c, p, m); }, m_url,
            m_packagePath));
    }
    if (!m_installer) {
        m_installer.reset(new CInstaller(
            [this](int c, double p, const wchar_t* m) { OnInstallEvent(c, p, m); },
            L"\"" + m_packagePath + L"\"", m_installDir));
        // The outcome event arrives while the package may still be running and its file
        // cannot be deleted yet; it is deleted again once the package has ended.
        const std::wstring package = m_packagePath;
        m_installer->SetFinishedHook([package] { DeleteFileW(package.c_str()); });
    }
    m_installer->SetInstallDir(m_installDir);
    m_installer->SetDesktopShortcut(m_desktopShortcut);
    m_installer->SetStartShortcut(m_startShortcut);
    m_installer->SetAdminAccount(m_adminAccount);
    m_installer->SetElevated(m_elevated);
    m_installer->SetLanguage(m_language);

    if (!m_oldUninstaller.empty() && PathFileExistsW(m_oldUninstaller.c_str())) {
        // The copy runs from a folder made for it, which only administrators can write when
        // this process is elevated; a copy that cannot be made whole is not run (5004).
        m_uninstaller.reset();
        m_copyFolder = PrivateFolder::Create(m_elevated);
        std::wstring copy;
        if (m_copyFolder) {
            copy = m_copyFolder->Path() + L"\\quillmoss_un_asa.exe";
            if (!CopyVerified(m_oldUninstaller, copy)) copy.clear();
        }
        std::wstring folder = m_oldUninstaller;
        const size_t slash = folder.find_last_of(L"\\/");
        folder = slash == std::wstring::npos ? L"" : folder.substr(0, slash);
        m_uninstaller.reset(new CUninstaller(
            [this](int c, double p, const wchar_t* m) { OnUninstallEvent(c, p, m); }, copy,
            folder));
        if (TheInstallerConfig().InsNew) {
            while (FindRunningProcess(L"quillmoss.exe") != 0) Utils::SleepFor(100);
        }
        m_uninstaller->Start();
    } else {
        m_downloader->Start();
    }
}

void CDownloadInstaller::Forward(int code, double progress, const wchar_t* message) {
    if (m_stopping) return;
    if (m_owner) m_owner(code, progress, message ? message : L"");
}

void CDownloadInstaller::OnDownloadEvent(int code, double progress, const wchar_t* message) {
    Forward(code, progress, message);
    switch (code) {
    case 1001:
        CreateFolderWithParents(m_installDir);
        DEBUG_LOG_AS(kDownloadTag, L"DL_CODE_START\r\n");
        break;
    case 1002:
        DEBUG_LOG_AS(kDownloadTag, L"DL_CODE_PROGRESS\r\n");
        break;
    case 1003:
        DEBUG_LOG_AS(kDownloadTag, L"DOWNLOAD_SUCCESS\r\n");
        if (!m_stopping) m_installer->Start(m_downloader->TakePackageLock());
        DEBUG_LOG_AS(kDownloadTag, L"DL_CODE_SUCCESS\r\n");
        break;
    case 1004:
        DeleteFileW(m_downloadPath.c_str());
        if (!LastFailedPackage().empty()) DeleteFileW(LastFailedPackage().c_str());
        LastFailedPackage() = m_downloadPath;
        DEBUG_LOG_AS(kDownloadTag, L"DL_CODE_FAIL\r\n");
        break;
    case 1005:
        DEBUG_LOG_AS(kDownloadTag, L"DL_CODE_RETRY\r\n");
        if (!m_stopping) m_downloader->Start();
        break;
    default:
        break;
    }
}

void CDownloadInstaller::OnUninstallEvent(int code, double progress, const wchar_t* message) {
    Forward(code, progress, message);
    switch (code) {
    case 5001: DEBUG_LOG_AS(kUninstallTag, L"UNIST_CODE_START\r\n"); break;
    case 5002: DEBUG_LOG_AS(kUninstallTag, L"UNIST_CODE_PROGRESS\r\n"); break;
    case 5003:
        DEBUG_LOG_AS(kUninstallTag, L"UNIST_CODE_SUCCESS\r\n");
        if (!m_stopping && m_installer && m_downloader) m_downloader->Start();
        break;
    case 5004: DEBUG_LOG_AS(kUninstallTag, L"UNIST_CODE_FAIL\r\n"); break;
    case 5005: DEBUG_LOG_AS(kUninstallTag, L"UNIST_CODE_ERROR\r\n"); break;
    default: break;
    }
}

void CDownloadInstaller::OnInstallEvent(int code, double progress, const wchar_t* message) {
    Forward(code, progress, message);
    switch (code) {
    case 2001: DEBUG_LOG_AS(kInstallTag, L"IST_CODE_START\r\n"); break;
    case 2002: DEBUG_LOG_AS(kInstallTag, L"IST_CODE_PROGRESS %f\r\n", progress); break;
    case 2003:
        DeleteFileW(m_downloadPath.c_str());
        DEBUG_LOG_AS(kInstallTag, L"INSTALL_SUCCESS\r\n");
        break;
    case 2004:
        DeleteFileW(m_downloadPath.c_str());
        DEBUG_LOG_AS(kInstallTag, L"IST_CODE_FAIL\r\n");
        break;
    default: break;
    }
}
