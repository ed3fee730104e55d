#include "skin/UIManager.h"

#include <algorithm>
#include <functional>

#include "skin/SkinFiles.h"
#include "skin/UIContainer.h"
#include "skin/UIEdit.h"
#include "skin/UIRender.h"
#include "skin/ValueSyntax.h"

namespace Skin {
namespace {

std::map<int, std::wstring>& LanguageTexts() {
    static std::map<int, std::wstring> texts;
    return texts;
}

bool SameNoCase(const std::wstring& a, const wchar_t* b) { return _wcsicmp(a.c_str(), b) == 0; }

// Visits the tree depth first, children after their parent; stops when visit returns true.
CControlUI* FindDepthFirst(CControlUI* root, const std::function<bool(CControlUI*)>& visit) {
    if (!root) return nullptr;
    std::vector<CControlUI*> stack{root};
    while (!stack.empty()) {
        CControlUI* control = stack.back();
        stack.pop_back();
        if (visit(control)) return control;
        for (int i = control->GetCount() - 1; i >= 0; --i) stack.push_back(control->GetItemAt(i));
    }
    return nullptr;
}

// The control's layout node with the tree's current state, children included.
void MirrorTree(CControlUI* control, LayoutNode& node) {
    node = control->Layout();
    node.children.clear();
    node.kind = control->Kind();
    node.sizeRule = control->Rule();
    node.text = CUIManager::ApplyLanguage(node.text);
    if (auto* tab = dynamic_cast<CTabLayoutUI*>(control)) node.currentPage = tab->GetCurSel();
    node.children.resize(static_cast<size_t>(control->GetCount()));
    for (int i = 0; i < control->GetCount(); ++i)
        MirrorTree(control->GetItemAt(i), node.children[static_cast<size_t>(i)]);
}

void TakeRects(CControlUI* control, const LayoutNode& node) {
    control->SetPos(RECT{node.rect.left, node.rect.top, node.rect.right, node.rect.bottom});
    for (int i = 0; i < control->GetCount() && i < static_cast<int>(node.children.size()); ++i)
        TakeRects(control->GetItemAt(i), node.children[static_cast<size_t>(i)]);
}

}  // namespace

UIImage::~UIImage() {
    if (dib) DeleteObject(dib);
}

// Text measurement with the window's fonts on a memory device context.
class CUIManager::GdiMeasure : public TextMeasure {
public:
    explicit GdiMeasure(const CUIManager& manager)
        : m_manager(manager), m_dc(CreateCompatibleDC(nullptr)) {}
    ~GdiMeasure() override { DeleteDC(m_dc); }

    int CharHeight(int font) const override { return m_manager.FontHeight(font); }
    Size LineExtent(const std::wstring& text, int font) const override {
        HGDIOBJ old = SelectObject(m_dc, m_manager.GetFont(font));
        SIZE size = {0, 0};
        GetTextExtentPoint32W(m_dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(m_dc, old);
        return Size{size.cx, size.cy};
    }
    int WrappedHeight(const std::wstring& text, int font, int width) const override {
        HGDIOBJ old = SelectObject(m_dc, m_manager.GetFont(font));
        RECT r = {0, 0, width > 0 ? width : 1, 0};
        DrawTextW(m_dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(m_dc, old);
        return r.bottom - r.top;
    }

private:
    const CUIManager& m_manager;
    HDC m_dc;
};

namespace {

int MeasureFontHeight(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW tm = {};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return tm.tmHeight;
}

}  // namespace

CUIManager::CUIManager() : m_measure(new GdiMeasure(*this)) {
    const HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    m_defaultFont = FontEntry{stock, MeasureFontHeight(stock)};
}

CUIManager::~CUIManager() {
    // The controls go first: they may still ask the manager to forget them.
    if (m_window)
        for (const TimerRecord& t : m_timers)
            if (!t.stopped) ::KillTimer(m_window, t.systemId);
    m_timers.clear();
    m_root.reset();
    for (HFONT font : m_ownedFonts) DeleteObject(font);
    if (m_buffer) DeleteObject(m_buffer);
}

void CUIManager::Init(HWND window) { m_window = window; }

bool CUIManager::AttachDialog(CControlUI* root) {
    if (!root) return false;
    m_root.reset(root);
    m_root->SetManager(this);
    m_focus = m_hot = m_pushed = nullptr;
    FindDepthFirst(m_root.get(), [](CControlUI* c) {
        c->DoInit();
        return false;
    });
    NeedUpdate();
    return true;
}

CControlUI* CUIManager::FindControl(const std::wstring& name) const {
    if (name.empty()) return nullptr;
    return FindDepthFirst(m_root.get(), [&](CControlUI* c) { return c->GetName() == name; });
}

CControlUI* CUIManager::FindAnyControl(POINT pt) const {
    CControlUI* found = nullptr;
    CControlUI* control = m_root.get();
    // Down the visible children under the point; the last child drawn is on top.
    while (control && control->IsVisible() && PtInRect(&control->GetPos(), pt)) {
        found = control;
        CControlUI* next = nullptr;
        for (int i = control->GetCount() - 1; i >= 0 && !next; --i) {
            CControlUI* child = control->GetItemAt(i);
            if (child->IsVisible() && PtInRect(&child->GetPos(), pt)) next = child;
        }
        control = next;
    }
    return found;
}

CControlUI* CUIManager::FindControl(POINT pt) const {
    CControlUI* control = FindAnyControl(pt);
    while (control && !control->WantsMouse()) control = control->GetParent();
    return control;
}

void CUIManager::AddNotifier(INotifyUI* notifier) {
    if (notifier && std::find(m_notifiers.begin(), m_notifiers.end(), notifier) == m_notifiers.end())
        m_notifiers.push_back(notifier);
}

void CUIManager::SendNotify(CControlUI* sender, const wchar_t* type, WPARAM wParam,
                            LPARAM lParam) {
    UINotification msg;
    msg.sType = type;
    msg.pSender = sender;
    msg.dwTimestamp = GetTickCount();
    msg.ptMouse = m_lastMouse;
    msg.wParam = wParam;
    msg.lParam = lParam;
    const std::vector<INotifyUI*> notifiers = m_notifiers;  // a notifier may add another
    for (INotifyUI* notifier : notifiers) notifier->Notify(msg);
}

bool CUIManager::SetTimer(CControlUI* control, UINT timerId, UINT elapse) {
    for (TimerRecord& t : m_timers) {
        if (t.control != control || t.callerId != timerId) continue;
        if (!t.stopped) return false;
        if (m_window && !::SetTimer(m_window, t.systemId, elapse, nullptr)) return false;
        t.stopped = false;
        return true;
    }
    m_nextTimerId = (m_nextTimerId + 1) % 255;
    const UINT systemId = m_nextTimerId;
    if (m_window && !::SetTimer(m_window, systemId, elapse, nullptr)) return false;
    m_timers.push_back(TimerRecord{control, timerId, systemId, false});
    return true;
}

bool CUIManager::KillTimer(CControlUI* control, UINT timerId) {
    for (TimerRecord& t : m_timers) {
        if (t.control == control && t.callerId == timerId && !t.stopped) {
            if (m_window) ::KillTimer(m_window, t.systemId);
            t.stopped = true;
            return true;
        }
    }
    return false;
}

void CUIManager::KillTimers(CControlUI* control) {
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->control != control) {
            ++it;
            continue;
        }
        if (!it->stopped && m_window) ::KillTimer(m_window, it->systemId);
        it = m_timers.erase(it);
    }
}

void CUIManager::ReleaseControl(CControlUI* control) {
    KillTimers(control);
    if (m_focus == control) m_focus = nullptr;
    if (m_hot == control) m_hot = nullptr;
    if (m_pushed == control) m_pushed = nullptr;
}

void CUIManager::SetWindowAttribute(const std::wstring& name, const std::wstring& value) {
    if (SameNoCase(name, L"size")) {
        const Size s = ParseSize(value);
        m_initSize = SIZE{s.cx, s.cy};
        if (m_window)
            SetWindowPos(m_window, nullptr, 0, 0, s.cx, s.cy,
                         SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    } else if (SameNoCase(name, L"caption")) {
        const Rect r = ParseRect(value);
        m_caption = RECT{r.left, r.top, r.right, r.bottom};
    } else if (SameNoCase(name, L"roundcorner")) {
        const Size s = ParseSize(value);
        m_roundCorner = SIZE{s.cx, s.cy};
        ApplyRoundCorner();
    } else if (SameNoCase(name, L"defaultfontcolor")) {
        m_defaultTextColor = ParseColour(value);
    } else {
        static const wchar_t* const kKnown[] = {
            L"sizebox", L"mininfo", L"maxinfo", L"showdirty", L"noactivate", L"opacity",
            L"layeredopacity", L"layeredimage", L"disabledfontcolor", L"linkfontcolor",
            L"linkhoverfontcolor", L"selectedcolor"};
        for (const wchar_t* known : kKnown)
            if (SameNoCase(name, known)) return;  // understood, without effect in these skins
        m_customAttributes[name] = value;
    }
}

std::wstring CUIManager::GetWindowCustomAttribute(const std::wstring& name) const {
    const auto it = m_customAttributes.find(name);
    return it == m_customAttributes.end() ? std::wstring() : it->second;
}

void CUIManager::AddFont(const FontElement& font) {
    if (!font.valid || font.face.empty()) return;
    LOGFONTW lf = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    wcsncpy(lf.lfFaceName, font.face.c_str(), LF_FACESIZE - 1);  // at most 31 characters
    lf.lfFaceName[LF_FACESIZE - 1] = L'\0';
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = -font.size;
    if (font.bold) lf.lfWeight += FW_BOLD;
    lf.lfItalic = font.italic ? TRUE : FALSE;
    lf.lfUnderline = font.underline ? TRUE : FALSE;
    HFONT handle = CreateFontIndirectW(&lf);
    if (!handle) return;
    // Fonts stay until the window goes, also one a later element replaces in the table.
    m_ownedFonts.push_back(handle);
    const FontEntry entry{handle, MeasureFontHeight(handle)};
    if (font.id >= 0) m_fonts[font.id] = entry;
    if (font.isDefault) m_defaultFont = entry;
    NeedUpdate();
}

HFONT CUIManager::GetFont(int id) const {
    const auto it = m_fonts.find(id);
    return it == m_fonts.end() ? m_defaultFont.handle : it->second.handle;
}

int CUIManager::FontHeight(int id) const {
    const auto it = m_fonts.find(id);
    return it == m_fonts.end() ? m_defaultFont.height : it->second.height;
}

const UIImage* CUIManager::GetImage(const std::wstring& file, bool applyMask, std::uint32_t mask) {
    if (file.empty()) return nullptr;
    wchar_t maskText[16] = L"";
    if (applyMask) _snwprintf(maskText, 15, L"|%08X", mask);
    const std::wstring key = file + maskText;
    const auto found = m_images.find(key);
    if (found != m_images.end()) return found->second.get();  // also a remembered failure

    std::unique_ptr<UIImage> image;
    std::vector<unsigned char> bytes;
    if (ReadSkinImageFile(file.c_str(), &bytes)) {
        ImageDecodeOptions options;
        options.applyMask = applyMask;
        options.mask = mask;
        DecodedImage decoded = DecodePng(bytes.data(), bytes.size(), options);
        if (!decoded.bitmap.Empty()) {
            image.reset(new UIImage);
            image->translucent = decoded.translucent;
            image->bitmap = std::move(decoded.bitmap);
            void* bits = nullptr;
            image->dib = CreateArgbBitmap(image->bitmap.width, image->bitmap.height, &bits);
            if (image->dib)
                memcpy(bits, image->bitmap.pixels.data(), image->bitmap.pixels.size() * 4);
            else
                image.reset();
        }
    }
    const UIImage* result = image.get();
    m_images[key] = std::move(image);  // a failure is remembered too: one read per name
    return result;
}

void CUIManager::SetFocus(CControlUI* control) {
    if (control == m_focus) return;
    CControlUI* old = m_focus;
    m_focus = control;
    if (old) old->Event(UIEventArgs{UIEvent::KillFocus});
    if (control) control->Event(UIEventArgs{UIEvent::SetFocus});
}

void CUIManager::NeedUpdate() {
    m_needUpdate = true;
    if (m_window) InvalidateRect(m_window, nullptr, FALSE);
}

void CUIManager::Invalidate(const RECT& rect) {
    if (m_window) InvalidateRect(m_window, &rect, FALSE);
}

const TextMeasure& CUIManager::Measure() const { return *m_measure; }

void CUIManager::Relayout() {
    m_needUpdate = false;
    if (!m_root) return;
    RECT client = {0, 0, m_initSize.cx, m_initSize.cy};
    if (m_window) GetClientRect(m_window, &client);
    LayoutNode tree;
    MirrorTree(m_root.get(), tree);
    ArrangeWindow(tree, client.right - client.left, client.bottom - client.top, m_measure.get());
    TakeRects(m_root.get(), tree);
}

void CUIManager::SetLanguageText(int id, const std::wstring& text) { LanguageTexts()[id] = text; }

void CUIManager::ClearLanguageTexts() { LanguageTexts().clear(); }

std::wstring CUIManager::ApplyLanguage(const std::wstring& text) {
    if (text.find(L"%{") == std::wstring::npos || LanguageTexts().empty()) return text;
    std::wstring out;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t start = text.find(L"%{", pos);
        const size_t end = start == std::wstring::npos ? start : text.find(L'}', start + 2);
        if (end == std::wstring::npos) {
            out += text.substr(pos);
            break;
        }
        out += text.substr(pos, start - pos);
        const std::wstring number = text.substr(start + 2, end - start - 2);
        const auto it = number.empty() || number.find_first_not_of(L"0123456789") != number.npos
                            ? LanguageTexts().end()
                            : LanguageTexts().find(_wtoi(number.c_str()));
        out += it == LanguageTexts().end() ? text.substr(start, end - start + 1) : it->second;
        pos = end + 1;
    }
    return out;
}

void CUIManager::ApplyRoundCorner() {
    if (!m_window || IsIconic(m_window) || (m_roundCorner.cx == 0 && m_roundCorner.cy == 0))
        return;
    RECT r;
    GetWindowRect(m_window, &r);
    HRGN region = CreateRoundRectRgn(0, 0, r.right - r.left + 1, r.bottom - r.top + 1,
                                     m_roundCorner.cx, m_roundCorner.cy);
    SetWindowRgn(m_window, region, TRUE);  // the window owns the region from now on
}

bool CUIManager::InCaption(POINT pt) const {
    if (!m_window) return false;
    RECT client;
    GetClientRect(m_window, &client);
    if (!(pt.x >= client.left + m_caption.left && pt.x < client.right - m_caption.right &&
          pt.y >= m_caption.top && pt.y < m_caption.bottom))
        return false;
    CControlUI* control = FindAnyControl(pt);
    if (!control) return true;
    const std::wstring cls = control->GetClass();
    return cls != L"Button" && cls != L"Option" && cls != L"Text" && cls != L"Combo";
}

void CUIManager::SetHot(CControlUI* control) {
    if (control == m_hot) return;
    CControlUI* old = m_hot;
    m_hot = control;
    if (old) old->Event(UIEventArgs{UIEvent::MouseLeave, m_lastMouse});
    if (control) control->Event(UIEventArgs{UIEvent::MouseEnter, m_lastMouse});
}

void CUIManager::Paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_window, &ps);
    RECT client;
    GetClientRect(m_window, &client);
    const int width = client.right - client.left, height = client.bottom - client.top;
    if (m_needUpdate) Relayout();
    if (width > 0 && height > 0 && m_root) {
        // Everything is drawn into the back buffer first: nothing half drawn reaches the
        // screen. The buffer is kept while the window keeps its size (the animation repaints
        // every 30 ms).
        if (!m_buffer || m_bufferSize.cx != width || m_bufferSize.cy != height) {
            if (m_buffer) DeleteObject(m_buffer);
            void* bits = nullptr;
            m_buffer = CreateArgbBitmap(width, height, &bits);
            m_bufferSize = SIZE{width, height};
        }
        if (m_buffer) {
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, m_buffer);
            FillRect(memory, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            m_root->DoPaint(memory, ps.rcPaint);
            BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                   ps.rcPaint.bottom - ps.rcPaint.top, memory, ps.rcPaint.left, ps.rcPaint.top,
                   SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
    }
    EndPaint(m_window, &ps);
    if (!m_painted && m_root) {
        m_painted = true;
        SendNotify(m_root.get(), L"windowinit");
    }
}

bool CUIManager::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!m_window) return false;
    const POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    switch (message) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT:
        Paint();
        result = 0;
        return true;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            ApplyRoundCorner();
            NeedUpdate();
        }
        return false;
    case WM_NCHITTEST: {
        POINT client = pt;
        ScreenToClient(m_window, &client);
        if (InCaption(client)) {
            result = HTCAPTION;
            return true;
        }
        return false;
    }
    case WM_MOUSEMOVE: {
        m_lastMouse = pt;
        if (!m_tracking) {
            TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_window, 0};
            m_tracking = TrackMouseEvent(&track) != FALSE;
        }
        CControlUI* control = FindControl(pt);
        if (m_pushed) control = control == m_pushed ? control : nullptr;
        SetHot(control && control->IsEnabled() ? control : nullptr);
        return false;
    }
    case WM_MOUSELEAVE:
        m_tracking = false;
        if (!m_pushed) SetHot(nullptr);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        m_lastMouse = pt;
        CControlUI* control = FindControl(pt);
        if (!control || !control->IsEnabled()) return false;
        SetCapture(m_window);
        m_pushed = control;
        SetFocus(control);
        control->Event(UIEventArgs{UIEvent::ButtonDown, pt, wParam, lParam});
        return false;
    }
    case WM_LBUTTONUP: {
        m_lastMouse = pt;
        CControlUI* pushed = m_pushed;
        m_pushed = nullptr;
        if (GetCapture() == m_window) ReleaseCapture();
        if (pushed) pushed->Event(UIEventArgs{UIEvent::ButtonUp, pt, wParam, lParam});
        return false;
    }
    case WM_KEYDOWN:
        if (m_focus) m_focus->Event(UIEventArgs{UIEvent::Key, m_lastMouse, wParam, lParam});
        return false;
    case WM_TIMER:
        for (const TimerRecord& t : m_timers) {
            if (t.systemId == wParam && !t.stopped) {
                t.control->Event(UIEventArgs{UIEvent::Timer, m_lastMouse, t.callerId, lParam});
                result = 0;
                return true;
            }
        }
        return false;
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE && lParam) {
            auto* edit = reinterpret_cast<CEditUI*>(
                GetWindowLongPtrW(reinterpret_cast<HWND>(lParam), GWLP_USERDATA));
            if (edit) edit->OnEditChanged();
        }
        return false;
    default:
        return false;
    }
}

}  // namespace Skin
