#include "skin/UIProgress.h"

#include "skin/ImageString.h"
#include "skin/UIManager.h"
#include "skin/UIRender.h"
#include "skin/ValueSyntax.h"

namespace Skin {

CProgressUI::CProgressUI() {
    m_align = HorizontalAlign::Center;
}

void CProgressUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
    if (name == L"foreimage") m_foreImage = value;
    else if (name == L"min") m_range.minimum = ParseInteger(value);
    else if (name == L"max") m_range.maximum = ParseInteger(value);
    else if (name == L"value") m_range.value = ParseInteger(value);
    else CLabelUI::SetAttribute(name, value);
}

void CProgressUI::SetValue(int value) {
    const int clamped = ClampedProgressValue(m_range, value);
    if (clamped == m_range.value) return;
    m_range.value = clamped;
    Invalidate();
}

void CProgressUI::SetForeImage(const std::wstring& image) {
    m_foreImage = image;
    Invalidate();
}

void CProgressUI::PaintStatusImage(HDC dc) {
    m_range = NormalisedProgress(m_range);
    if (m_foreImage.empty() || !m_manager) return;
    const Rect fill = ProgressFillRect(m_range, m_rect.right - m_rect.left,
                                       m_rect.bottom - m_rect.top);
    if (fill.right <= fill.left) return;
    // The fill keeps its corner and other settings; only its destination is the filled part.
    ImageString image = ParseImageString(m_foreImage);
    image.dest = fill;
    DrawParsedImage(dc, *m_manager, image, m_rect);
}

}  // namespace Skin
