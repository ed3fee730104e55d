#pragma once
#include "skin/ProgressFill.h"
#include "skin/UILabel.h"

namespace Skin {

// A horizontal bar: the track is the background image, the fill image is stretched over
// (value - minimum) / (maximum - minimum) of the width.
class CProgressUI : public CLabelUI {
public:
    CProgressUI();
    const wchar_t* GetClass() const override { return L"Progress"; }
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void SetValue(int value);  // clamped into [minimum, maximum]
    int GetValue() const { return m_range.value; }
    void SetForeImage(const std::wstring& image);

protected:
    void PaintStatusImage(HDC dc) override;

    ProgressRange m_range;
    std::wstring m_foreImage;
};

}  // namespace Skin
