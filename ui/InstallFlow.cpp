// The installation as the main window runs it: the checks before a start, the pipeline's
// events as progress, pages and prompts, and what follows a success or a failure.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cmath>
#include <cstdlib>

#include "app/InstallerConfig.h"
#include "install/DownloadInstaller.h"
#include "install/SystemHelpers.h"
#include "skin/SkinFiles.h"
#include "sys/HardDiskManager.h"
#include "sys/NetworkCheck.h"
#include "sys/Thread.h"
#include "ui/MainWnd.h"
#include "ui/PipelineEvent.h"
#include "ui/Prompts.h"

using namespace Skin;

namespace {

const wchar_t kProductExe[] = L"quillmoss.exe";
const wchar_t kUninstallerCopy[] = L"quillmoss_un_asa.exe";
const double kGiB = 1073741824.0;

// A package's millisecond figure as the 32-bit unsigned count it stands for (negative values
// wrap, as -1 meaning "the longest" does); NaN counts as 0.
std::uint32_t ToMilliseconds(double value) {
    if (!(value == value)) return 0;
    if (value >= 4294967295.0) return 4294967295u;
    if (value <= -2147483648.0) return 0x80000000u;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(value));
}

int ToStartupStyle(double value) {
    if (!(value >= 0.0) || value >= 3.0) return 0;
    return static_cast<int>(value);
}

}  // namespace

void CMainWnd::PostFlow(FlowNotification type, WPARAM wParam) {
    const HWND window = m_postTarget.load();
    if (window) PostMessageW(window, kFlowMessage, wParam, static_cast<LPARAM>(type));
}

void CMainWnd::SetInstallButtonsEnabled(bool enabled) {
    // Both, so that a second click cannot start the pipeline twice.
    if (m_customeInstallBtn) m_customeInstallBtn->SetEnabled(enabled);
    if (m_defaultInstallBtn) m_defaultInstallBtn->SetEnabled(enabled);
}

void CMainWnd::HandleExistingInstall() {
    ApplyPreviousLanguage();
    const bool insNew = TheInstallerConfig().InsNew;
    if (FindRunningProcess(kProductExe)) {
        if (insNew) {
            StartInstall(m_prevInstallPath, true, true);
        } else {
            ShowPrompt(m_hwnd, Prompt::ProductRunning);
            Close(1);
        }
        return;
    }
    if (insNew) {
        StartInstall(m_prevInstallPath, true, true);
        return;
    }
    switch (ShowPrompt(m_hwnd, Prompt::AlreadyInstalled)) {
    case 0:
        StartInstall(m_prevInstallPath, true, true);
        break;
    case 1:
        ExePath = m_prevInstallPath + L"\\" + kProductExe;
        ShellExecuteW(nullptr, L"open", ExePath.c_str(), nullptr, m_prevInstallPath.c_str(),
                      SW_SHOWNORMAL);
        Close(1);
        break;
    case 2:
        Close(1);
        break;
    default:
        break;
    }
}

bool CMainWnd::StartInstall(const std::wstring& folder, bool desktopShortcut, bool quickLaunch) {
    const InstallerConfig& config = TheInstallerConfig();
    if (!config.InsNew && FindRunningProcess(kUninstallerCopy)) {
        ShowPrompt(m_hwnd, Prompt::ProductRunning);
        if (m_hasPrevInstall) Close(1);
        return false;
    }
    if (!config.InsNew && FindRunningProcess(kProductExe)) {
        ShowPrompt(m_hwnd, Prompt::ProductRunning);
        Close(1);
        return false;
    }
    SetInstallButtonsEnabled(false);  // until the "install" notification
    CControlUI* root = m_manager.GetRoot();
    if (!CreateFolderWithParents(folder)) {
        ShowPrompt(m_hwnd, Prompt::InvalidFolder);
        m_manager.SendNotify(root, L"install", 0);
        return false;
    }
    // The drive the folder is on ("C:"); a path without a drive letter (a share) is asked
    // about itself, as it exists by now.
    wchar_t drive[_MAX_DRIVE] = {};
    _wsplitpath_s(folder.c_str(), drive, _MAX_DRIVE, nullptr, 0, nullptr, 0, nullptr, 0);
    Utils::HardDiskManager disk;  // counts start at 0, and a failed query leaves them there
    disk.CheckFreeSpace(drive[0] ? std::wstring(drive) : folder);
    if (static_cast<double>(disk.freeBytesAvailable) / kGiB < 1.0) {
        ShowPrompt(m_hwnd, Prompt::LowDiskSpace);
        m_manager.SendNotify(root, L"install", 0);
        return false;
    }
    InstPath = folder;
    m_records.installDir = folder;
    const std::wstring oldUninstaller =
        m_records.IsOverrideDisabled(folder) ? std::wstring() : m_prevUninstEp;
    m_pipeline->SetParams(config.DownloadUrl, oldUninstaller, folder, desktopShortcut,
                          quickLaunch, m_records.adminAccount, m_records.elevated, LanguageCodeOf());
    if (config.IsCheckNet) {
        Utils::StartOwnedThread(m_netCheckWorker, this, L"ABDEF", [](void* owner) {
            CoInitialize(nullptr);
            const std::uint32_t result = Utils::CheckNetwork();
            static_cast<CMainWnd*>(owner)->PostFlow(kCheckNet, result);
            CoUninitialize();
        });
    } else {
        PostFlow(kInstall, 1);
    }
    return true;
}

void CMainWnd::OnCheckNet(WPARAM result) {
    const bool offline = ((static_cast<std::uint32_t>(result) >> 16) & 0xFFFF) != 0;
    if (offline) ShowPrompt(m_hwnd, Prompt::NoNetwork);
    m_manager.SendNotify(m_manager.GetRoot(), L"install", offline ? 0 : 1);
}

void CMainWnd::OnInstallGoAhead(WPARAM goAhead) {
    if (goAhead) {
        m_startPage = CurrentPage();
        if (m_mainTab) m_mainTab->SelectItem(2);
        m_pipeline->Start();
    }
    SetInstallButtonsEnabled(true);
}

void CMainWnd::OnPipelineEvent(PipelineEvent* event) {
    if (!event) return;
    std::unique_ptr<PipelineEvent> record(event);
    const double scale = TheInstallerConfig().DownloadScale;
    switch (record->code) {
    case 1001:  // download started
        m_installClockStart = m_tick();
        m_installClockRunning = true;
        break;
    case 1002: ShowProgress(DownloadPercent(record->value, scale)); break;
    case 1004: OnDownloadFailed(); break;
    case 2001: m_records.WriteIniRecords(); break;
    case 2002: ShowProgress(m_installProgress.Step(record->value, scale)); break;
    case 2003: Finish(); break;
    case 2004: OnInstallFailed(record->message); break;
    case 3000:
        InstPath = record->message;
        m_records.installDir = record->message;
        break;
    case 3001: ExePath = record->message; break;
    case 3003:
        UninstEp = record->message;
        m_records.uninstaller = record->message;
        break;
    case 3004: StartUrl = record->message; break;
    case 3005: StartupStyle = ToStartupStyle(record->value); break;
    case 3007: TopShowDetention = ToMilliseconds(record->value); break;
    case 3008: FinsihCloseDetention = ToMilliseconds(record->value); break;
    case 3009: ShowPrompt(m_hwnd, Prompt::PackageMessage, record->message); break;
    case 5004:
    case 5005: OnUninstallFailed(); break;
    default: break;  // 1003, 1005, 1006, 3002, 5001 to 5003: nothing to show
    }
}

void CMainWnd::ShowProgress(int percent) {
    const bool longWait = IsLongWait(m_installClockRunning, m_installClockStart, m_tick());
    if (m_progressLb)
        m_progressLb->SetText(FormatProgressText(m_progressLb->GetUserData(), longWait, percent));
    if (m_installPrg) m_installPrg->SetValue(percent);
}

void CMainWnd::OnDownloadFailed() {
    switch (ShowPrompt(m_hwnd, Prompt::DownloadFailed)) {
    case 0:
        if (m_startPage == 0) {
            StartInstall(m_records.GetDefaultInstallDir(), true, true);
        } else if (m_startPage == 1) {
            const std::wstring typed = m_installDirEdit ? m_installDirEdit->GetText() : L"";
            StartInstall(m_records.ResolveInstallDir(typed),
                         m_createDSCb && m_createDSCb->IsSelected(),
                         m_createQSCb && m_createQSCb->IsSelected());
        }
        break;
    case 1:
        if (m_hasPrevInstall) Close(1);
        break;
    default:
        break;
    }
    if (m_mainTab) m_mainTab->SelectItem(m_startPage);
}

void CMainWnd::OnInstallFailed(const std::wstring& text) {
    ShowPrompt(m_hwnd, Prompt::PackageFailed, text);  // "安装失败" for an empty text
    if (m_installPrg && m_installPrg->GetValue() >= 70) {
        if (m_progressLb) m_progressLb->SetText(kProgressResetText);
        m_installPrg->SetValue(0);
    }
    if (m_mainTab) m_mainTab->SelectItem(0);
}

void CMainWnd::OnUninstallFailed() {
    ShowPrompt(m_hwnd, Prompt::UninstallFailed);
    if (m_mainTab) m_mainTab->SelectItem(m_startPage);
    if (m_hasPrevInstall) Close(1);
}

void CMainWnd::Finish() {
    if (m_installPrg) {
        m_installPrg->SetValue(100);
        // A finer fill image may lie beside the installer (not in the package).
        const std::wstring fill = L"res\\mainWnd\\installPrg3.png";
        if (PathFileExistsW((SkinResources().GetResourcePath() + fill).c_str())) {
            m_installPrg->SetForeImage(fill);
            m_installPrg->Invalidate();
        }
    }
    if (m_softNameLbl) {
        m_softNameLbl->SetText(L"Tallowmere");
        m_softNameLbl->SetVisible(true);
    }
    if (m_mainTab) m_mainTab->SelectItem(3);
    m_records.WriteRegistryRecord();
    m_records.WriteIniRecords();
    if (StartupStyle == 1) LaunchProduct();
    CControlUI* root = m_manager.GetRoot();
    if (TopShowDetention != 0) m_manager.SetTimer(root, 10, TopShowDetention);
    // The default (the largest count) means "never": no timer at all, rather than one the
    // system would cut to about 24.8 days.
    if (FinsihCloseDetention != 0 && FinsihCloseDetention != 4294967295u)
        m_manager.SetTimer(root, 11, FinsihCloseDetention > USER_TIMER_MAXIMUM
                                         ? USER_TIMER_MAXIMUM : FinsihCloseDetention);
}

void CMainWnd::LaunchProduct() {
    if (StartUrl.size() > 5)
        ShellExecuteW(nullptr, L"open", StartUrl.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
    const DWORD attributes = ExePath.empty() ? INVALID_FILE_ATTRIBUTES
                                             : GetFileAttributesW(ExePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    // Let the finished page paint before the product takes the screen: about 100 ms of the
    // thread's messages, never waiting longer for one that does not come.
    const DWORD start = timeGetTime();
    bool quit = false;
    WPARAM quitCode = 0;
    while (!quit && m_hwnd && IsWindow(m_hwnd)) {
        const DWORD elapsed = timeGetTime() - start;
        if (elapsed > 100) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100 - elapsed, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = msg.wParam;
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
    ShellExecuteW(nullptr, L"open", ExePath.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
