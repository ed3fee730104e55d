#include "skin/UICombo.h"

#include "skin/UIManager.h"

namespace Skin {
namespace {

// A menu item's text: "&" would underline the next character.
std::wstring MenuText(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L'&') out += L'&';
        out += c;
    }
    return out;
}

}  // namespace

bool CComboUI::Add(CControlUI* control) {
    if (!control) return false;
    control->SetParent(this);
    if (m_manager) control->SetManager(m_manager);
    m_items.emplace_back(control);
    return true;
}

CControlUI* CComboUI::GetItemAt(int index) const {
    if (index < 0 || index >= static_cast<int>(m_items.size())) return nullptr;
    return m_items[static_cast<size_t>(index)].get();
}

void CComboUI::SetManager(CUIManager* manager) {
    CButtonUI::SetManager(manager);
    for (const auto& item : m_items) item->SetManager(manager);
}

std::wstring CComboUI::GetItemText(int index) const {
    const CControlUI* item = GetItemAt(index);
    return item ? item->GetText() : std::wstring();
}

std::wstring CComboUI::GetText() const { return GetItemText(m_curSel); }

bool CComboUI::SelectItem(int index, bool takeFocus, bool notify) {
    if (index < 0 || index >= GetCount()) return false;
    if (takeFocus) SetFocus();
    if (index == m_curSel) return true;
    const int old = m_curSel;
    m_curSel = index;
    Invalidate();
    if (notify && m_manager)
        m_manager->SendNotify(this, L"itemselect", static_cast<WPARAM>(index),
                              static_cast<LPARAM>(old));
    return true;
}

void CComboUI::Event(const UIEventArgs& event) {
    const bool arrow = event.wParam == VK_UP || event.wParam == VK_DOWN;
    if (m_enabled && event.type == UIEvent::Key && arrow) {
        const int next = m_curSel + (event.wParam == VK_UP ? -1 : 1);
        if (m_curSel >= 0) SelectItem(next);
        else if (GetCount() > 0) SelectItem(0);
        return;
    }
    CButtonUI::Event(event);
}

void CComboUI::Activate() {
    if (!m_manager || !m_enabled || m_items.empty()) return;
    const int picked = TrackDropDown();
    if (picked >= 0) SelectItem(picked, true, true);
}

int CComboUI::TrackDropDown() {
    HWND window = m_manager->GetPaintWindow();
    if (!window) return -1;
    HMENU menu = CreatePopupMenu();
    if (!menu) return -1;
    for (size_t i = 0; i < m_items.size(); ++i) {
        UINT flags = MF_STRING;
        if (static_cast<int>(i) == m_curSel) flags |= MF_CHECKED;
        if (!m_items[i]->IsEnabled()) flags |= MF_GRAYED;
        const std::wstring text = MenuText(CUIManager::ApplyLanguage(m_items[i]->GetText()));
        AppendMenuW(menu, flags, static_cast<UINT_PTR>(i + 1), text.c_str());
    }
    // Under the box, or above it where the screen ends below.
    POINT corners[2] = {{m_rect.left, m_rect.top}, {m_rect.right, m_rect.bottom}};
    MapWindowPoints(window, nullptr, corners, 2);
    TPMPARAMS around = {sizeof around, {corners[0].x, corners[0].y, corners[1].x, corners[1].y}};
    // A popup menu of a window that is not in the foreground would not close on clicks
    // elsewhere; the posted message ends the menu's loop cleanly afterwards.
    SetForegroundWindow(window);
    const UINT picked = static_cast<UINT>(TrackPopupMenuEx(
        menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD | TPM_NONOTIFY |
                  TPM_LEFTBUTTON,
        corners[0].x, corners[1].y, window, &around));
    PostMessageW(window, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return picked >= 1 && picked <= m_items.size() ? static_cast<int>(picked - 1) : -1;
}

void CComboUI::PaintText(HDC dc) {
    if (m_curSel < 0) return;
    DrawText(dc, CurrentTextColor(), GetItemText(m_curSel));
}

}  // namespace Skin
