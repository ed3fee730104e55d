#pragma once
#include <string>

#include "skin/UIButton.h"
#include "skin/UIContainer.h"

namespace Skin {

// One entry of a combo box: a label that shows its text ("ListLabelElement").
class CListLabelElementUI : public CLabelUI {
public:
    const wchar_t* GetClass() const override { return L"ListLabelElement"; }
};

// A drop-down choice ("Combo"): its child elements are its items, which are neither laid out
// nor drawn themselves. The box draws like a button showing the current item's text ("%{n}"
// markers replaced); activating it (a click, space or return) opens a popup menu of the items'
// texts below the box, and picking one selects it. Up and down move the selection while the
// box has the focus.
class CComboUI : public CButtonUI, public IContainerUI {
public:
    const wchar_t* GetClass() const override { return L"Combo"; }
    LayoutKind Kind() const override { return LayoutKind::Control; }
    SizeRule Rule() const override { return SizeRule::Button; }

    bool Add(CControlUI* control) override;
    int GetCount() const override { return static_cast<int>(m_items.size()); }
    CControlUI* GetItemAt(int index) const override;
    void SetManager(CUIManager* manager) override;

    // The text of an item as written (markers kept); empty outside the items.
    std::wstring GetItemText(int index) const;
    // The current item's text, empty while none is selected.
    std::wstring GetText() const override;

    int GetCurSel() const { return m_curSel; }
    // Out of range: false, nothing changes. The current item: true, nothing is sent. Otherwise
    // the item becomes current (the box takes the focus when asked) and, when notify is true,
    // "itemselect" is sent with the new index as wParam and the old one as lParam.
    bool SelectItem(int index, bool takeFocus = false, bool notify = true);

    void Event(const UIEventArgs& event) override;
    void Activate() override;

protected:
    void PaintText(HDC dc) override;

private:
    // Shows the items as a popup menu under the box; the picked index, or -1.
    int TrackDropDown();

    std::vector<std::unique_ptr<CControlUI>> m_items;
    int m_curSel = -1;
};

}  // namespace Skin
