#pragma once
#include "skin/UILabel.h"

namespace Skin {

// Draws like a label; a click opens a native single-line edit box (at most 255 characters)
// over the text area. Typing sends "textchanged", the return key "return"; the box closes when
// it loses the focus and its text becomes the control's.
class CEditUI : public CLabelUI {
public:
    CEditUI();
    ~CEditUI() override;
    const wchar_t* GetClass() const override { return L"Edit"; }
    SizeRule Rule() const override { return SizeRule::Button; }
    bool WantsMouse() const override { return true; }
    void Event(const UIEventArgs& event) override;
    std::wstring GetText() const override;
    void SetText(const std::wstring& text) override;
    void SetPos(const RECT& rect) override;
    HWND EditWindow() const { return m_edit; }
    static const int kMaxChars = 255;

    void OnEditChanged();
    void OnEditReturn();
    void CloseEdit();

protected:
    void PaintText(HDC dc) override;

private:
    void OpenEdit();
    RECT TextRect() const;

    HWND m_edit = nullptr;
    bool m_updating = false;
};

}  // namespace Skin
