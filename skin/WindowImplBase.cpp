#include "skin/WindowImplBase.h"

#include "skin/SkinFiles.h"

namespace Skin {
namespace {

const wchar_t kLoadFailed[] = L"\x52a0\x8f7d\x8d44\x6e90\x6587\x4ef6\x5931\x8d25";  // 加载资源文件失败

}  // namespace

FrameDescription DescribeFrame(const std::wstring& skinFile) {
    FrameDescription d;
    d.skinFile = skinFile;
    const size_t dot = skinFile.rfind(L'.');
    d.windowClassName = dot == std::wstring::npos ? skinFile : skinFile.substr(0, dot);
    return d;
}

WindowImplBase::WindowImplBase(const FrameDescription& description) : m_description(description) {}

WindowImplBase::~WindowImplBase() {
    if (m_hwnd && IsWindow(m_hwnd)) {
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

HWND WindowImplBase::Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, int x,
                            int y, int width, int height, HMENU menu) {
    HINSTANCE instance = SkinResources().GetInstance();
    if (!instance) instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, GetWindowClassName(), &wc)) {
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &WindowImplBase::WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.lpszClassName = GetWindowClassName();
        RegisterClassExW(&wc);
    }
    m_hwnd = CreateWindowExW(exStyle, GetWindowClassName(), title, style, x, y, width, height,
                             parent, menu, instance, this);
    return m_hwnd;
}

LRESULT CALLBACK WindowImplBase::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowImplBase* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<WindowImplBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->m_hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<WindowImplBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->m_hwnd = nullptr;
        self->OnFinalMessage();
        return result;
    }
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT WindowImplBase::OnCreate() {
    // No system caption; children are not painted over.
    LONG style = GetWindowLongW(m_hwnd, GWL_STYLE);
    style = (style & ~WS_CAPTION) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    SetWindowLongW(m_hwnd, GWL_STYLE, style);
    SetWindowPos(m_hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_manager.Init(m_hwnd);
    SkinResources().SetResourcePath(SkinResources().GetInstancePath() + m_description.skinFolder);
    if (m_description.resourceKind == 4 &&
        !LoadResourcePackage(SkinResources().GetResourceModule(),
                             static_cast<unsigned>(m_description.resourceId)) &&
        SkinResources().GetPackageName().empty())
        return 0;  // no package: the window stays empty
    CMarkupBuilder builder;
    CControlUI* root = builder.Create(m_description.skinFile, this, &m_manager);
    if (!root) {
        MessageBoxW(nullptr, kLoadFailed, L"Tallowmere", MB_ICONERROR | MB_OK);
        ExitProcess(1);
    }
    m_manager.AttachDialog(root);
    m_manager.AddNotifier(this);
    InitWindow();
    return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const LRESULT custom = HandleCustomMessage(message, wParam, lParam, handled);
    if (handled) return custom;
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case WM_CLOSE: {
        m_closeCode = static_cast<UINT>(wParam);
        HWND owner = GetWindow(m_hwnd, GW_OWNER);
        if (owner) {
            EnableWindow(owner, TRUE);
            SetFocus(owner);
        }
        DestroyWindow(m_hwnd);
        return 0;
    }
    case WM_NCCALCSIZE:
        return 0;  // the client area is the whole window
    case WM_NCPAINT:
        return 0;
    case WM_NCACTIVATE:
        return IsIconic(m_hwnd) ? DefWindowProcW(m_hwnd, message, wParam, lParam) : TRUE;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) return 0;  // Escape closes nothing
        break;
    default:
        break;
    }
    LRESULT result = 0;
    if (m_manager.MessageHandler(message, wParam, lParam, result)) return result;
    if (message == WM_NCHITTEST) return HTCLIENT;
    return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

void WindowImplBase::Notify(UINotification& msg) {
    if (msg.sType == L"click") OnClick(msg);
}

void WindowImplBase::OnClick(UINotification& msg) {
    if (!msg.pSender) return;
    const std::wstring& name = msg.pSender->GetName();
    if (name == L"closebtn") Close(1);
    else if (name == L"minbtn") SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    else if (name == L"maxbtn") SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    else if (name == L"restorebtn") SendMessageW(m_hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void WindowImplBase::Close(UINT code) {
    if (m_hwnd && IsWindow(m_hwnd)) PostMessageW(m_hwnd, WM_CLOSE, code, 0);
}

void WindowImplBase::CenterWindow() {
    if (!m_hwnd) return;
    RECT window;
    GetWindowRect(m_hwnd, &window);
    HWND owner = GetWindow(m_hwnd, GW_OWNER);
    MONITORINFO monitor = {sizeof monitor};
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : m_hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    RECT center = work;
    if (owner && !IsIconic(owner)) GetWindowRect(owner, &center);
    const int w = window.right - window.left, h = window.bottom - window.top;
    int x = (center.left + center.right) / 2 - w / 2;
    int y = (center.top + center.bottom) / 2 - h / 2;
    if (x < work.left) x = work.left;
    else if (x + w > work.right) x = work.right - w;
    if (y < work.top) y = work.top;
    else if (y + h > work.bottom) y = work.bottom - h;
    SetWindowPos(m_hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

UINT WindowImplBase::ShowModal() {
    HWND window = m_hwnd;
    if (!window) return 0;
    HWND owner = GetWindow(window, GW_OWNER);
    ShowWindow(window, SW_SHOWNORMAL);
    if (owner) EnableWindow(owner, FALSE);
    MSG msg;
    bool quit = false;
    WPARAM quitCode = 0;
    // Every message of the thread is dispatched, so the owner's timers and posted events go on.
    while (IsWindow(window)) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (owner) {
        EnableWindow(owner, TRUE);
        SetFocus(owner);
    }
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
    return m_closeCode;
}

}  // namespace Skin
