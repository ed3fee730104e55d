#include "skin/WndShadow.h"

#include <utility>
#include <vector>

#include "skin/UIRender.h"

namespace Skin {
namespace {

using UpdateLayered = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                     BLENDFUNCTION*, DWORD);
UpdateLayered g_updateLayered = nullptr;
HINSTANCE g_instance = nullptr;
bool g_initialized = false;
const wchar_t kShadowClass[] = L"SkinShadowWnd";

// Parents and their shadows (searched linearly; a handful of windows at most).
std::vector<std::pair<HWND, CWndShadow*>>& Shadows() {
    static std::vector<std::pair<HWND, CWndShadow*>> map;
    return map;
}

CWndShadow* ShadowOf(HWND parent) {
    for (const auto& entry : Shadows())
        if (entry.first == parent) return entry.second;
    return nullptr;
}

LRESULT CALLBACK ShadowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    return DefWindowProcW(window, message, wParam, lParam);
}

// The parent's window region as rows of spans (window coordinates); empty without a region.
RegionRows ParentRegion(HWND parent) {
    RegionRows rows;
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const int kind = GetWindowRgn(parent, region);
    if (kind == SIMPLEREGION || kind == COMPLEXREGION) {
        const DWORD bytes = GetRegionData(region, 0, nullptr);
        std::vector<unsigned char> data(bytes);
        auto* header = reinterpret_cast<RGNDATA*>(data.data());
        if (bytes && GetRegionData(region, bytes, header)) {
            const RECT* rects = reinterpret_cast<const RECT*>(header->Buffer);
            for (DWORD i = 0; i < header->rdh.nCount; ++i)
                rows.AddRect(Rect{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom});
        }
    }
    DeleteObject(region);
    return rows;
}

}  // namespace

bool CWndShadow::Initialize(HINSTANCE instance) {
    if (g_initialized) return false;
    HMODULE user32 = GetModuleHandleW(L"USER32.DLL");
    g_updateLayered = user32 ? reinterpret_cast<UpdateLayered>(reinterpret_cast<void*>(
                                   GetProcAddress(user32, "UpdateLayeredWindow")))
                             : nullptr;
    if (!g_updateLayered) return false;
    g_instance = instance;
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = ShadowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kShadowClass;
    RegisterClassExW(&wc);
    g_initialized = true;
    return true;
}

bool CWndShadow::Available() { return g_updateLayered != nullptr; }

CWndShadow::~CWndShadow() {
    if (m_parent) {
        auto& map = Shadows();
        for (auto it = map.begin(); it != map.end(); ++it)
            if (it->second == this) {
                map.erase(it);
                break;
            }
        // Give the parent its own procedure back while it still exists.
        if (IsWindow(m_parent) && m_parentProc &&
            reinterpret_cast<WNDPROC>(GetWindowLongPtrW(m_parent, GWLP_WNDPROC)) == ParentProc)
            SetWindowLongPtrW(m_parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_parentProc));
    }
    if (m_hwnd && IsWindow(m_hwnd)) DestroyWindow(m_hwnd);
}

void CWndShadow::Create(HWND parent) {
    if (!Available() || !parent) return;
    m_parent = parent;
    Shadows().emplace_back(parent, this);
    m_hwnd = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClass, nullptr,
                             WS_POPUPWINDOW, CW_USEDEFAULT, 0, 0, 0, parent, nullptr, g_instance,
                             nullptr);
    const LONG style = GetWindowLongW(parent, GWL_STYLE);
    if (!(style & WS_VISIBLE)) {
        m_status = kEnabled;
    } else if (style & (WS_MAXIMIZE | WS_MINIMIZE)) {
        m_status = kEnabled | kParentVisible;
    } else {
        m_status = kEnabled | kVisible | kParentVisible;
        ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
        Update(parent);
    }
    m_parentProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWndShadow::ParentProc)));
}

void CWndShadow::RenderIfShown() {
    if ((m_status & kVisible) && m_parent) Update(m_parent);
}

bool CWndShadow::SetSize(int size) {
    if (!m_settings.SetSize(size)) return false;
    RenderIfShown();
    return true;
}
bool CWndShadow::SetSharpness(int sharpness) {
    if (!m_settings.SetSharpness(sharpness)) return false;
    RenderIfShown();
    return true;
}
bool CWndShadow::SetDarkness(int darkness) {
    if (!m_settings.SetDarkness(darkness)) return false;
    RenderIfShown();
    return true;
}
bool CWndShadow::SetPosition(int x, int y) {
    if (!m_settings.SetPosition(x, y)) return false;
    RenderIfShown();
    return true;
}
bool CWndShadow::SetColor(std::uint32_t color) {
    m_settings.SetColor(color);
    RenderIfShown();
    return true;
}

void CWndShadow::Place(HWND parent, bool resize) {
    RECT r;
    GetWindowRect(parent, &r);
    const ShadowBitmap place =
        ShadowPlacement(m_settings.Params(), r.right - r.left, r.bottom - r.top);
    SetWindowPos(m_hwnd, nullptr, r.left + place.left, r.top + place.top, place.width,
                 place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | (resize ? 0 : SWP_NOSIZE));
}

void CWndShadow::Update(HWND parent) {
    if (!m_hwnd || !g_updateLayered) return;
    RECT r;
    GetWindowRect(parent, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const ShadowBitmap shadow =
        MakeShadow(m_settings.Params(), width, height, ParentRegion(parent));
    if (shadow.width <= 0 || shadow.height <= 0) return;
    void* bits = nullptr;
    HBITMAP bitmap = CreateArgbBitmap(shadow.width, shadow.height, &bits);  // top row first
    if (!bitmap) return;
    HDC memory = CreateCompatibleDC(nullptr);
    memcpy(bits, shadow.pixels.data(), shadow.pixels.size() * sizeof(std::uint32_t));
    HGDIOBJ old = SelectObject(memory, bitmap);
    POINT position = {r.left + shadow.left, r.top + shadow.top};
    SIZE size = {shadow.width, shadow.height};
    POINT origin = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    SetWindowPos(m_hwnd, nullptr, position.x, position.y, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    g_updateLayered(m_hwnd, nullptr, &position, &size, memory, &origin, 0, &blend, ULW_ALPHA);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

LRESULT CALLBACK CWndShadow::ParentProc(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
    CWndShadow* self = ShadowOf(parent);
    if (!self) return DefWindowProcW(parent, message, wParam, lParam);
    const WNDPROC previous = self->m_parentProc;
    switch (message) {
    case WM_MOVE:
        if (self->m_status & kVisible) self->Place(parent, false);
        break;
    case WM_SIZE:
        if (self->m_status & kEnabled) {
            if (wParam == SIZE_MAXIMIZED || wParam == SIZE_MINIMIZED) {
                ShowWindow(self->m_hwnd, SW_HIDE);
                self->m_status &= static_cast<std::uint8_t>(~kVisible);
            } else if (self->m_status & kParentVisible) {
                const std::uint32_t size = static_cast<std::uint32_t>(lParam);
                // A larger window's new region is only in force by its next paint.
                if (LOWORD(size) <= LOWORD(self->m_lastParentSize) &&
                    HIWORD(size) <= HIWORD(self->m_lastParentSize))
                    self->Update(parent);
                else
                    self->m_updatePending = true;
                if (!(self->m_status & kVisible)) {
                    ShowWindow(self->m_hwnd, SW_SHOWNOACTIVATE);
                    self->m_status |= kVisible;
                }
            }
            self->m_lastParentSize = static_cast<std::uint32_t>(lParam);
        }
        break;
    case WM_ACTIVATE:
    case WM_EXITSIZEMOVE:
        if (self->m_status & kVisible) self->Update(parent);
        break;
    case WM_PAINT:
        if (self->m_updatePending) {
            self->Update(parent);
            self->m_updatePending = false;
        }
        break;
    case WM_SHOWWINDOW:
        if (self->m_status & kEnabled) {
            if (!wParam) {
                ShowWindow(self->m_hwnd, SW_HIDE);
                self->m_status &= static_cast<std::uint8_t>(~(kVisible | kParentVisible));
            } else if (!(self->m_status & kParentVisible)) {
                self->m_updatePending = true;
                ShowWindow(self->m_hwnd, SW_SHOWNOACTIVATE);
                self->m_status |= kVisible | kParentVisible;
            }
        }
        break;
    case WM_DESTROY:
        if (self->m_hwnd) DestroyWindow(self->m_hwnd);
        self->m_hwnd = nullptr;
        break;
    case WM_NCDESTROY: {
        auto& map = Shadows();
        for (auto it = map.begin(); it != map.end(); ++it)
            if (it->first == parent) {
                map.erase(it);
                break;
            }
        self->m_parent = nullptr;
        break;
    }
    default:
        break;
    }
    return previous ? CallWindowProcW(previous, parent, message, wParam, lParam)
                    : DefWindowProcW(parent, message, wParam, lParam);
}

}  // namespace Skin
