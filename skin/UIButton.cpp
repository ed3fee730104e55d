#include "skin/UIButton.h"

#include "skin/UIManager.h"
#include "skin/UIRender.h"
#include "skin/ValueSyntax.h"

namespace Skin {

CButtonUI::CButtonUI() {
    m_align = HorizontalAlign::Center;
    m_valign = VerticalAlign::Center;
}

void CButtonUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"normalimage") m_normalImage = value;
    else if (name == L"hotimage") m_hotImage = value;
    else if (name == L"pushedimage") m_pushedImage = value;
    else if (name == L"disabledimage") m_disabledImage = value;
    else if (name == L"hotbkcolor") m_hotBkColor = ParseColour(value);
    else if (name == L"pushedbkcolor") m_pushedBkColor = ParseColour(value);
    else if (name == L"hottextcolor") m_hotTextColor = ParseColour(value);
    else if (name == L"pushedtextcolor") m_pushedTextColor = ParseColour(value);
    else CLabelUI::SetAttribute(name, value);
}

void CButtonUI::SetEnabled(bool enabled) {
    if (!enabled) m_hot = m_pushed = false;
    CLabelUI::SetEnabled(enabled);
}

void CButtonUI::Event(const UIEventArgs& event) {
    if (!m_enabled) {
        CLabelUI::Event(event);
        return;
    }
    switch (event.type) {
    case UIEvent::MouseEnter:
        m_hot = true;
        Invalidate();
        break;
    case UIEvent::MouseLeave:
        m_hot = false;
        Invalidate();
        break;
    case UIEvent::ButtonDown:
        m_pushed = true;
        Invalidate();
        break;
    case UIEvent::ButtonUp: {
        const bool wasPushed = m_pushed;
        m_pushed = false;
        Invalidate();
        if (wasPushed && PtInRect(&m_rect, event.pt)) Activate();
        break;
    }
    case UIEvent::Key:
        if (event.wParam == VK_SPACE || event.wParam == VK_RETURN) Activate();
        break;
    default:
        CLabelUI::Event(event);
        break;
    }
}

void CButtonUI::Activate() {
    if (m_manager && m_enabled) m_manager->SendNotify(this, L"click");
}

void CButtonUI::PaintBkColor(HDC dc) {
    CLabelUI::PaintBkColor(dc);
    if (!m_enabled) return;
    if (m_pushed) FillColor(dc, m_rect, m_pushedBkColor);
    else if (m_hot) FillColor(dc, m_rect, m_hotBkColor);
}

void CButtonUI::PaintStatusImage(HDC dc) {
    // A missing or unreadable state image falls back to the normal image.
    const std::wstring* image = &m_normalImage;
    if (!m_enabled) image = &m_disabledImage;
    else if (m_pushed) image = &m_pushedImage;
    else if (m_hot) image = &m_hotImage;
    if (image != &m_normalImage && !image->empty() && DrawImage(dc, *image)) return;
    if (!m_normalImage.empty()) DrawImage(dc, m_normalImage);
}

std::uint32_t CButtonUI::CurrentTextColor() const {
    if (m_enabled && m_pushed && m_pushedTextColor != 0) return m_pushedTextColor;
    if (m_enabled && m_hot && m_hotTextColor != 0) return m_hotTextColor;
    return m_textColor;
}

void COptionUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"selected") Selected(ParseBoolean(value), true);
    else if (name == L"selectedimage") m_selectedImage = value;
    else if (name == L"selectedtextcolor") m_selectedTextColor = ParseColour(value);
    else CButtonUI::SetAttribute(name, value);
}

void COptionUI::Activate() {
    if (!m_manager || !m_enabled) return;
    m_manager->SendNotify(this, L"click");
    Selected(!m_selected, true);
}

void COptionUI::Selected(bool selected, bool notify) {
    if (m_selected == selected) return;
    m_selected = selected;
    Invalidate();
    if (notify && m_manager) m_manager->SendNotify(this, L"selectchanged");
}

void COptionUI::PaintStatusImage(HDC dc) {
    if (m_selected && !m_selectedImage.empty() && DrawImage(dc, m_selectedImage)) return;
    CButtonUI::PaintStatusImage(dc);
}

std::uint32_t COptionUI::CurrentTextColor() const {
    if (m_selected && m_selectedTextColor != 0) return m_selectedTextColor;
    return CButtonUI::CurrentTextColor();
}

}  // namespace Skin
