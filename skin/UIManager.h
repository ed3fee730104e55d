#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin/FontElement.h"
#include "skin/ImageDecode.h"
#include "skin/LayoutMath.h"
#include "skin/UIControl.h"

namespace Skin {

// One image of the window, decoded once and kept by name, with its pixels as a DIB section
// ready for AlphaBlend.
struct UIImage {
    Bitmap bitmap;
    HBITMAP dib = nullptr;
    bool translucent = false;
    ~UIImage();
};

// The window manager of one skinned window: its control tree, fonts, images, notifiers,
// toolkit timers, focus and mouse tracking, window attributes (size, caption area, round
// corners and the custom ones such as the shadow settings), layout and painting. The window
// procedure hands every message to MessageHandler first.
class CUIManager {
public:
    CUIManager();
    ~CUIManager();
    CUIManager(const CUIManager&) = delete;
    CUIManager& operator=(const CUIManager&) = delete;

    void Init(HWND window);
    HWND GetPaintWindow() const { return m_window; }

    // Takes the tree; the root fills the client area. Returns false for none.
    bool AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return m_root.get(); }
    CControlUI* FindControl(const std::wstring& name) const;
    // The innermost visible control under the point that takes the mouse, or null.
    CControlUI* FindControl(POINT pt) const;
    // The innermost visible control under the point, whatever it takes.
    CControlUI* FindAnyControl(POINT pt) const;

    void AddNotifier(INotifyUI* notifier);
    void SendNotify(CControlUI* sender, const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0);

    // Toolkit timers bound to a control (ids 1..255 of the window, a stopped record restarts
    // under its old id).
    bool SetTimer(CControlUI* control, UINT timerId, UINT elapse);
    bool KillTimer(CControlUI* control, UINT timerId);
    void KillTimers(CControlUI* control);  // a control going away

    // Window attributes of the document's root element.
    void SetWindowAttribute(const std::wstring& name, const std::wstring& value);
    SIZE GetInitSize() const { return m_initSize; }
    RECT GetCaptionRect() const { return m_caption; }
    SIZE GetRoundCorner() const { return m_roundCorner; }
    std::wstring GetWindowCustomAttribute(const std::wstring& name) const;

    void AddFont(const FontElement& font);
    HFONT GetFont(int id) const;
    int FontHeight(int id) const;
    std::uint32_t GetDefaultTextColor() const { return m_defaultTextColor; }

    // The image of an image string's file (and mask), decoded once per window; null when it
    // cannot be read or decoded.
    const UIImage* GetImage(const std::wstring& file, bool applyMask, std::uint32_t mask);
    std::size_t DecodedImageCount() const { return m_images.size(); }

    void SetFocus(CControlUI* control);
    CControlUI* GetFocus() const { return m_focus; }
    void ReleaseControl(CControlUI* control);  // forget pointers to a control being deleted

    // Layout is done again before the next paint.
    void NeedUpdate();
    void Invalidate(const RECT& rect);
    // Lays the tree out now (also done before each paint when needed).
    void Relayout();
    const TextMeasure& Measure() const;

    // Texts of the multi-language table that "%{n}" markers in control texts stand for.
    static void SetLanguageText(int id, const std::wstring& text);
    static void ClearLanguageTexts();
    static std::wstring ApplyLanguage(const std::wstring& text);

    // Handles the window's messages for the tree; true when the message is consumed.
    bool MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    struct TimerRecord {
        CControlUI* control;
        UINT callerId;
        UINT systemId;
        bool stopped;
    };
    class GdiMeasure;

    void Paint();
    void ApplyRoundCorner();
    bool InCaption(POINT pt) const;
    void SetHot(CControlUI* control);

    HWND m_window = nullptr;
    std::unique_ptr<CControlUI> m_root;
    std::vector<INotifyUI*> m_notifiers;
    std::vector<TimerRecord> m_timers;
    UINT m_nextTimerId = 0;
    struct FontEntry {
        HFONT handle;
        int height;  // character height, measured once
    };
    std::map<int, FontEntry> m_fonts;
    FontEntry m_defaultFont = {nullptr, 0};
    std::vector<HFONT> m_ownedFonts;  // every font this window created
    HBITMAP m_buffer = nullptr;       // the back buffer, kept while the size stays
    SIZE m_bufferSize = {0, 0};
    std::map<std::wstring, std::unique_ptr<UIImage>> m_images;
    std::map<std::wstring, std::wstring> m_customAttributes;
    SIZE m_initSize = {0, 0};
    RECT m_caption = {0, 0, 0, 0};
    SIZE m_roundCorner = {0, 0};
    std::uint32_t m_defaultTextColor = 0xFF000000;
    CControlUI* m_focus = nullptr;
    CControlUI* m_hot = nullptr;
    CControlUI* m_pushed = nullptr;
    bool m_tracking = false;
    bool m_needUpdate = true;
    bool m_painted = false;
    POINT m_lastMouse = {0, 0};
    std::unique_ptr<GdiMeasure> m_measure;
};

}  // namespace Skin
