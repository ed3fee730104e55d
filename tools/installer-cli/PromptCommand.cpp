#include <windows.h>

#include <string>

#include "CliOutput.h"
#include "Commands.h"
#include "skin/MessageBoxWnd.h"
#include "skin/SkinFiles.h"
#include "skin/WndShadow.h"

// prompt <skin file> [--text=T] [--caption=C] [--minimize-after=MS]: opens that prompt, as the window code names its
// skin ("ExitTipWnd.xml"), over a plain owner window. Once it is on screen it prints
// "open <left>,<top>,<right>,<bottom> owner-enabled=0" (its window rectangle, the owner
// disabled), after it closes "closed owner-enabled=1"; the last line is the answer
// (0 okBtn, 1 cancelBtn or closed otherwise, 2 another button). The skin package is this
// tool's own resource, the same as the installer's.
namespace {

std::wstring g_promptClass;
UINT g_minimizeAfter = 0;

void CALLBACK MinimizePrompt(HWND owner, UINT, UINT_PTR id, DWORD) {
    KillTimer(owner, id);
    if (HWND prompt = FindWindowW(g_promptClass.c_str(), nullptr)) ShowWindow(prompt, SW_MINIMIZE);
    PrintUtf8(L"minimized\n");
}

const UINT kPostedToOwner = WM_APP + 7;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Posted before the prompt opens: handled by the prompt's modal loop.
    if (message == kPostedToOwner) PrintUtf8(L"owner handled a posted message\n");
    return DefWindowProcW(window, message, wParam, lParam);
}

void CALLBACK ReportOpen(HWND owner, UINT, UINT_PTR id, DWORD) {
    HWND prompt = FindWindowW(g_promptClass.c_str(), nullptr);
    if (!prompt || !IsWindowVisible(prompt)) return;
    KillTimer(owner, id);
    if (g_minimizeAfter) SetTimer(owner, 2, g_minimizeAfter, &MinimizePrompt);
    RECT r;
    GetWindowRect(prompt, &r);
    PrintUtf8(L"open " + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
              std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom) + L" owner-enabled=" +
              std::to_wstring(IsWindowEnabled(owner) ? 1 : 0) + L"\n");
}

}  // namespace

int RunPromptCommand(const std::vector<std::wstring>& args) {
    std::wstring skin, text, caption;
    bool hasText = false, hasCaption = false;
    for (const std::wstring& arg : args) {
        if (ReadOption(arg, L"--text", text)) hasText = true;
        else if (ReadOption(arg, L"--caption", caption)) hasCaption = true;
        else if (arg.compare(0, 17, L"--minimize-after=") == 0)
            g_minimizeAfter = static_cast<UINT>(_wtoi(arg.c_str() + 17));
        else skin = arg;
    }
    if (skin.empty()) {
        PrintUtf8(L"usage: prompt <skin file> [--text=T] [--caption=C]\n");
        return 2;
    }
    Skin::SkinResources().SetInstance(GetModuleHandleW(nullptr));
    Skin::SetSevenZipPackages(true);
    Skin::CWndShadow::Initialize(GetModuleHandleW(nullptr));
    WNDCLASSW wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PromptTestOwner";
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    RegisterClassW(&wc);
    HWND owner = CreateWindowExW(0, L"PromptTestOwner", L"owner", WS_POPUP | WS_VISIBLE, 0, 0,
                                 800, 600, nullptr, nullptr, wc.hInstance, nullptr);
    const Skin::FrameDescription description = Skin::DescribeFrame(skin);
    g_promptClass = description.windowClassName;
    SetTimer(owner, 1, 100, &ReportOpen);
    PostMessageW(owner, kPostedToOwner, 0, 0);
    const int answer = Skin::ShowMessageBox(owner, description, hasText ? text.c_str() : nullptr,
                                            hasCaption ? caption.c_str() : nullptr);
    PrintUtf8(L"closed owner-enabled=" + std::to_wstring(IsWindowEnabled(owner) ? 1 : 0) + L"\n");
    DestroyWindow(owner);
    PrintUtf8(std::to_wstring(answer) + L"\n");
    return 0;
}
