#pragma once
#include <cstdint>

#include "skin/TextAlignment.h"
#include "skin/UIControl.h"

namespace Skin {

// Text (one line or wrapped) with alignment, font, colour and padding, over the background.
class CLabelUI : public CControlUI {
public:
    CLabelUI();
    const wchar_t* GetClass() const override { return L"Label"; }
    SizeRule Rule() const override { return SizeRule::Text; }
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;

protected:
    void PaintText(HDC dc) override;
    // The colour the text is drawn in now (buttons vary it by state).
    virtual std::uint32_t CurrentTextColor() const;
    void DrawText(HDC dc, std::uint32_t color);
    // Another text in the label's place, font and alignment ("%{n}" markers replaced).
    void DrawText(HDC dc, std::uint32_t color, const std::wstring& text);

    HorizontalAlign m_align = HorizontalAlign::Left;
    VerticalAlign m_valign = VerticalAlign::Center;
    std::uint32_t m_textColor = 0;
};

}  // namespace Skin
