// The main window with a skin that has a language box and a "language.json" (this program's
// own resource): the language chosen when the window opens, from the option, the user's UI
// language or the previous installation, its texts, and the code handed to the package.
#include <windows.h>

#include <fstream>

#include <gtest/gtest.h>

#include "app/InstallerConfig.h"
#include "skin/UICombo.h"
#include "skin/UIManager.h"
#include "ui/MainWnd.h"
#include "MainWindowFixture.h"

using namespace Skin;

namespace {

class MainLanguageTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        CUIManager::ClearLanguageTexts();
    }
    // Opens the window with the configuration's language index set to index.
    void Open(int index) {
        TheInstallerConfig().LanguageIndex = index;
        ASSERT_NE(window.Create(nullptr, L"Tallowmere", WS_OVERLAPPEDWINDOW, 0), nullptr);
    }
    CComboUI* Box() {
        return dynamic_cast<CComboUI*>(window.Manager().FindControl(L"languageCombo"));
    }

    CMainWnd window;
};

TEST_F(MainLanguageTest, TheOptionChoosesTheLanguage) {
    Open(9);
    ASSERT_NE(Box(), nullptr);
    EXPECT_EQ(Box()->GetCurSel(), 9);
    EXPECT_EQ(TheInstallerConfig().LanguageIndex, 9);
    EXPECT_EQ(CUIManager::ApplyLanguage(L"%{1}"), L"言語");
    EXPECT_EQ(window.LanguageCodeOf(), L"ja-JP");
}

TEST_F(MainLanguageTest, AnIndexOutOfTheListFallsBackToEnglish) {
    Open(20);
    EXPECT_EQ(TheInstallerConfig().LanguageIndex, 0);
    EXPECT_EQ(CUIManager::ApplyLanguage(L"%{2}"), L"Install now");
    EXPECT_EQ(window.LanguageCodeOf(), L"");  // the box selected nothing
}

TEST_F(MainLanguageTest, WithoutAnOptionTheUsersUiLanguage) {
    Open(-1);
    // Wine's user interface language here is English (1033): index 0
    ASSERT_EQ(GetUserDefaultUILanguage(), 1033);
    EXPECT_EQ(Box()->GetCurSel(), 0);
    EXPECT_EQ(window.LanguageCodeOf(), L"en-US");
    EXPECT_EQ(CUIManager::ApplyLanguage(L"%{1}"), L"Language");
}

TEST_F(MainLanguageTest, ChoosingInTheBoxAppliesTheLanguage) {
    Open(0);
    ASSERT_TRUE(Box()->SelectItem(5, false, true));  // "itemselect"
    EXPECT_EQ(TheInstallerConfig().LanguageIndex, 5);
    EXPECT_EQ(CUIManager::ApplyLanguage(L"%{1} %{2}"), L"Sprache Jetzt installieren");
    EXPECT_EQ(window.LanguageCodeOf(), L"de-DE");
    // the label fits its text: measured width plus its left text padding (0)
    CControlUI* label = window.Manager().FindControl(L"lbLanguage");
    const int width = window.Manager().Measure().LineExtent(L"Sprache", label->Layout().font).cx;
    EXPECT_EQ(label->Layout().fixedWidth, width);
}

TEST_F(MainLanguageTest, ThePreviousInstallationsLanguage) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"quillmoss-lang-test";
    CreateDirectoryW(folder.c_str(), nullptr);
    WritePrivateProfileStringW(L"Install", L"Language", L"fr-FR", (folder + L"\\config.ini").c_str());
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr), ERROR_SUCCESS);
    RegSetValueExW(key, L"InstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    Open(-1);  // the update question comes and is closed by the timer
    EXPECT_EQ(Box()->GetCurSel(), 6);
    EXPECT_EQ(TheInstallerConfig().LanguageIndex, 6);
    EXPECT_EQ(CUIManager::ApplyLanguage(L"%{1}"), L"Langue");
    DeleteFileW((folder + L"\\config.ini").c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
