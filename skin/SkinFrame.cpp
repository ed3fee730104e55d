#include "skin/SkinFrame.h"

#include "skin/ValueSyntax.h"

namespace Skin {

void CSkinFrame::InitWindow() {
    // Dragging the caption area must not maximise the window.
    const LONG style = GetWindowLongW(m_hwnd, GWL_STYLE);
    SetWindowLongW(m_hwnd, GWL_STYLE, style & ~WS_CAPTION & ~WS_MAXIMIZEBOX);
    if (_wcsicmp(m_manager.GetWindowCustomAttribute(L"showshadow").c_str(), L"true") != 0) return;
    m_shadow.Create(m_hwnd);
    // Each setting in turn; a value out of its range leaves the default.
    const std::wstring size = m_manager.GetWindowCustomAttribute(L"shadowsize");
    if (!size.empty()) m_shadow.SetSize(ParseInteger(size));
    const std::wstring sharpness = m_manager.GetWindowCustomAttribute(L"shadowsharpness");
    if (!sharpness.empty()) m_shadow.SetSharpness(ParseInteger(sharpness));
    const std::wstring darkness = m_manager.GetWindowCustomAttribute(L"shadowdarkness");
    if (!darkness.empty()) m_shadow.SetDarkness(ParseInteger(darkness));
    const std::wstring position = m_manager.GetWindowCustomAttribute(L"shadowposition");
    if (!position.empty()) {
        const Size offset = ParseSize(position);
        m_shadow.SetPosition(offset.cx, offset.cy);
    }
    const std::wstring color = m_manager.GetWindowCustomAttribute(L"shadowcolor");
    if (!color.empty()) m_shadow.SetColor(ParseColour(color));
}

}  // namespace Skin
