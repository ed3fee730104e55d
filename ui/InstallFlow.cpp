// The installation as the main window runs it: the checks before a start (CInstallSession),
// the pipeline's events as progress, pages and prompts, and what follows a success or a
// failure.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "app/InstallerConfig.h"
#include "skin/SkinFiles.h"
#include "sys/NetworkCheck.h"
#include "sys/Thread.h"
#include "ui/MainWnd.h"
#include "ui/PipelineEvent.h"
#include "ui/Prompts.h"

using namespace Skin;

namespace {

const wchar_t kProductExe[] = L"quillmoss.exe";

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
    const std::wstring previous = m_session->PreviousInstallDir();
    if (CInstallSession::ProductRunning()) {
        if (insNew) {
            StartInstall(previous, true, true);
        } else {
            m_session->NoteOutcome(InstallOutcome::ProductRunning);
            ShowPrompt(m_hwnd, Prompt::ProductRunning);
            Close(1);
        }
        return;
    }
    if (insNew) {
        StartInstall(previous, true, true);
        return;
    }
    switch (ShowPrompt(m_hwnd, Prompt::AlreadyInstalled)) {
    case 0:
        StartInstall(previous, true, true);
        break;
    case 1:
        m_session->SetExePath(previous + L"\\" + kProductExe);
        ShellExecuteW(nullptr, L"open", m_session->ExePath().c_str(), nullptr, previous.c_str(),
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
    bool uninstallerCopy = false;
    const InstallOutcome running = m_session->CheckProcesses(&uninstallerCopy);
    if (running != InstallOutcome::Installed) {
        // the old uninstaller copy closes the window only over an earlier installation, the
        // product always
        const bool closes = !uninstallerCopy || m_session->HasPreviousInstall();
        m_session->NoteOutcome(running);
        ShowPrompt(m_hwnd, Prompt::ProductRunning);
        if (closes) Close(1);
        return false;
    }
    SetInstallButtonsEnabled(false);  // until the "install" notification
    CControlUI* root = m_manager.GetRoot();
    const InstallOutcome place = m_session->CheckFolder(folder);
    if (place != InstallOutcome::Installed) {
        m_session->NoteOutcome(place);
        ShowPrompt(m_hwnd, place == InstallOutcome::InvalidFolder ? Prompt::InvalidFolder
                                                                  : Prompt::LowDiskSpace);
        m_manager.SendNotify(root, L"install", 0);
        return false;
    }
    m_session->Prepare(folder, desktopShortcut, quickLaunch, LanguageCodeOf());
    if (TheInstallerConfig().IsCheckNet) {
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
    const bool offline = CInstallSession::IsOffline(static_cast<std::uint32_t>(result));
    if (offline) {
        m_session->NoteOutcome(InstallOutcome::NoNetwork);
        ShowPrompt(m_hwnd, Prompt::NoNetwork);
    }
    m_manager.SendNotify(m_manager.GetRoot(), L"install", offline ? 0 : 1);
}

void CMainWnd::OnInstallGoAhead(WPARAM goAhead) {
    if (goAhead) {
        m_startPage = CurrentPage();
        if (m_mainTab) m_mainTab->SelectItem(2);
        m_session->StartPipeline();
    }
    SetInstallButtonsEnabled(true);
}

void CMainWnd::OnPipelineEvent(PipelineEvent* event) {
    if (!event) return;
    std::unique_ptr<PipelineEvent> record(event);
    const double scale = TheInstallerConfig().DownloadScale;
    switch (m_session->Apply(*record)) {
    case EventMeaning::DownloadStarted:
        m_installClockStart = m_tick();
        m_installClockRunning = true;
        break;
    case EventMeaning::DownloadFailed:
        m_session->NoteOutcome(InstallOutcome::DownloadFailed);
        OnDownloadFailed();
        break;
    case EventMeaning::Succeeded:
        m_session->NoteOutcome(InstallOutcome::Installed);
        Finish();
        break;
    case EventMeaning::PackageFailed:
        m_session->NoteOutcome(InstallOutcome::PackageFailed);
        OnInstallFailed(record->message);
        break;
    case EventMeaning::PackageMessage:
        ShowPrompt(m_hwnd, Prompt::PackageMessage, record->message);
        break;
    case EventMeaning::UninstallFailed:
        m_session->NoteOutcome(InstallOutcome::UninstallFailed);
        OnUninstallFailed();
        break;
    case EventMeaning::Continue:
        // progress; 1003, 1005, 1006, 3000 to 3008, 5001 to 5003: nothing to show
        if (record->code == 1002) ShowProgress(DownloadPercent(record->value, scale));
        else if (record->code == 2002) ShowProgress(m_installProgress.Step(record->value, scale));
        break;
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
            StartInstall(m_session->Records().GetDefaultInstallDir(), true, true);
        } else if (m_startPage == 1) {
            const std::wstring typed = m_installDirEdit ? m_installDirEdit->GetText() : L"";
            StartInstall(m_session->Records().ResolveInstallDir(typed),
                         m_createDSCb && m_createDSCb->IsSelected(),
                         m_createQSCb && m_createQSCb->IsSelected());
        }
        break;
    case 1:
        if (m_session->HasPreviousInstall()) Close(1);
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
    if (m_session->HasPreviousInstall()) Close(1);
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
    m_session->RecordFinish();
    if (m_session->StartupStyle() == 1) LaunchProduct();
    CControlUI* root = m_manager.GetRoot();
    const std::uint32_t topShow = m_session->TopShowDetention();
    const std::uint32_t finishClose = m_session->FinishCloseDetention();
    if (topShow != 0) m_manager.SetTimer(root, 10, topShow);
    // The default (the largest count) means "never": no timer at all, rather than one the
    // system would cut to about 24.8 days.
    if (finishClose != 0 && finishClose != 4294967295u)
        m_manager.SetTimer(root, 11, finishClose > USER_TIMER_MAXIMUM ? USER_TIMER_MAXIMUM
                                                                      : finishClose);
}

void CMainWnd::LaunchProduct() {
    const std::wstring startUrl = m_session->StartUrl();
    const std::wstring exePath = m_session->ExePath();
    if (startUrl.size() > 5)
        ShellExecuteW(nullptr, L"open", startUrl.c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
    const DWORD attributes = exePath.empty() ? INVALID_FILE_ATTRIBUTES
                                             : GetFileAttributesW(exePath.c_str());
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
    ShellExecuteW(nullptr, L"open", exePath.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
