#pragma once
#include <windows.h>

#include <cstdint>

#include "skin/ShadowBitmap.h"

namespace Skin {

// The soft drop shadow of a frame: a layered window of class "SkinShadowWnd" owned by the
// frame, following it (move, size, show, hide, minimise) through a hook on the frame's window
// procedure. Its picture is computed from the frame's window region (MakeShadow) and handed
// to the system as a pre-multiplied 32-bit bitmap.
class CWndShadow {
public:
    CWndShadow() = default;
    virtual ~CWndShadow();
    CWndShadow(const CWndShadow&) = delete;
    CWndShadow& operator=(const CWndShadow&) = delete;

    // Once per process, before the first shadow: false when done already or when the system
    // has no layered windows (then no shadow is ever shown).
    static bool Initialize(HINSTANCE instance);
    static bool Available();

    void Create(HWND parent);
    // Out-of-range values are refused and change nothing; an accepted one re-renders a
    // visible shadow at once.
    bool SetSize(int size);
    bool SetSharpness(int sharpness);
    bool SetDarkness(int darkness);
    bool SetPosition(int x, int y);
    bool SetColor(std::uint32_t color);
    void Update(HWND parent);


private:
    enum : std::uint8_t { kEnabled = 1, kVisible = 2, kParentVisible = 4 };
    static LRESULT CALLBACK ParentProc(HWND parent, UINT message, WPARAM wParam, LPARAM lParam);
    void Place(HWND parent, bool resize);
    void RenderIfShown();

    HWND m_hwnd = nullptr;
    HWND m_parent = nullptr;
    WNDPROC m_parentProc = nullptr;
    std::uint8_t m_status = 0;
    ShadowSettings m_settings;
    std::uint32_t m_lastParentSize = 0;
    bool m_updatePending = false;
};

}  // namespace Skin
