#include "ui/MainWnd.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "app/InstallerConfig.h"
#include "skin/SkinFiles.h"
#include "skin/UICombo.h"
#include "skin/UISequence.h"
#include "sys/Thread.h"
#include "ui/FolderChoice.h"
#include "ui/PipelineEvent.h"
#include "ui/Prompts.h"

using namespace Skin;

namespace {

const wchar_t kProductName[] = L"Tallowmere";
// The maker's terms of use, opened in the user's browser.
const wchar_t kTermsUrl[] = L"https://dl.tallowmere.example/terms";
const int kIconId = 145;

bool IsSequenceLabel(CControlUI* control) {
    return control && wcscmp(control->GetClass(), L"SequenceLabel") == 0;
}

}  // namespace

CMainWnd::CMainWnd() : CSkinFrame(DescribeFrame(L"MainWnd.xml")), m_tick([] {
    return static_cast<std::uint32_t>(GetTickCount());
}) {}

CMainWnd::~CMainWnd() {
    m_postTarget = nullptr;
    const bool opened = m_session != nullptr;
    const InstallOutcome outcome = opened ? m_session->Outcome() : InstallOutcome::NotAttempted;
    m_session.reset();         // waits for a running install or uninstall
    m_netCheckWorker.reset();  // waits for the network check
    if (opened) LogInstallOutcome(outcome, 0);  // the window's exit code stays 0
}

template <typename T>
T* CMainWnd::Find(const wchar_t* name) const {
    return dynamic_cast<T*>(m_manager.FindControl(name));
}

int CMainWnd::CurrentPage() const { return m_mainTab ? m_mainTab->GetCurSel() : -1; }

void CMainWnd::FindControls() {
    m_winCtn = m_manager.FindControl(L"winCtn");
    m_titleTab = Find<CTabLayoutUI>(L"titleTabLt");
    m_mainTab = Find<CTabLayoutUI>(L"mainTabLt");
    m_defaultInstallBtn = Find<CButtonUI>(L"defaultInstallBtn");
    m_customeInstallBtn = Find<CButtonUI>(L"customeInstallBtn");
    m_customeBtn = Find<CButtonUI>(L"customeBtn");
    m_treatyBtn = Find<COptionUI>(L"treatyBtn");
    m_backBtn = Find<CButtonUI>(L"backBtn");
    m_treatyCb = Find<COptionUI>(L"treatyCb");
    m_serviceCb = Find<COptionUI>(L"serviceCb");
    m_chDirBtn = Find<CButtonUI>(L"chDirBtn");
    m_installDirEdit = Find<CEditUI>(L"installDirEdit");
    m_openProduceBtn = Find<CButtonUI>(L"openProduceBtn");
    m_titleGrpCtn = m_manager.FindControl(L"titleGrpCtn");
    m_progressLb = m_manager.FindControl(L"progressLb");
    m_createDSCb = Find<COptionUI>(L"createDSCb");
    m_createQSCb = Find<COptionUI>(L"createQSCb");
    m_progressAnLb = m_manager.FindControl(L"progressAnLb");
    m_finishedLbl = m_manager.FindControl(L"finishedLbl");
    m_installPrg = Find<CProgressUI>(L"installPrg");
    m_tipLbl = m_manager.FindControl(L"tipLbl");
    m_softNameLbl = m_manager.FindControl(L"softNameLbl");
    m_installLogo = m_manager.FindControl(L"installLogo");
    m_languageCombo = Find<CComboUI>(L"languageCombo");
}

void CMainWnd::InitWindow() {
    CSkinFrame::InitWindow();  // the drop shadow
    LONG style = GetWindowLongW(m_hwnd, GWL_STYLE);
    SetWindowLongW(m_hwnd, GWL_STYLE,
                   (style & ~WS_CAPTION & ~WS_MAXIMIZEBOX) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    SetWindowLongW(m_hwnd, GWL_EXSTYLE, GetWindowLongW(m_hwnd, GWL_EXSTYLE) & ~WS_EX_TOPMOST);
    HINSTANCE instance = SkinResources().GetInstance();
    if (!instance) instance = GetModuleHandleW(nullptr);
    // The icons are kept for the process's life, as the window shows them until it ends.
    if (HANDLE big = LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0))
        SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    if (HANDLE small = LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0))
        SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));

    FindControls();
    if (m_languageCombo) SetUpLanguage();
    FitProductName(m_softNameLbl);
    for (const wchar_t* name : {L"bTitleLbl1", L"bTitleLbl2", L"bTitleLbl3"})
        FitProductName(m_manager.FindControl(name));

    m_postTarget = m_hwnd;
    m_session.reset(new CInstallSession(MakeEventPoster(&m_postTarget)));
    m_session->ReadPreviousInstall();
    std::wstring folder = m_session->Records().GetDefaultInstallDir();  // the flags, too
    const std::wstring& chosen = TheInstallerConfig().InstDir;          // "-instdir"
    if (!chosen.empty()) folder = chosen;
    if (m_installDirEdit) m_installDirEdit->SetText(folder);
    CenterWindow();
    if (m_session->HasPreviousInstall()) HandleExistingInstall();
}

void CMainWnd::OnFinalMessage() { m_postTarget = nullptr; }

void CMainWnd::FitProductName(CControlUI* label) {
    if (!label) return;
    const Size extent = m_manager.Measure().LineExtent(kProductName, label->Layout().font);
    label->SetFixedWidth(extent.cx);
    label->SetText(kProductName);
}

CControlUI* CMainWnd::CreateControl(const wchar_t* className) {
    if (_wcsicmp(className, L"SequenceButton") == 0) return new CSequenceButtonUI;
    if (_wcsicmp(className, L"SequenceLabel") == 0) return new CSequenceLabelUI;
    return nullptr;
}

void CMainWnd::Notify(UINotification& msg) {
    const std::wstring& type = msg.sType;
    if (type == L"selectchanged") {
        OnSelectChanged(msg.pSender);
    } else if (type == L"tabselect") {
        DecoratePage();
    } else if (type == L"checknet") {
        OnCheckNet(msg.wParam);
    } else if (type == L"install") {
        OnInstallGoAhead(msg.wParam);
    } else if (type == L"timer" && msg.pSender && msg.pSender == m_manager.GetRoot()) {
        OnRootTimer(msg.wParam);
    } else if (type == L"itemselect" && m_languageCombo && msg.pSender == m_languageCombo) {
        ApplyLanguageAt(m_languageCombo->GetCurSel());
    }
    CSkinFrame::Notify(msg);  // "click" goes on to OnClick
}

void CMainWnd::OnSelectChanged(CControlUI* sender) {
    if (!sender) return;
    if (sender == m_treatyCb) {
        const bool accepted = m_treatyCb->IsSelected();
        if (m_treatyBtn) m_treatyBtn->Selected(accepted, true);
        const bool service = !m_serviceCb || m_serviceCb->IsSelected();
        if (accepted && service) {
            if (m_customeBtn) m_customeBtn->SetEnabled(true);
            if (m_tipLbl) m_tipLbl->SetVisible(false);
        } else if (m_customeBtn) {
            m_customeBtn->SetEnabled(false);
        }
    } else if (m_serviceCb && sender == m_serviceCb) {
        const bool service = m_serviceCb->IsSelected();
        const bool accepted = m_treatyCb && m_treatyCb->IsSelected();
        if (m_customeBtn) m_customeBtn->SetEnabled(service && accepted);
        if (m_defaultInstallBtn) m_defaultInstallBtn->SetEnabled(service);
    } else if (m_treatyBtn && sender == m_treatyBtn) {
        // The terms link looks like a check box; its own tick never sticks.
        m_treatyBtn->Selected(m_treatyCb && m_treatyCb->IsSelected(), true);
    }
}

void CMainWnd::DecoratePage() {
    const int page = CurrentPage();
    const wchar_t* background = L"res\\mainWnd\\bg1.png";
    int titlePage = 0;
    switch (page) {
    case 0: titlePage = 1; break;
    case 1: background = L"res\\mainWnd\\bg2.png"; titlePage = 1; break;
    case 2: background = L"res\\mainWnd\\bg3.png"; titlePage = -1; break;
    case 3: background = L"res\\mainWnd\\bg4.png"; titlePage = 2; break;
    default: break;
    }
    if (m_winCtn) {
        m_winCtn->SetBkImage(background);
        m_winCtn->Invalidate();
    }
    if (m_titleTab && titlePage >= 0) m_titleTab->SelectItem(titlePage);
    if (page == 2 && IsSequenceLabel(m_progressAnLb))
        static_cast<CSequenceLabelUI*>(m_progressAnLb)->StartSequence();
    if (page == 3) {
        if (IsSequenceLabel(m_progressAnLb))
            static_cast<CSequenceLabelUI*>(m_progressAnLb)->StopSequence();
        if (IsSequenceLabel(m_finishedLbl))
            static_cast<CSequenceLabelUI*>(m_finishedLbl)->StartSequence();
    }
    if (m_titleGrpCtn) m_titleGrpCtn->SetVisible(page != 2);
    if (m_installLogo) m_installLogo->SetVisible(page == 2);
    if (m_backBtn) m_backBtn->SetVisible(page == 1);
}

void CMainWnd::OnRootTimer(WPARAM id) {
    CControlUI* root = m_manager.GetRoot();
    if (id == 10) {
        SetForegroundWindow(m_hwnd);
        m_manager.KillTimer(root, 10);
    } else if (id == 11) {
        Close(1);
        m_manager.KillTimer(root, 11);
    }
}

void CMainWnd::OnClick(UINotification& msg) {
    CControlUI* sender = msg.pSender;
    if (!sender) return;
    if (sender == m_defaultInstallBtn) {
        if (m_treatyCb && m_treatyCb->IsSelected()) {
            StartInstall(m_session->Records().GetDefaultInstallDir(), true, true);
        } else if (m_tipLbl) {
            m_tipLbl->SetVisible(true);
        }
    } else if (sender == m_customeBtn) {
        if (m_mainTab) m_mainTab->SelectItem(1);
        if (m_customeInstallBtn) m_customeInstallBtn->SetFocus();
    } else if (sender == m_treatyBtn) {
        ShellExecuteW(nullptr, L"open", kTermsUrl, nullptr, nullptr, SW_SHOWMAXIMIZED);
    } else if (sender == m_backBtn) {
        if (m_mainTab) m_mainTab->SelectItem(0);
    } else if (sender == m_chDirBtn) {
        PickFolder();
    } else if (sender == m_customeInstallBtn) {
        const std::wstring typed = m_installDirEdit ? m_installDirEdit->GetText() : std::wstring();
        StartInstall(m_session->Records().ResolveInstallDir(typed),
                     m_createDSCb && m_createDSCb->IsSelected(),
                     m_createQSCb && m_createQSCb->IsSelected());
    } else if (sender == m_openProduceBtn) {
        if (m_session->StartupStyle() == 2) LaunchProduct();
        Close(1);
    } else if (sender->GetName() == L"closebtn") {
        if (CurrentPage() == 3) Close(1);
        else if (ShowPrompt(m_hwnd, Prompt::ConfirmExit) == 0) Close(1);
    } else {
        CSkinFrame::OnClick(msg);
    }
}

void CMainWnd::PickFolder() {
    // The new-style browser needs COM on this thread.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW info = {};
    info.hwndOwner = m_hwnd;
    info.pszDisplayName = displayName;
    info.lpszTitle = L"选择一个文件夹";
    info.ulFlags = BIF_NEWDIALOGSTYLE;
    if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
        wchar_t path[MAX_PATH] = {};
        std::wstring joined;
        if (SHGetPathFromIDListW(list, path) && JoinPickedFolder(path, joined) && m_installDirEdit)
            m_installDirEdit->SetText(joined);
        CoTaskMemFree(list);
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

LRESULT CMainWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // No way out while installing.
    if (message == WM_CLOSE && CurrentPage() == 2) return 0;
    return CSkinFrame::HandleMessage(message, wParam, lParam);
}

LRESULT CMainWnd::HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = false;
    if (message == WM_TIMER) {
        OnTimerMessage(wParam, lParam);
    } else if (message == kPipelineEventMessage) {
        OnPipelineEvent(reinterpret_cast<PipelineEvent*>(lParam));
        handled = true;
        return 0;
    } else if (message == kFlowMessage) {
        m_manager.SendNotify(m_manager.GetRoot(), lParam == kCheckNet ? L"checknet" : L"install",
                             wParam);
        handled = true;
        return 0;
    }
    return CSkinFrame::HandleCustomMessage(message, wParam, lParam, handled);
}
