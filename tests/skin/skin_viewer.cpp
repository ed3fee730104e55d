// Opens one window document of a skin package in a real window and reports on it: how tests
// (and maintainers) look at a skin.
//
// usage: skin-viewer.exe <exe with the package> <skin file> [--tab NAME=INDEX]... [--dump]
//        [--exit-after MS] [--at X,Y] [--quit-on-paint]
// The window is a plain popup at (X, Y) (default 100,100) with the document's size. After
// the first paint it selects the given tab pages, prints the laid-out tree ("control" lines:
// depth, class, name, left,top,right,bottom, visible) when asked, then "ready". Every
// notification is printed as "notify <type> <sender> <wParam> <lParam>". It closes after MS
// milliseconds, when a line "quit" arrives on standard input, or right after the first paint
// (--quit-on-paint). It first prints how long the package took to decode ("decode_us").
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "skin/MarkupBuilder.h"
#include "skin/SkinFiles.h"
#include "skin/UIContainer.h"
#include "skin/UILabel.h"
#include "skin/UIManager.h"
#include "skin/UISequence.h"

namespace {

void Print(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &utf8[0], n, nullptr, nullptr);
    std::fputs(utf8.c_str(), stdout);
    std::fflush(stdout);
}

// The animation controls, as the main window creates them.
class Callback : public Skin::IDialogBuilderCallback {
public:
    Skin::CControlUI* CreateControl(const wchar_t* name) override {
        if (_wcsicmp(name, L"SequenceLabel") == 0) return new Skin::CSequenceLabelUI;
        if (_wcsicmp(name, L"SequenceButton") == 0) return new Skin::CSequenceButtonUI;
        return nullptr;
    }
};

class Viewer : public Skin::INotifyUI {
public:
    Skin::CUIManager manager;
    std::vector<std::pair<std::wstring, int>> tabs;
    bool dump = false;
    bool quitOnPaint = false;

    void Notify(Skin::UINotification& msg) override {
        Print(L"notify " + msg.sType + L" " +
              (msg.pSender && !msg.pSender->GetName().empty() ? msg.pSender->GetName() : L"-") +
              L" " + std::to_wstring(msg.wParam) + L" " + std::to_wstring(msg.lParam) + L"\n");
        if (msg.sType == L"windowinit") Ready();
    }

    void Ready() {
        for (const auto& tab : tabs)
            if (auto* t = dynamic_cast<Skin::CTabLayoutUI*>(manager.FindControl(tab.first)))
                t->SelectItem(tab.second);
        manager.Relayout();
        if (dump) Dump(manager.GetRoot(), 0);
        RedrawWindow(manager.GetPaintWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Print(L"ready\n");
        if (quitOnPaint) PostQuitMessage(0);
    }

    void Dump(Skin::CControlUI* control, int depth) {
        const RECT& r = control->GetPos();
        wchar_t line[512];
        _snwprintf(line, 511, L"control %d %s %s %ld,%ld,%ld,%ld %d\n", depth, control->GetClass(),
                   control->GetName().empty() ? L"-" : control->GetName().c_str(), r.left, r.top,
                   r.right, r.bottom, control->IsVisible() ? 1 : 0);
        line[511] = L'\0';
        Print(line);
        for (int i = 0; i < control->GetCount(); ++i) Dump(control->GetItemAt(i), depth + 1);
    }
};

Viewer* g_viewer = nullptr;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (g_viewer && g_viewer->manager.MessageHandler(message, wParam, lParam, result)) return result;
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

void CALLBACK CloseWhenDue(HWND window, UINT, UINT_PTR, DWORD) { DestroyWindow(window); }

DWORD WINAPI WatchInput(void* window) {
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
        if (std::string(line).compare(0, 4, "quit") == 0) {
            PostMessageW(static_cast<HWND>(window), WM_CLOSE, 0, 0);
            break;
        }
    }
    return 0;  // without input the window stays until its time is up
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        Print(L"usage: skin-viewer.exe <exe with the package> <skin file> [options]\n");
        return 2;
    }
    Viewer viewer;
    g_viewer = &viewer;
    UINT exitAfter = 0;
    int x = 100, y = 100;
    for (int i = 3; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--dump") viewer.dump = true;
        else if (arg == L"--quit-on-paint") viewer.quitOnPaint = true;
        else if (arg == L"--exit-after" && i + 1 < argc) exitAfter = static_cast<UINT>(_wtoi(argv[++i]));
        else if (arg == L"--at" && i + 1 < argc) swscanf(argv[++i], L"%d,%d", &x, &y);
        else if (arg == L"--tab" && i + 1 < argc) {
            const std::wstring spec = argv[++i];
            const size_t eq = spec.find(L'=');
            if (eq != std::wstring::npos)
                viewer.tabs.emplace_back(spec.substr(0, eq), _wtoi(spec.c_str() + eq + 1));
        }
    }
    HMODULE package = LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    Skin::SetSevenZipPackages(true);
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&before);
    if (!package || !Skin::LoadResourcePackage(package)) {
        Print(L"no skin package in the executable\n");
        return 1;
    }
    QueryPerformanceCounter(&after);
    Print(L"decode_us " +
          std::to_wstring((after.QuadPart - before.QuadPart) * 1000000 / frequency.QuadPart) +
          L"\n");
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SkinViewer";
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, L"SkinViewer", argv[2], WS_POPUP | WS_CLIPCHILDREN, x, y,
                                  100, 100, nullptr, nullptr, wc.hInstance, nullptr);
    viewer.manager.Init(window);
    Skin::CMarkupBuilder builder;
    Callback callback;
    Skin::CControlUI* root = builder.Create(argv[2], &callback, &viewer.manager);
    if (!root) {
        Print(L"error " + builder.GetLastErrorMessage() + L"\n");
        DestroyWindow(window);
        return 1;
    }
    viewer.manager.AttachDialog(root);
    viewer.manager.AddNotifier(&viewer);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    if (exitAfter) SetTimer(window, 999, exitAfter, &CloseWhenDue);
    CreateThread(nullptr, 0, WatchInput, window, 0, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    g_viewer = nullptr;
    return 0;
}
