#pragma once
#include <memory>
#include <vector>

#include "skin/UIControl.h"

namespace Skin {

class IContainerUI {
public:
    virtual ~IContainerUI() = default;
    virtual bool Add(CControlUI* control) = 0;  // takes ownership; false refuses it
};

// A control with children, drawn after the container itself.
class CContainerUI : public CControlUI, public IContainerUI {
public:
    const wchar_t* GetClass() const override { return L"Container"; }
    LayoutKind Kind() const override { return LayoutKind::Vertical; }
    bool Add(CControlUI* control) override;
    int GetCount() const override { return static_cast<int>(m_items.size()); }
    CControlUI* GetItemAt(int index) const override;
    void SetManager(CUIManager* manager) override;

protected:
    void PaintChildren(HDC dc, const RECT& paint) override;
    std::vector<std::unique_ptr<CControlUI>> m_items;
};

class CVerticalLayoutUI : public CContainerUI {
public:
    const wchar_t* GetClass() const override { return L"VerticalLayout"; }
    LayoutKind Kind() const override { return LayoutKind::Vertical; }
};

class CHorizontalLayoutUI : public CContainerUI {
public:
    const wchar_t* GetClass() const override { return L"HorizontalLayout"; }
    LayoutKind Kind() const override { return LayoutKind::Horizontal; }
};

// Shows one child (page) at a time. The first visible child becomes the current page once
// the tree is built; later children are hidden.
class CTabLayoutUI : public CContainerUI {
public:
    const wchar_t* GetClass() const override { return L"TabLayout"; }
    LayoutKind Kind() const override { return LayoutKind::Tab; }
    // Makes the first visible child the current page and hides the others (no notification).
    void InitPages();
    // Out of range: false, nothing changes. The current page: true, nothing is sent.
    // Otherwise shows the page, hides the others, lays out again and sends "tabselect".
    bool SelectItem(int index);
    int GetCurSel() const { return m_curSel; }

private:
    int m_curSel = -1;
};

}  // namespace Skin
