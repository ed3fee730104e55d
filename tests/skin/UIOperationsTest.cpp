// The operations window code relies on, on real controls in a hidden window: page changes,
// toolkit timers, progress values, check boxes, combo boxes, lookups and the disabled-image
// fallback.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "skin/MarkupBuilder.h"
#include "skin/UIButton.h"
#include "skin/UICombo.h"
#include "skin/UIContainer.h"
#include "skin/UIManager.h"
#include "skin/UIProgress.h"
#include "skin/UIRender.h"
#include "skin/UISequence.h"

namespace {

using namespace Skin;

std::string SkinData(const std::string& name) {
    std::string here = __FILE__;  // .../tests/skin/UIOperationsTest.cpp
    here = here.substr(0, here.find_last_of("/\\"));
    std::ifstream in(here + "/../../skin/data/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct Recorder : INotifyUI {
    std::vector<std::wstring> seen;
    void Notify(UINotification& msg) override {
        seen.push_back(msg.sType + L" " + (msg.pSender ? msg.pSender->GetName() : L"") + L" " +
                       std::to_wstring(msg.wParam) + L" " + std::to_wstring(msg.lParam));
    }
};

// A hidden window with a manager and a tree built from markup.
class Window {
public:
    explicit Window(const std::string& markup) {
        static bool registered = false;
        if (!registered) {
            WNDCLASSW wc = {};
            wc.lpfnWndProc = &Window::Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"SkinOperationsTest";
            RegisterClassW(&wc);
            registered = true;
        }
        hwnd = CreateWindowExW(0, L"SkinOperationsTest", L"", WS_POPUP, 0, 0, 100, 100, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        manager.Init(hwnd);
        CMarkupBuilder builder;
        root = builder.CreateFromBytes(markup, nullptr, &manager);
        manager.AttachDialog(root);
        manager.AddNotifier(&recorder);
        manager.Relayout();
    }
    ~Window() {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        DestroyWindow(hwnd);
    }
    template <typename T> T* Find(const wchar_t* name) {
        return dynamic_cast<T*>(manager.FindControl(name));
    }
    void Pump(DWORD ms) {
        const DWORD until = GetTickCount() + ms;
        MSG msg;
        while (GetTickCount() < until) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            Sleep(5);
        }
    }
    // The control drawn alone into a white 32-bit buffer; its pixels.
    std::vector<std::uint32_t> Render(CControlUI* control) {
        const RECT r = control->GetPos();
        const int w = r.right, h = r.bottom;
        void* bits = nullptr;
        HBITMAP dib = CreateArgbBitmap(w, h, &bits);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, dib);
        RECT all = {0, 0, w, h};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        control->DoPaint(dc, all);
        GdiFlush();
        std::vector<std::uint32_t> pixels(static_cast<std::uint32_t*>(bits),
                                          static_cast<std::uint32_t*>(bits) + w * h);
        SelectObject(dc, old);
        DeleteObject(dib);
        DeleteDC(dc);
        return pixels;
    }

    HWND hwnd = nullptr;
    CUIManager manager;
    CControlUI* root = nullptr;
    Recorder recorder;

private:
    static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        LRESULT result = 0;
        if (self && self->manager.MessageHandler(m, w, l, result)) return result;
        return DefWindowProcW(h, m, w, l);
    }
};

const char kTabs[] =
    "<Window size=\"200,100\"><VerticalLayout><TabLayout name=\"tabs\">"
    "<Control name=\"p0\"/><Control name=\"p1\"/><Control name=\"p2\"/>"
    "</TabLayout></VerticalLayout></Window>";

TEST(UIOperations, SelectItem) {
    Window w(kTabs);
    CTabLayoutUI* tabs = w.Find<CTabLayoutUI>(L"tabs");
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->GetCurSel(), 0);  // the first visible page, no notification
    EXPECT_FALSE(w.Find<CControlUI>(L"p1")->IsVisible());
    EXPECT_FALSE(tabs->SelectItem(3));  // out of range: nothing changes
    EXPECT_FALSE(tabs->SelectItem(-1));
    EXPECT_TRUE(tabs->SelectItem(0));   // the current page: true, nothing sent
    EXPECT_TRUE(w.recorder.seen.empty());
    EXPECT_TRUE(tabs->SelectItem(2));
    EXPECT_EQ(w.recorder.seen, (std::vector<std::wstring>{L"tabselect tabs 2 0"}));
    EXPECT_EQ(tabs->GetCurSel(), 2);
    EXPECT_TRUE(w.Find<CControlUI>(L"p2")->IsVisible());
    EXPECT_FALSE(w.Find<CControlUI>(L"p0")->IsVisible());
    const RECT page = w.Find<CControlUI>(L"p2")->GetPos();
    EXPECT_EQ(page.right - page.left, 200);  // laid out again: the page fills the tab layout
}

TEST(UIOperations, TimerRules) {
    Window w(kTabs);
    CControlUI* a = w.Find<CControlUI>(L"p0");
    CControlUI* b = w.Find<CControlUI>(L"p1");
    EXPECT_TRUE(w.manager.SetTimer(a, 2100, 20));
    EXPECT_FALSE(w.manager.SetTimer(a, 2100, 500));  // already running: refused, unchanged
    EXPECT_TRUE(w.manager.SetTimer(b, 2100, 1000));  // another control, the same id
    w.Pump(200);
    ASSERT_FALSE(w.recorder.seen.empty());
    for (const std::wstring& line : w.recorder.seen)
        EXPECT_EQ(line.compare(0, 16, L"timer p0 2100 "), line.size() >= 16 ? 0 : 1) << line;
    EXPECT_GE(w.recorder.seen.size(), 3u);  // 20 ms still in force, not 500
    EXPECT_TRUE(w.manager.KillTimer(a, 2100));
    EXPECT_FALSE(w.manager.KillTimer(a, 2100));   // none running any more
    EXPECT_FALSE(w.manager.KillTimer(a, 7));      // never set
    w.recorder.seen.clear();
    w.Pump(100);
    EXPECT_TRUE(w.recorder.seen.empty());
    EXPECT_TRUE(w.manager.SetTimer(a, 2100, 20));  // a stopped timer starts again
    w.Pump(150);
    EXPECT_FALSE(w.recorder.seen.empty());
    EXPECT_TRUE(w.manager.KillTimer(b, 2100));
}

TEST(UIOperations, ProgressValueIsClamped) {
    Window w("<Window><VerticalLayout><Progress name=\"bar\"/></VerticalLayout></Window>");
    CProgressUI* bar = w.Find<CProgressUI>(L"bar");
    ASSERT_NE(bar, nullptr);
    const struct { int set, got; } cases[] = {{50, 50}, {-5, 0}, {150, 100}, {100, 100}, {0, 0}};
    for (const auto& c : cases) {
        bar->SetValue(c.set);
        EXPECT_EQ(bar->GetValue(), c.got) << c.set;
    }
}

TEST(UIOperations, CheckBoxClickThenSelectChanged) {
    Window w("<Window><VerticalLayout><CheckBox name=\"cb\" selected=\"true\"/>"
             "</VerticalLayout></Window>");
    COptionUI* box = w.Find<COptionUI>(L"cb");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->IsSelected());
    EXPECT_TRUE(w.recorder.seen.empty());  // the markup's state reached nobody
    box->Activate();
    EXPECT_EQ(w.recorder.seen,
              (std::vector<std::wstring>{L"click cb 0 0", L"selectchanged cb 0 0"}));
    EXPECT_FALSE(box->IsSelected());
    w.recorder.seen.clear();
    box->Selected(false, true);  // no change: nothing sent
    box->Selected(true, false);  // asked not to notify
    EXPECT_TRUE(w.recorder.seen.empty());
    box->Selected(false, true);
    EXPECT_EQ(w.recorder.seen, (std::vector<std::wstring>{L"selectchanged cb 0 0"}));
}

TEST(UIOperations, LanguageMarkersInTexts) {
    CUIManager::SetLanguageText(1, L"\x5b89\x88c5");  // "安装"
    CUIManager::SetLanguageText(12, L"Tallowmere");
    const struct { const wchar_t* text; const wchar_t* shown; } cases[] = {
        {L"%{1}", L"\x5b89\x88c5"},
        {L"a %{12} b %{1}", L"a Tallowmere b \x5b89\x88c5"},
        {L"%{7}", L"%{7}"},      // no such text: the marker stays
        {L"%{x}", L"%{x}"},
        {L"%{", L"%{"},
        {L"100%", L"100%"},
    };
    for (const auto& c : cases) EXPECT_EQ(CUIManager::ApplyLanguage(c.text), c.shown) << c.text;
    CUIManager::ClearLanguageTexts();
    EXPECT_EQ(CUIManager::ApplyLanguage(L"%{1}"), L"%{1}");
}

struct SequenceFactory : IDialogBuilderCallback {
    CControlUI* CreateControl(const wchar_t* name) override {
        if (_wcsicmp(name, L"SequenceLabel") == 0) return new CSequenceLabelUI;
        if (_wcsicmp(name, L"SequenceButton") == 0) return new CSequenceButtonUI;
        return nullptr;
    }
};

TEST(UIOperations, SequenceLabelPlaysFromItsPattern) {
    // The main window's animation as its document writes it.
    const std::string markup =
        "<Window><VerticalLayout><SequenceLabel name=\"anim\" width=\"160\" "
        "sequencebkimage=\"res\\mainWnd\\installBtnAnimate\\%.3d.png\" sequencecount=\"26\" "
        "sequenceround=\"false\" sequencespan=\"30\" autostart=\"true\" height=\"160\"/>"
        "<SequenceLabel name=\"idle\" sequencecount=\"3\"/></VerticalLayout></Window>";
    Window w("<Window/>");
    SequenceFactory factory;
    CMarkupBuilder builder;
    CControlUI* root = builder.CreateFromBytes(markup, &factory, &w.manager);
    ASSERT_NE(root, nullptr);
    w.manager.AttachDialog(root);  // autostart: running before anything is shown
    auto* anim = dynamic_cast<CSequenceLabelUI*>(w.manager.FindControl(L"anim"));
    auto* idle = dynamic_cast<CSequenceLabelUI*>(w.manager.FindControl(L"idle"));
    ASSERT_NE(anim, nullptr);
    ASSERT_NE(idle, nullptr);
    EXPECT_STREQ(anim->GetClass(), L"SequenceLabel");
    EXPECT_EQ(anim->GetSequenceCount(), 26u);
    EXPECT_EQ(anim->GetSequenceSpan(), 30);
    EXPECT_FALSE(w.manager.SetTimer(anim, 2100, 500));  // already running at 30 ms
    w.Pump(400);
    EXPECT_GT(anim->CurrentFrame(), 3u);
    EXPECT_EQ(anim->GetBkImage().find(L"res\\mainWnd\\installBtnAnimate\\0"), 0u)
        << anim->GetBkImage();
    EXPECT_TRUE(w.manager.KillTimer(anim, 2100));  // stopped: the frame stays
    const std::wstring frame = anim->GetBkImage();
    w.Pump(100);
    EXPECT_EQ(anim->GetBkImage(), frame);
    // StartSequence starts again at frame 0 (the first tick shows 000)
    anim->StartSequence();
    EXPECT_EQ(anim->CurrentFrame(), 0u);
    w.Pump(20);
    anim->StartSequence();  // running: only the frame number goes back to 0
    EXPECT_EQ(anim->CurrentFrame(), 0u);
    // without a pattern a tick does nothing but notify
    w.manager.AddNotifier(&w.recorder);
    w.recorder.seen.clear();
    EXPECT_TRUE(w.manager.SetTimer(idle, 2100, 20));
    w.Pump(100);
    EXPECT_TRUE(idle->GetBkImage().empty());
    bool idleTimer = false;
    for (const std::wstring& line : w.recorder.seen) idleTimer |= line == L"timer idle 2100 0";
    EXPECT_TRUE(idleTimer);
    // hidden: the animation stops; destroyed: its timer goes with it
    anim->SetVisible(false);
    EXPECT_FALSE(w.manager.KillTimer(anim, 2100));
    EXPECT_TRUE(w.manager.SetTimer(anim, 2100, 20));
}

TEST(UIOperations, DestroyingASequenceControlStopsItsTimer) {
    Window w("<Window/>");
    SequenceFactory factory;
    CMarkupBuilder builder;
    CControlUI* root = builder.CreateFromBytes(
        "<Window><VerticalLayout><SequenceLabel name=\"a\" sequencebkimage=\"%d.png\" "
        "sequencecount=\"5\" autostart=\"true\" sequencespan=\"10\"/></VerticalLayout></Window>",
        &factory, &w.manager);
    w.manager.AttachDialog(root);
    w.manager.AddNotifier(&w.recorder);
    w.Pump(60);
    EXPECT_FALSE(w.recorder.seen.empty());
    w.manager.AttachDialog(builder.CreateFromBytes("<Window><Control/></Window>", nullptr,
                                                   &w.manager));  // the old tree is gone
    w.recorder.seen.clear();
    w.Pump(60);  // no tick reaches a deleted control
    EXPECT_TRUE(w.recorder.seen.empty());
}

TEST(UIOperations, MessageBoxesHaveNoOkOrCancelButton) {
    for (const char* name : {"MessageBox1Wnd.xml", "MessageBox2Wnd.xml"}) {
        Window w(SkinData(name));
        ASSERT_NE(w.root, nullptr) << name;
        EXPECT_EQ(w.manager.FindControl(L"okBtn"), nullptr) << name;
        EXPECT_EQ(w.manager.FindControl(L"cancelBtn"), nullptr) << name;
        EXPECT_NE(w.manager.FindControl(L"closebtn"), nullptr) << name;
        EXPECT_EQ(w.manager.FindControl(L""), nullptr);
    }
}

TEST(UIOperations, DisabledButtonShowsItsNormalImageWhenTheDisabledOneIsMissing) {
    // No package is registered here: images come from files relative to the current folder.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"skin-ops-test";
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\res").c_str(), nullptr);
    const std::string png = SkinData("res/mainWnd/Cb2.png");  // blue: shows on white
    ASSERT_FALSE(png.empty());
    std::ofstream((folder + L"\\res\\n.png").c_str(), std::ios::binary) << png;
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(folder.c_str());
    {
        Window w("<Window><VerticalLayout><Button name=\"b\" width=\"24\" height=\"24\" "
                 "normalimage=\"res\\n.png\" disabledimage=\"res\\missing.png\"/>"
                 "</VerticalLayout></Window>");
        CButtonUI* button = w.Find<CButtonUI>(L"b");
        ASSERT_NE(button, nullptr);
        const auto normal = w.Render(button);
        button->SetEnabled(false);
        const auto disabled = w.Render(button);
        EXPECT_EQ(disabled, normal);
        // and the image was drawn at all: not every pixel is the white background
        bool drawn = false;
        for (std::uint32_t p : normal) drawn |= (p & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_TRUE(drawn);
        EXPECT_EQ(w.manager.DecodedImageCount(), 2u);  // one try per name, kept per window
    }
    SetCurrentDirectoryW(previous);
    DeleteFileW((folder + L"\\res\\n.png").c_str());
    RemoveDirectoryW((folder + L"\\res").c_str());
    RemoveDirectoryW(folder.c_str());
}

const char kCombo[] =
    "<Window size=\"200,100\"><VerticalLayout><Combo name=\"combo\" height=\"24\">"
    "<ListLabelElement name=\"first\" text=\"English\"/><ListLabelElement text=\"%{5}\"/>"
    "<ListLabelElement text=\"Deutsch\"/></Combo><Control/></VerticalLayout></Window>";

TEST(UIOperations, ComboItemsAreItsChildElements) {
    Window w(kCombo);
    CComboUI* combo = w.Find<CComboUI>(L"combo");
    ASSERT_NE(combo, nullptr);
    EXPECT_STREQ(combo->GetClass(), L"Combo");
    ASSERT_EQ(combo->GetCount(), 3);
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_EQ(combo->GetText(), L"");
    EXPECT_EQ(combo->GetItemText(0), L"English");
    EXPECT_EQ(combo->GetItemText(1), L"%{5}");
    EXPECT_EQ(combo->GetItemText(3), L"");
    EXPECT_EQ(combo->GetItemText(-1), L"");
    EXPECT_EQ(combo->GetItemAt(3), nullptr);
    CControlUI* first = w.Find<CControlUI>(L"first");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, combo->GetItemAt(0));
    EXPECT_STREQ(first->GetClass(), L"ListLabelElement");
    EXPECT_EQ(first->GetParent(), combo);
    EXPECT_EQ(first->GetManager(), &w.manager);
    // The box is laid out like a button; its items take no room and no clicks.
    const RECT box = combo->GetPos();
    EXPECT_EQ(box.right - box.left, 200);
    EXPECT_EQ(box.bottom - box.top, 24);
    const RECT item = first->GetPos();
    EXPECT_TRUE(IsRectEmpty(&item));
    EXPECT_EQ(w.manager.FindControl(POINT{10, 10}), combo);
    EXPECT_TRUE(w.recorder.seen.empty());
}

TEST(UIOperations, ComboSelectItem) {
    Window w(kCombo);
    CComboUI* combo = w.Find<CComboUI>(L"combo");
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->SelectItem(3));  // out of range: nothing changes
    EXPECT_FALSE(combo->SelectItem(-1));
    EXPECT_FALSE(combo->SelectItem(-2, true));
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_EQ(w.manager.GetFocus(), nullptr);
    EXPECT_TRUE(w.recorder.seen.empty());

    EXPECT_TRUE(combo->SelectItem(1));
    EXPECT_EQ(w.recorder.seen, (std::vector<std::wstring>{L"itemselect combo 1 -1"}));
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(combo->GetText(), L"%{5}");
    EXPECT_TRUE(combo->SelectItem(1));  // the current item: nothing sent again
    EXPECT_EQ(w.recorder.seen.size(), 1u);
    EXPECT_FALSE(combo->SelectItem(7));
    EXPECT_EQ(combo->GetCurSel(), 1);

    w.recorder.seen.clear();
    EXPECT_TRUE(combo->SelectItem(2, false, false));  // asked not to notify
    EXPECT_EQ(combo->GetCurSel(), 2);
    EXPECT_EQ(combo->GetText(), L"Deutsch");
    EXPECT_TRUE(w.recorder.seen.empty());

    EXPECT_TRUE(combo->SelectItem(0, true));  // and taking the focus
    EXPECT_EQ(w.manager.GetFocus(), combo);
    EXPECT_EQ(w.recorder.seen,
              (std::vector<std::wstring>{L"setfocus combo 0 0", L"itemselect combo 0 2"}));
}

TEST(UIOperations, ComboArrowKeysMoveTheSelection) {
    Window w(kCombo);
    CComboUI* combo = w.Find<CComboUI>(L"combo");
    ASSERT_NE(combo, nullptr);
    const auto key = [&](WPARAM vk) { combo->Event(UIEventArgs{UIEvent::Key, {0, 0}, vk, 0}); };
    key(VK_UP);  // nothing selected: the first item
    EXPECT_EQ(combo->GetCurSel(), 0);
    key(VK_UP);  // at the top already
    key(VK_DOWN);
    key(VK_DOWN);
    key(VK_DOWN);  // at the bottom already
    EXPECT_EQ(combo->GetCurSel(), 2);
    EXPECT_EQ(w.recorder.seen,
              (std::vector<std::wstring>{L"itemselect combo 0 -1", L"itemselect combo 1 0",
                                         L"itemselect combo 2 1"}));
}

TEST(UIOperations, ComboShowsTheCurrentItemWithItsLanguageText) {
    CUIManager::SetLanguageText(5, L"MMMMMM");
    Window w("<Window size=\"200,100\"><VerticalLayout><Combo name=\"combo\" height=\"24\" "
             "width=\"120\" textcolor=\"#FF000000\"><ListLabelElement text=\"\"/>"
             "<ListLabelElement text=\"%{5}\"/><ListLabelElement text=\"MMMMMM\"/></Combo>"
             "</VerticalLayout></Window>");
    CComboUI* combo = w.Find<CComboUI>(L"combo");
    ASSERT_NE(combo, nullptr);
    const auto nothing = w.Render(combo);
    for (std::uint32_t p : nothing) ASSERT_EQ(p & 0xFFFFFF, 0xFFFFFFu);  // no item: no text
    ASSERT_TRUE(combo->SelectItem(0));
    EXPECT_EQ(w.Render(combo), nothing);  // an empty text
    ASSERT_TRUE(combo->SelectItem(1));
    const auto marker = w.Render(combo);
    EXPECT_NE(marker, nothing);
    ASSERT_TRUE(combo->SelectItem(2));
    EXPECT_EQ(w.Render(combo), marker);  // "%{5}" is shown as its language text
    CUIManager::ClearLanguageTexts();
    EXPECT_NE(w.Render(combo), nothing);
    ASSERT_TRUE(combo->SelectItem(1));
    EXPECT_NE(w.Render(combo), marker);  // without the text the marker itself is shown
}

// Sends keys to the menu a click opens, from inside its loop; closes it after a while if they
// did not.
struct MenuDriver {
    static std::vector<WPARAM>& Keys() {
        static std::vector<WPARAM> keys;
        return keys;
    }
    static void CALLBACK Tick(HWND window, UINT, UINT_PTR id, DWORD) {
        static int ticks = 0;
        ++ticks;
        if (!Keys().empty()) {
            const WPARAM vk = Keys().front();
            Keys().erase(Keys().begin());
            PostMessageW(window, WM_KEYDOWN, vk, 0);
            return;
        }
        if (ticks > 40) {
            EndMenu();
            KillTimer(window, id);
        }
    }
};

TEST(UIOperations, ComboClickPicksFromAPopupMenu) {
    Window w(kCombo);
    CComboUI* combo = w.Find<CComboUI>(L"combo");
    ASSERT_NE(combo, nullptr);
    ShowWindow(w.hwnd, SW_SHOWNOACTIVATE);
    w.Pump(50);
    // down, down, return: the second item
    MenuDriver::Keys() = {VK_DOWN, VK_DOWN, VK_RETURN};
    const UINT_PTR timer = SetTimer(w.hwnd, 77, 50, &MenuDriver::Tick);
    LRESULT result = 0;
    w.manager.MessageHandler(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10), result);
    w.manager.MessageHandler(WM_LBUTTONUP, 0, MAKELPARAM(10, 10), result);  // the menu's loop
    KillTimer(w.hwnd, timer);
    EXPECT_EQ(combo->GetCurSel(), 1);
    bool selected = false;
    for (const std::wstring& line : w.recorder.seen) selected |= line == L"itemselect combo 1 -1";
    EXPECT_TRUE(selected);
}

}  // namespace
