#pragma once
#include <string>

#include "skin/SkinFrame.h"

namespace Skin {

// A prompt built from a skin document: the free-text message boxes (a caption and a text
// label, only a close button) and the fixed prompts (their own text, okBtn and cancelBtn).
class CMessageBoxWnd : public CSkinFrame {
public:
    // The answers.
    static const int kOk = 0;      // okBtn
    static const int kCancel = 1;  // cancelBtn, or closed without a click (Alt+F4)
    static const int kOther = 2;   // any other button, in practice closebtn

    explicit CMessageBoxWnd(const FrameDescription& description) : CSkinFrame(description) {}
    int Result() const { return m_result; }
    CControlUI* TextLabel() const { return m_text; }
    CControlUI* CaptionLabel() const { return m_caption; }

protected:
    void InitWindow() override;
    void OnClick(UINotification& msg) override;

private:
    int m_result = kCancel;
    CControlUI* m_ok = nullptr;
    CControlUI* m_cancel = nullptr;
    CControlUI* m_text = nullptr;
    CControlUI* m_caption = nullptr;
};

// Shows the prompt of that skin file modally over the owner (disabled meanwhile), with the
// text and caption put into its labels when given (null leaves the skin's own); the answer.
int ShowMessageBox(HWND owner, const FrameDescription& description, const wchar_t* text,
                   const wchar_t* caption);

}  // namespace Skin
