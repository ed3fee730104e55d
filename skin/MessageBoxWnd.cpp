#include "skin/MessageBoxWnd.h"

namespace Skin {

void CMessageBoxWnd::InitWindow() {
    CSkinFrame::InitWindow();
    LONG style = GetWindowLongW(m_hwnd, GWL_STYLE);
    SetWindowLongW(m_hwnd, GWL_STYLE,
                   (style & ~WS_CAPTION & ~WS_MAXIMIZEBOX) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    SetWindowLongW(m_hwnd, GWL_EXSTYLE, GetWindowLongW(m_hwnd, GWL_EXSTYLE) & ~WS_EX_TOPMOST);
    m_ok = m_manager.FindControl(L"okBtn");
    m_cancel = m_manager.FindControl(L"cancelBtn");
    m_text = m_manager.FindControl(L"textLbl");
    m_caption = m_manager.FindControl(L"captionLbl");
}

void CMessageBoxWnd::OnClick(UINotification& msg) {
    if (m_ok && msg.pSender == m_ok) {
        Close(1);
        m_result = kOk;
    } else if (m_cancel && msg.pSender == m_cancel) {
        Close(1);
        m_result = kCancel;
    } else {
        CSkinFrame::OnClick(msg);
        m_result = kOther;
    }
}

int ShowMessageBox(HWND owner, const FrameDescription& description, const wchar_t* text,
                   const wchar_t* caption) {
    CMessageBoxWnd box(description);
    // "消息框": the window's title, not shown.
    if (!box.Create(owner, L"\x6d88\x606f\x6846", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0)) return CMessageBoxWnd::kCancel;
    if (text && box.TextLabel()) box.TextLabel()->SetText(text);
    if (caption && box.CaptionLabel()) box.CaptionLabel()->SetText(caption);
    box.CenterWindow();
    box.ShowModal();
    return box.Result();
}

}  // namespace Skin
