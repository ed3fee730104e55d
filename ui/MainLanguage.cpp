// The window's language: the box's choice, the previous installation's, the user's.
#include "app/InstallerConfig.h"
#include "app/LanguageFile.h"
#include "app/LanguageTable.h"
#include "skin/UICombo.h"
#include "ui/MainWnd.h"

using namespace Skin;

void CMainWnd::SetUpLanguage() {
    int index = TheInstallerConfig().LanguageIndex;
    if (index == -1) index = LanguageIndexForUiLanguage(GetUserDefaultUILanguage());
    // The box reports "itemselect", which applies the language once more.
    m_languageCombo->SelectItem(index, false, true);
    ApplyLanguageAt(index);
}

void CMainWnd::ApplyLanguageAt(int index) {
    const int used = ApplyLanguage(index, std::wstring());
    m_manager.NeedUpdate();
    if (m_manager.GetRoot()) m_manager.GetRoot()->Invalidate();
    for (const wchar_t* name : {L"lbLanguage", L"lbInstallPath", L"backBtn"}) {
        CControlUI* label = m_manager.FindControl(name);
        if (!label) continue;
        const Size extent = m_manager.Measure().LineExtent(
            CUIManager::ApplyLanguage(label->GetText()), label->Layout().font);
        label->SetFixedWidth(extent.cx + label->Layout().textPadding.left);
    }
    TheInstallerConfig().LanguageIndex = used;
}

void CMainWnd::ApplyPreviousLanguage() {
    const std::wstring code = PreviousInstallLanguage(m_session->PreviousInstallDir());
    const int index = ApplyLanguage(0, code);
    m_manager.NeedUpdate();
    if (m_manager.GetRoot()) m_manager.GetRoot()->Invalidate();
    if (m_languageCombo) m_languageCombo->SelectItem(index, false, true);
}

std::wstring CMainWnd::LanguageCodeOf() const {
    if (!m_languageCombo) return std::wstring();
    const char* code = LanguageCodeAt(m_languageCombo->GetCurSel());
    return code ? std::wstring(code, code + strlen(code)) : std::wstring();
}
