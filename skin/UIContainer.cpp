#include "skin/UIContainer.h"

#include "skin/UIManager.h"

namespace Skin {

bool CContainerUI::Add(CControlUI* control) {
    if (!control) return false;
    control->SetParent(this);
    if (m_manager) control->SetManager(m_manager);
    m_items.emplace_back(control);
    NeedParentUpdate();
    return true;
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    if (index < 0 || index >= static_cast<int>(m_items.size())) return nullptr;
    return m_items[static_cast<size_t>(index)].get();
}

void CContainerUI::SetManager(CUIManager* manager) {
    CControlUI::SetManager(manager);
    for (const auto& item : m_items) item->SetManager(manager);
}

void CContainerUI::PaintChildren(HDC dc, const RECT& paint) {
    for (const auto& item : m_items)
        if (item->IsVisible()) item->DoPaint(dc, paint);
}

void CTabLayoutUI::InitPages() {
    m_curSel = -1;
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_curSel < 0 && m_items[i]->IsVisible()) {
            m_curSel = static_cast<int>(i);
            continue;
        }
        m_items[i]->Layout().visible = false;
    }
}

bool CTabLayoutUI::SelectItem(int index) {
    if (index < 0 || index >= static_cast<int>(m_items.size())) return false;
    if (index == m_curSel) return true;
    const int old = m_curSel;
    m_curSel = index;
    for (size_t i = 0; i < m_items.size(); ++i)
        m_items[i]->SetVisible(static_cast<int>(i) == index);
    NeedParentUpdate();
    if (m_manager) {
        m_manager->Relayout();
        m_manager->SendNotify(this, L"tabselect", static_cast<WPARAM>(index),
                              static_cast<LPARAM>(old));
    }
    return true;
}

}  // namespace Skin
