#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "skin/SkinFrame.h"
#include "skin/UIButton.h"
#include "skin/UIContainer.h"
#include "skin/UIEdit.h"
#include "skin/UIProgress.h"
#include "ui/InstallSession.h"
#include "ui/ProgressMath.h"

struct PipelineEvent;
namespace Utils {
class Thread;
}
namespace Skin {
class CComboUI;
}

// The installer's window: four pages (0 quick install, 1 custom install, 2 installing,
// 3 finished) in "mainTabLt", the title bar's "titleTabLt" and buttons. It owns the
// installation (CInstallSession: checks, pipeline, records) and the network check of the
// last attempt; both report to it only through posted messages, so every control changes on
// the UI thread.
class CMainWnd : public Skin::CSkinFrame {
public:
    CMainWnd();
    ~CMainWnd() override;

    void Notify(Skin::UINotification& msg) override;
    Skin::CControlUI* CreateControl(const wchar_t* className) override;

    // Starts an installation into folder after the checks; false when it was refused.
    bool StartInstall(const std::wstring& folder, bool desktopShortcut, bool quickLaunch);
    // One pipeline event, on the UI thread; frees the record.
    void OnPipelineEvent(PipelineEvent* event);

    // The clock the progress wording follows (milliseconds, wrapping); GetTickCount unless a
    // test replaces it.
    void SetTickSource(std::function<std::uint32_t()> tick) { m_tick = std::move(tick); }

    // The code of the language box's choice handed to the package; empty without a box.
    std::wstring LanguageCodeOf() const;

    // The page mainTabLt shows (-1 without it).
    int CurrentPage() const;

    // Notifications the flow posts to itself (lParam of kFlowMessage).
    static const UINT kFlowMessage = WM_USER + 1001;
    enum FlowNotification { kCheckNet = 1, kInstall = 2 };

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void InitWindow() override;
    void OnClick(Skin::UINotification& msg) override;
    LRESULT HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    void OnFinalMessage() override;
    virtual LRESULT OnTimerMessage(WPARAM, LPARAM) { return 0; }

private:
    template <typename T>
    T* Find(const wchar_t* name) const;
    void FindControls();
    void DecoratePage();
    void OnSelectChanged(Skin::CControlUI* sender);
    void OnRootTimer(WPARAM id);
    void PickFolder();
    void FitProductName(Skin::CControlUI* label);

    // The install flow.
    void HandleExistingInstall();
    void OnCheckNet(WPARAM result);
    void OnInstallGoAhead(WPARAM goAhead);
    void ShowProgress(int percent);
    void OnDownloadFailed();
    void OnInstallFailed(const std::wstring& text);
    void OnUninstallFailed();
    void Finish();
    void LaunchProduct();
    void PostFlow(FlowNotification type, WPARAM wParam);
    void SetInstallButtonsEnabled(bool enabled);

    // Language.
    void SetUpLanguage();
    void ApplyLanguageAt(int index);
    void ApplyPreviousLanguage();

    // Controls (null when the skin lacks one).
    Skin::CControlUI* m_winCtn = nullptr;
    Skin::CTabLayoutUI* m_titleTab = nullptr;
    Skin::CTabLayoutUI* m_mainTab = nullptr;
    Skin::CButtonUI* m_defaultInstallBtn = nullptr;
    Skin::CButtonUI* m_customeInstallBtn = nullptr;
    Skin::CButtonUI* m_customeBtn = nullptr;
    Skin::COptionUI* m_treatyBtn = nullptr;
    Skin::CButtonUI* m_backBtn = nullptr;
    Skin::COptionUI* m_treatyCb = nullptr;
    Skin::COptionUI* m_serviceCb = nullptr;
    Skin::CButtonUI* m_chDirBtn = nullptr;
    Skin::CEditUI* m_installDirEdit = nullptr;
    Skin::CButtonUI* m_openProduceBtn = nullptr;
    Skin::CControlUI* m_titleGrpCtn = nullptr;
    Skin::CControlUI* m_progressLb = nullptr;
    Skin::COptionUI* m_createDSCb = nullptr;
    Skin::COptionUI* m_createQSCb = nullptr;
    Skin::CControlUI* m_progressAnLb = nullptr;
    Skin::CControlUI* m_finishedLbl = nullptr;
    Skin::CProgressUI* m_installPrg = nullptr;
    Skin::CControlUI* m_tipLbl = nullptr;
    Skin::CControlUI* m_softNameLbl = nullptr;
    Skin::CControlUI* m_installLogo = nullptr;
    Skin::CComboUI* m_languageCombo = nullptr;

    std::unique_ptr<CInstallSession> m_session;  // from InitWindow on
    std::uint32_t m_installClockStart = 0;
    bool m_installClockRunning = false;
    std::unique_ptr<Utils::Thread> m_netCheckWorker;
    int m_startPage = 0;
    InstallProgress m_installProgress;
    std::function<std::uint32_t()> m_tick;
    std::atomic<HWND> m_postTarget{nullptr};  // where workers post; cleared with the window
};
