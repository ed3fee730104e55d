#include "skin/UILabel.h"

#include "skin/UIManager.h"
#include "skin/UIRender.h"
#include "skin/ValueSyntax.h"

namespace Skin {

CLabelUI::CLabelUI() = default;

void CLabelUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"align") m_align = ReadAlign(value, m_align);
    else if (name == L"valign") m_valign = ReadVerticalAlign(value, m_valign);
    else if (name == L"textcolor") m_textColor = ParseColour(value);
    else CControlUI::SetAttribute(name, value);
}

std::uint32_t CLabelUI::CurrentTextColor() const { return m_textColor; }

void CLabelUI::PaintText(HDC dc) { DrawText(dc, CurrentTextColor()); }

void CLabelUI::DrawText(HDC dc, std::uint32_t color) { DrawText(dc, color, m_layout.text); }

void CLabelUI::DrawText(HDC dc, std::uint32_t color, const std::wstring& shown) {
    if (shown.empty() || !m_manager) return;
    if (color == 0) color = m_manager->GetDefaultTextColor();
    RECT r = m_rect;
    r.left += m_layout.textPadding.left;
    r.top += m_layout.textPadding.top;
    r.right -= m_layout.textPadding.right;
    r.bottom -= m_layout.textPadding.bottom;
    UINT format = DT_NOPREFIX;
    switch (m_align) {
    case HorizontalAlign::Left: format |= DT_LEFT; break;
    case HorizontalAlign::Center: format |= DT_CENTER; break;
    case HorizontalAlign::Right: format |= DT_RIGHT; break;
    }
    const std::wstring text = CUIManager::ApplyLanguage(shown);
    HFONT old = static_cast<HFONT>(SelectObject(dc, m_manager->GetFont(m_layout.font)));
    SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ToColorRef(color));
    if (m_layout.multiline) {
        // Wrapped text is placed as a block inside the text rectangle.
        RECT measure = r;
        ::DrawTextW(dc, text.c_str(), -1, &measure, format | DT_WORDBREAK | DT_CALCRECT);
        const int height = measure.bottom - measure.top;
        if (m_valign == VerticalAlign::Center) r.top += (r.bottom - r.top - height) / 2;
        else if (m_valign == VerticalAlign::Bottom) r.top = r.bottom - height;
        ::DrawTextW(dc, text.c_str(), -1, &r, format | DT_WORDBREAK);
    } else {
        format |= DT_SINGLELINE;  // clipped at the text rectangle
        switch (m_valign) {
        case VerticalAlign::Top: format |= DT_TOP; break;
        case VerticalAlign::Center: format |= DT_VCENTER; break;
        case VerticalAlign::Bottom: format |= DT_BOTTOM; break;
        }
        ::DrawTextW(dc, text.c_str(), -1, &r, format);
    }
    SelectObject(dc, old);
}

}  // namespace Skin
