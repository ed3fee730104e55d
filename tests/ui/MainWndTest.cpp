// The main window built from the real skin package (this program's own resource), with the
// pipeline's events handed to it as the UI thread would get them: progress texts and bar
// values, the wording switch after 60 seconds, failures, page decoration and the check boxes.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/InstallerConfig.h"
#include "skin/UIButton.h"
#include "skin/UIContainer.h"
#include "skin/UIProgress.h"
#include "ui/MainWnd.h"
#include "ui/PipelineEvent.h"
#include "MainWindowFixture.h"

using namespace Skin;

namespace {

class MainWndTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        TheInstallerConfig().DownloadScale = 0.7;
        window.SetTickSource([this] { return now; });
        ASSERT_NE(window.Create(nullptr, L"Tallowmere", WS_OVERLAPPEDWINDOW, 0), nullptr);
    }

    void Event(int code, double value = 0.0, const wchar_t* message = L"") {
        window.OnPipelineEvent(new PipelineEvent{code, value, message});
    }
    std::wstring Text() { return window.Manager().FindControl(L"progressLb")->GetText(); }
    int Bar() {
        return dynamic_cast<CProgressUI*>(window.Manager().FindControl(L"installPrg"))->GetValue();
    }
    CTabLayoutUI* Tab(const wchar_t* name) {
        return dynamic_cast<CTabLayoutUI*>(window.Manager().FindControl(name));
    }
    COptionUI* Box(const wchar_t* name) {
        return dynamic_cast<COptionUI*>(window.Manager().FindControl(name));
    }

    std::uint32_t now = 5000;
    CMainWnd window;
};

TEST_F(MainWndTest, ProgressOfTheDownloadThenTheInstallation) {
    Event(1001);
    Event(1002, 0.5);
    EXPECT_EQ(Text(), L"正在安装中:35%，请稍候...");
    EXPECT_EQ(Bar(), 35);
    Event(2002, 0.0);
    EXPECT_EQ(Bar(), 74);
    Event(2002, 0.0);
    EXPECT_EQ(Bar(), 78);
    Event(2002, 0.8);
    EXPECT_EQ(Bar(), 94);
    EXPECT_EQ(Text(), L"正在安装中:94%，请稍候...");
}

TEST_F(MainWndTest, WithoutADownloadShareTheInstallationAloneFillsTheBar) {
    TheInstallerConfig().DownloadScale = 0.0;
    Event(1001);
    Event(1002, 0.9);
    EXPECT_EQ(Bar(), 0);
    EXPECT_EQ(Text(), L"正在安装中:0%，请稍候...");
    Event(2002, 0.4);
    EXPECT_EQ(Bar(), 40);
}

TEST_F(MainWndTest, AfterSixtySecondsTheTextAsksForPatienceForTheRestOfTheAttempt) {
    Event(1001);
    now += 60000;
    Event(1002, 0.5);
    EXPECT_EQ(Text(), L"正在安装中:35%，请稍候...");  // exactly 60 s
    now += 1;
    Event(1002, 1.0);
    EXPECT_EQ(Text(), L"正在安装中:70%，请耐心等待...");
    Event(2002, 0.0);  // the installation keeps the wording
    EXPECT_EQ(Text(), L"正在安装中:74%，请耐心等待...");
}

TEST_F(MainWndTest, AnInstallationFailureResetsTheBarFromSeventyPercentOn) {
    // 69 %: kept, text and bar, while page 0 comes back
    Tab(L"mainTabLt")->SelectItem(2);
    Event(1001);
    Event(1002, 0.99);
    ASSERT_EQ(Bar(), 69);
    Event(2004, 0.0, L"磁盘写入失败");  // the prompt is closed by the timer
    EXPECT_EQ(Bar(), 69);
    EXPECT_EQ(Text(), L"正在安装中:69%，请稍候...");
    EXPECT_EQ(window.CurrentPage(), 0);
    // 70 %: reset
    Tab(L"mainTabLt")->SelectItem(2);
    Event(1002, 1.0);
    ASSERT_EQ(Bar(), 70);
    Event(2004, 0.0, L"");
    EXPECT_EQ(Bar(), 0);
    EXPECT_EQ(Text(), L"正在安装中:0%，请稍候...");
    EXPECT_EQ(window.CurrentPage(), 0);
}

TEST_F(MainWndTest, TheSmoothedFractionIsNotResetByALaterAttempt) {
    Event(2002, 0.0);
    Event(2002, 0.0);
    Event(2004, 0.0, L"");
    Event(2002, 0.0);  // 0.45 of the installation's share
    EXPECT_EQ(Bar(), 83);
}

TEST_F(MainWndTest, EachPageDecoratesTheWindow) {
    CControlUI* win = window.Manager().FindControl(L"winCtn");
    CControlUI* titleButtons = window.Manager().FindControl(L"titleGrpCtn");
    CControlUI* back = window.Manager().FindControl(L"backBtn");
    CTabLayoutUI* main = Tab(L"mainTabLt");
    CTabLayoutUI* title = Tab(L"titleTabLt");
    struct Row {
        int page;
        const wchar_t* background;
        int titlePage;
        bool buttons, backShown;
    } rows[] = {
        {1, L"res\\mainWnd\\bg2.png", 1, true, true},
        {0, L"res\\mainWnd\\bg1.png", 1, true, false},
        {2, L"res\\mainWnd\\bg3.png", 1, false, false},  // the title page stays
        {3, L"res\\mainWnd\\bg4.png", 2, true, false},
    };
    for (const Row& row : rows) {
        ASSERT_TRUE(main->SelectItem(row.page));
        EXPECT_EQ(win->GetBkImage(), row.background) << row.page;
        EXPECT_EQ(title->GetCurSel(), row.titlePage) << row.page;
        EXPECT_EQ(titleButtons->IsVisible(), row.buttons) << row.page;
        EXPECT_EQ(back->IsVisible(), row.backShown) << row.page;
    }
}

TEST_F(MainWndTest, TheTermsLinkNeverKeepsItsOwnTick) {
    COptionUI* accept = Box(L"treatyCb");
    COptionUI* link = Box(L"treatyBtn");
    CControlUI* custom = window.Manager().FindControl(L"customeBtn");
    ASSERT_TRUE(accept->IsSelected());
    link->Selected(false, true);  // as a click would flip it
    EXPECT_TRUE(link->IsSelected());
    accept->Selected(false, true);
    EXPECT_FALSE(link->IsSelected());
    EXPECT_FALSE(custom->IsEnabled());
    accept->Selected(true, true);
    EXPECT_TRUE(link->IsSelected());
    EXPECT_TRUE(custom->IsEnabled());
}

TEST_F(MainWndTest, NoInternetAsksToTryLaterAndStaysOnTheStartPage) {
    CControlUI* install = window.Manager().FindControl(L"customeInstallBtn");
    install->SetEnabled(false);  // as a start leaves it until the go-ahead
    // the network check's answer: connected to a network, no Internet (upper half not 0)
    PostMessageW(window.GetHWND(), CMainWnd::kFlowMessage, 0x00010001, CMainWnd::kCheckNet);
    Pump(1500);
    ASSERT_EQ(ClosedPrompts(), std::vector<std::wstring>{L"MessageBox2Wnd"});
    EXPECT_EQ(window.CurrentPage(), 0);
    EXPECT_TRUE(install->IsEnabled());
    EXPECT_TRUE(window.Manager().FindControl(L"defaultInstallBtn")->IsEnabled());
}

TEST_F(MainWndTest, TheDefaultFolderIsInTheFolderBox) {
    const std::wstring folder = window.Manager().FindControl(L"installDirEdit")->GetText();
    EXPECT_FALSE(folder.empty());
    EXPECT_EQ(folder.substr(folder.size() - 10), L"\\quillmoss");
}

}  // namespace
