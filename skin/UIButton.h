#pragma once
#include <cstdint>

#include "skin/UILabel.h"

namespace Skin {

// A clickable label with state images and colours. Pushed while the left button is held down
// on it; activated ("click") when the button is released over it, or by space or return while
// it has the focus.
class CButtonUI : public CLabelUI {
public:
    CButtonUI();
    const wchar_t* GetClass() const override { return L"Button"; }
    SizeRule Rule() const override { return SizeRule::Button; }
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    bool WantsMouse() const override { return true; }
    void Event(const UIEventArgs& event) override;
    void SetEnabled(bool enabled) override;
    virtual void Activate();

    bool IsHot() const { return m_hot; }
    bool IsPushed() const { return m_pushed; }

protected:
    void PaintBkColor(HDC dc) override;
    void PaintStatusImage(HDC dc) override;
    std::uint32_t CurrentTextColor() const override;

    bool m_hot = false;
    bool m_pushed = false;
    std::wstring m_normalImage, m_hotImage, m_pushedImage, m_disabledImage;
    std::uint32_t m_hotBkColor = 0, m_pushedBkColor = 0;
    std::uint32_t m_hotTextColor = 0, m_pushedTextColor = 0;
};

// A two-state button: activation sends "click", flips the state, sends "selectchanged".
class COptionUI : public CButtonUI {
public:
    const wchar_t* GetClass() const override { return L"Option"; }
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void Activate() override;
    bool IsSelected() const { return m_selected; }
    // Sets the state; "selectchanged" is sent when it changes and notify is true.
    void Selected(bool selected, bool notify = true);

protected:
    void PaintStatusImage(HDC dc) override;
    std::uint32_t CurrentTextColor() const override;

    bool m_selected = false;
    std::wstring m_selectedImage;
    std::uint32_t m_selectedTextColor = 0;
};

class CCheckBoxUI : public COptionUI {
public:
    const wchar_t* GetClass() const override { return L"CheckBox"; }
};

}  // namespace Skin
