#include "skin/UIControl.h"

#include "skin/LayoutFromMarkup.h"
#include "skin/UIManager.h"
#include "skin/UIRender.h"
#include "skin/ValueSyntax.h"

namespace Skin {
namespace {

RECT ToRECT(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (m_manager) m_manager->ReleaseControl(this);
}

void CControlUI::SetText(const std::wstring& text) {
    if (m_layout.text == text) return;
    m_layout.text = text;
    if (m_layout.fixedWidth == 0 || m_layout.fixedHeight == 0) NeedParentUpdate();
    Invalidate();
}

void CControlUI::SetVisible(bool visible) {
    if (m_layout.visible == visible) return;
    m_layout.visible = visible;
    NeedParentUpdate();
}

void CControlUI::SetEnabled(bool enabled) {
    m_enabled = enabled;
    Invalidate();
}

void CControlUI::SetBkImage(const std::wstring& image) {
    m_bkImage = image;
    Invalidate();
}

void CControlUI::SetFixedWidth(int width) {
    m_layout.fixedWidth = width < 0 ? 0 : width;
    NeedParentUpdate();
}

void CControlUI::SetFocus() {
    if (m_manager) m_manager->SetFocus(this);
}

void CControlUI::Invalidate() {
    if (m_manager) m_manager->Invalidate(m_rect);
}

void CControlUI::NeedParentUpdate() {
    if (m_manager) m_manager->NeedUpdate();
}

std::wstring CControlUI::GetCustomAttribute(const std::wstring& name) const {
    const auto it = m_custom.find(name);
    return it == m_custom.end() ? std::wstring() : it->second;
}

void CControlUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (ApplyLayoutAttribute(m_layout, name, value)) {
        // the size, place, text or visibility
    } else if (name == L"bkcolor") {
        m_bkColor = ParseColour(value);
    } else if (name == L"bkimage") {
        m_bkImage = value;
    } else if (name == L"bordersize") {
        // One number for every side, or a rectangle with one per side.
        if (value.find(L',') == std::wstring::npos) {
            const int n = ParseInteger(value);
            m_borderSize = RECT{n, n, n, n};
        } else {
            m_borderSize = ToRECT(ParseRect(value));
        }
    } else if (name == L"bordercolor") {
        m_borderColor = ParseColour(value);
    } else if (name == L"borderround") {
        const Size s = ParseSize(value);
        m_borderRound = SIZE{s.cx, s.cy};
    } else if (name == L"userdata") {
        m_userData = value;
    } else if (name == L"enabled") {
        m_enabled = ParseBoolean(value);
    } else {
        m_custom[name] = value;
    }
}

void CControlUI::Event(const UIEventArgs& event) {
    if (event.type == UIEvent::SetFocus && m_manager) m_manager->SendNotify(this, L"setfocus");
    if (event.type == UIEvent::KillFocus && m_manager) m_manager->SendNotify(this, L"killfocus");
    if (event.type == UIEvent::Timer && m_manager)
        m_manager->SendNotify(this, L"timer", event.wParam, event.lParam);
}

void CControlUI::DoPaint(HDC dc, const RECT& paint) {
    RECT visible;
    if (!IntersectRect(&visible, &paint, &m_rect)) return;
    const int saved = SaveDC(dc);
    HRGN clip = nullptr;
    if (m_borderRound.cx > 0 || m_borderRound.cy > 0)
        clip = CreateRoundRectRgn(m_rect.left, m_rect.top, m_rect.right + 1, m_rect.bottom + 1,
                                  m_borderRound.cx, m_borderRound.cy);
    else
        clip = CreateRectRgnIndirect(&visible);
    ExtSelectClipRgn(dc, clip, RGN_AND);
    DeleteObject(clip);
    PaintBkColor(dc);
    PaintBkImage(dc);
    PaintStatusImage(dc);
    PaintText(dc);
    PaintBorder(dc);
    RestoreDC(dc, saved);
    PaintChildren(dc, visible);
}

void CControlUI::PaintBkColor(HDC dc) { FillColor(dc, m_rect, m_bkColor); }

void CControlUI::PaintBkImage(HDC dc) {
    if (!m_bkImage.empty()) DrawImage(dc, m_bkImage);
}

void CControlUI::PaintBorder(HDC dc) {
    DrawBorder(dc, m_rect, m_borderSize, m_borderColor, m_borderRound);
}

bool CControlUI::DrawImage(HDC dc, const std::wstring& image) {
    if (!m_manager || image.empty()) return false;
    return DrawImageString(dc, *m_manager, image, m_rect);
}

}  // namespace Skin
