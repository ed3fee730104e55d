#include "skin/UIEdit.h"

#include "skin/UIManager.h"
#include "skin/UIRender.h"

namespace Skin {
namespace {

const wchar_t kOriginalProc[] = L"SkinEditProc";

CEditUI* OwnerOf(HWND edit) {
    return reinterpret_cast<CEditUI*>(GetWindowLongPtrW(edit, GWLP_USERDATA));
}

// The native box reports the return key and the loss of the focus to its control.
LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC original = reinterpret_cast<WNDPROC>(GetPropW(edit, kOriginalProc));
    CEditUI* owner = OwnerOf(edit);
    if (owner) {
        if (message == WM_CHAR && wParam == VK_RETURN) {
            owner->OnEditReturn();
            return 0;
        }
        if (message == WM_KILLFOCUS) {
            const LRESULT result = CallWindowProcW(original, edit, message, wParam, lParam);
            owner->CloseEdit();  // the box is destroyed after this message
            return result;
        }
    }
    return CallWindowProcW(original, edit, message, wParam, lParam);
}

}  // namespace

CEditUI::CEditUI() = default;

CEditUI::~CEditUI() {
    if (m_edit) {
        SetWindowLongPtrW(m_edit, GWLP_USERDATA, 0);
        DestroyWindow(m_edit);
    }
}

RECT CEditUI::TextRect() const {
    RECT r = m_rect;
    r.left += m_layout.textPadding.left;
    r.top += m_layout.textPadding.top;
    r.right -= m_layout.textPadding.right;
    r.bottom -= m_layout.textPadding.bottom;
    return r;
}

void CEditUI::Event(const UIEventArgs& event) {
    if (event.type == UIEvent::ButtonDown && m_enabled) {
        OpenEdit();
        return;
    }
    CLabelUI::Event(event);
}

std::wstring CEditUI::GetText() const {
    if (!m_edit) return m_layout.text;
    const int length = GetWindowTextLengthW(m_edit);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(m_edit, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

void CEditUI::SetText(const std::wstring& text) {
    const std::wstring limited = text.size() > kMaxChars ? text.substr(0, kMaxChars) : text;
    CLabelUI::SetText(limited);
    if (m_edit) {
        m_updating = true;
        SetWindowTextW(m_edit, limited.c_str());
        m_updating = false;
    }
}

void CEditUI::SetPos(const RECT& rect) {
    CLabelUI::SetPos(rect);
    if (m_edit) {
        const RECT r = TextRect();
        MoveWindow(m_edit, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
}

void CEditUI::OpenEdit() {
    if (!m_manager || !m_manager->GetPaintWindow()) return;
    if (!m_edit) {
        const RECT r = TextRect();
        m_edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_AUTOHSCROLL | ES_LEFT, r.left,
                                 r.top, r.right - r.left, r.bottom - r.top,
                                 m_manager->GetPaintWindow(), nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        if (!m_edit) return;
        SetWindowLongPtrW(m_edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetPropW(m_edit, kOriginalProc,
                 reinterpret_cast<HANDLE>(SetWindowLongPtrW(
                     m_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc))));
        SendMessageW(m_edit, WM_SETFONT,
                     reinterpret_cast<WPARAM>(m_manager->GetFont(m_layout.font)), FALSE);
        SendMessageW(m_edit, EM_LIMITTEXT, kMaxChars, 0);
        m_updating = true;
        SetWindowTextW(m_edit, m_layout.text.c_str());
        m_updating = false;
        SendMessageW(m_edit, EM_SETSEL, 0, -1);
    }
    ShowWindow(m_edit, SW_SHOW);
    ::SetFocus(m_edit);
}

void CEditUI::OnEditChanged() {
    if (m_updating || !m_edit) return;
    m_layout.text = GetText();
    if (m_manager) m_manager->SendNotify(this, L"textchanged");
}

void CEditUI::OnEditReturn() {
    if (m_manager) m_manager->SendNotify(this, L"return");
}

void CEditUI::CloseEdit() {
    if (!m_edit) return;
    m_layout.text = GetText();
    HWND edit = m_edit;
    m_edit = nullptr;
    SetWindowLongPtrW(edit, GWLP_USERDATA, 0);
    ShowWindow(edit, SW_HIDE);
    PostMessageW(edit, WM_CLOSE, 0, 0);  // not destroyed inside its own focus message
    Invalidate();
}

void CEditUI::PaintText(HDC dc) {
    if (m_edit) return;  // the native box shows the text while it is open
    CLabelUI::PaintText(dc);
}

}  // namespace Skin
