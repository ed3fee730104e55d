// The language file read from bytes, from a loose skin folder and from the skin package (the
// language test skin in this program's resources), and the previous installation's language.
#include "app/LanguageFile.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "skin/SkinFiles.h"
#include "skin/UIManager.h"

namespace {

using Texts = std::vector<std::pair<int, std::wstring>>;

Texts Read(const std::string& json, const std::string& code, bool expectParsed = true) {
    bool parsed = !expectParsed;
    Texts texts = ReadLanguageTexts(json, code, &parsed);
    EXPECT_EQ(parsed, expectParsed) << json;
    return texts;
}

std::string TestSkinFile(const std::string& name) {
    std::string here = __FILE__;  // .../tests/app/LanguageFileTest.cpp
    here = here.substr(0, here.find_last_of("/\\"));
    std::ifstream in(here + "/data/langskin/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::wstring Shown(const wchar_t* text) { return Skin::CUIManager::ApplyLanguage(text); }

// A fresh empty folder under the temporary folder, removed with everything in it.
class TempFolder {
public:
    explicit TempFolder(const wchar_t* name) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path = std::wstring(temp) + name;
        Remove();
        CreateDirectoryW(path.c_str(), nullptr);
    }
    ~TempFolder() { Remove(); }
    std::wstring File(const wchar_t* name) const { return path + L"\\" + name; }
    void Write(const wchar_t* name, const std::string& bytes) const {
        std::ofstream(File(name).c_str(), std::ios::binary | std::ios::trunc) << bytes;
    }
    std::wstring path;

private:
    void Remove() {
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveDirectoryW(File(name.c_str()).c_str());
                else
                    DeleteFileW(File(name.c_str()).c_str());
            } while (FindNextFileW(find, &found));
            FindClose(find);
        }
        RemoveDirectoryW(path.c_str());
    }
};

TEST(ReadLanguageTexts, EntriesOfAnArrayInOrder) {
    const std::string json =
        "[{\"id\": 2, \"en-US\": \"Install now\", \"de-DE\": \"Jetzt installieren\"},"
        " {\"id\": 1, \"en-US\": \"Language\"},"
        " {\"de-DE\": \"ohne Nummer\"}]";
    EXPECT_EQ(Read(json, "en-US"), (Texts{{2, L"Install now"}, {1, L"Language"}, {0, L""}}));
    EXPECT_EQ(Read(json, "de-DE"),
              (Texts{{2, L"Jetzt installieren"}, {1, L""}, {0, L"ohne Nummer"}}));
    EXPECT_EQ(Read(json, "fr-FR"), (Texts{{2, L""}, {1, L""}, {0, L""}}));
    EXPECT_EQ(Read(json, "de-de"), (Texts{{2, L""}, {1, L""}, {0, L""}}));  // case counts
    EXPECT_EQ(Read(json, ""), (Texts{{2, L""}, {1, L""}, {0, L""}}));
    EXPECT_TRUE(Read("[]", "en-US").empty());
    EXPECT_TRUE(Read("{}", "en-US").empty());
}

TEST(ReadLanguageTexts, MembersOfAnObjectComeInTheOrderOfTheirNames) {
    const std::string json = "{\"b\": {\"id\": 2, \"en-US\": \"B\"}, \"a\": {\"id\": 1, "
                             "\"en-US\": \"A\"}, \"c\": 7}";
    EXPECT_EQ(Read(json, "en-US"), (Texts{{1, L"A"}, {2, L"B"}}));
}

TEST(ReadLanguageTexts, MembersThatAreNoObjectsAreSkipped) {
    const std::string json = "[1, \"two\", null, true, [], [{\"id\": 9}], {\"id\": 3, "
                             "\"en-US\": \"C\"}]";
    EXPECT_EQ(Read(json, "en-US"), (Texts{{3, L"C"}}));
}

TEST(ReadLanguageTexts, FieldsOfTheWrongTypeCountAsMissing) {
    const struct {
        const char* json;
        Texts texts;
    } cases[] = {
        {"[{\"id\": \"4\", \"en-US\": \"x\"}]", {{0, L"x"}}},
        {"[{\"id\": true, \"en-US\": \"x\"}]", {{0, L"x"}}},
        {"[{\"id\": null, \"en-US\": \"x\"}]", {{0, L"x"}}},
        {"[{\"id\": [1], \"en-US\": \"x\"}]", {{0, L"x"}}},
        {"[{\"id\": 2.5, \"en-US\": \"x\"}]", {{0, L"x"}}},
        {"[{\"id\": 1e10, \"en-US\": \"x\"}]", {{0, L"x"}}},        // beyond int
        {"[{\"id\": 2147483648, \"en-US\": \"x\"}]", {{0, L"x"}}},
        {"[{\"id\": 2147483647, \"en-US\": \"x\"}]", {{2147483647, L"x"}}},
        {"[{\"id\": -7, \"en-US\": \"x\"}]", {{-7, L"x"}}},
        {"[{\"id\": 3.0, \"en-US\": \"x\"}]", {{3, L"x"}}},         // an integral number
        {"[{\"id\": 5, \"en-US\": 5}]", {{5, L""}}},
        {"[{\"id\": 5, \"en-US\": null}]", {{5, L""}}},
        {"[{\"id\": 5, \"en-US\": [\"x\"]}]", {{5, L""}}},
        {"[{\"id\": 5, \"en-US\": {\"t\": \"x\"}}]", {{5, L""}}},
        {"[{\"id\": 1, \"id\": 2, \"en-US\": \"a\", \"en-US\": \"b\"}]", {{2, L"b"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(Read(c.json, "en-US"), c.texts) << c.json;
}

TEST(ReadLanguageTexts, TextsAreDecodedFromStrictUtf8) {
    // 语言, an escaped é, a character beyond the basic plane, and a text with a broken
    // sequence (an unfinished two-byte form), which becomes empty on its own.
    const std::string json =
        "[{\"id\": 1, \"zh-CN\": \"\xE8\xAF\xAD\xE8\xA8\x80\", \"fr-FR\": \"Fran\\u00e7ais\"},"
        " {\"id\": 2, \"zh-CN\": \"\\ud83d\\ude00\", \"fr-FR\": \"\xF0\x9F\x98\x80\"},"
        " {\"id\": 3, \"zh-CN\": \"a\xC3(b\", \"fr-FR\": \"ok\"},"
        " {\"id\": 4, \"zh-CN\": \"\xED\xA0\x80\", \"fr-FR\": \"\xC0\xAF\"}]";
    EXPECT_EQ(Read(json, "zh-CN"), (Texts{{1, L"\x8BED\x8A00"},
                                          {2, L"\xD83D\xDE00"},
                                          {3, L""},
                                          {4, L""}}));
    EXPECT_EQ(Read(json, "fr-FR"),
              (Texts{{1, L"Fran\xE7" L"ais"}, {2, L"\xD83D\xDE00"}, {3, L"ok"}, {4, L""}}));
}

TEST(ReadLanguageTexts, AByteOrderMarkIsSkipped) {
    EXPECT_EQ(Read("\xEF\xBB\xBF[{\"id\": 1, \"en-US\": \"A\"}]", "en-US"), (Texts{{1, L"A"}}));
}

TEST(ReadLanguageTexts, WhatIsNoJsonArrayOrObjectDoesNotParse) {
    const std::string bad[] = {
        "", " ", "garbage", "[", "[{\"id\": 1}", "[1,]", "{\"a\": 1,}", "[1] x", "[1][2]",
        "{'a': {\"id\": 1}}", "[/* note */]", "42", "\"text\"", "null",
        "true", "[NaN]", "{1: {}}", "[\"\\ud800\"]", std::string("[\0]", 3),
        std::string(1000, '[') + std::string(1000, ']'),  // nested far deeper than a language file
    };
    for (const std::string& json : bad) {
        bool parsed = true;
        EXPECT_TRUE(ReadLanguageTexts(json, "en-US", &parsed).empty()) << json.substr(0, 40);
        EXPECT_FALSE(parsed) << json.substr(0, 40);
    }
    EXPECT_TRUE(ReadLanguageTexts("oops", "en-US", nullptr).empty());  // no answer wanted
    EXPECT_EQ(ReadLanguageTexts("[{\"id\": 1, \"en-US\": \"A\"}]", "en-US", nullptr),
              (Texts{{1, L"A"}}));
}

TEST(ReadLanguageTexts, TheTestSkinHasTheTwoTextsInEveryLanguage) {
    const std::string json = TestSkinFile("language.json");
    ASSERT_FALSE(json.empty());
    EXPECT_EQ(Read(json, "en-US"), (Texts{{1, L"Language"}, {2, L"Install now"}}));
    EXPECT_EQ(Read(json, "zh-CN"), (Texts{{1, L"\x8BED\x8A00"}, {2, L"\x7ACB\x5373\x5B89\x88C5"}}));
    EXPECT_EQ(Read(json, "de-DE"), (Texts{{1, L"Sprache"}, {2, L"Jetzt installieren"}}));
    EXPECT_EQ(Read(json, "fr-FR"), (Texts{{1, L"Langue"}, {2, L"Installer maintenant"}}));
    EXPECT_EQ(Read(json, "ja-JP"), (Texts{{1, L"\x8A00\x8A9E"},
                                          {2, L"\x4ECA\x3059\x3050\x30A4\x30F3\x30B9\x30C8"
                                              L"\x30FC\x30EB"}}));
    for (const char* code : {"en-US", "zh-CN", "zh-TW", "id-ID", "tr-TR", "de-DE", "fr-FR",
                             "es-ES", "pt-PT", "ja-JP", "ko-KR", "pl-PL", "nl-NL", "it-IT",
                             "ru-RU"}) {
        const Texts texts = Read(json, code);
        ASSERT_EQ(texts.size(), 2u) << code;
        EXPECT_FALSE(texts[0].second.empty()) << code;
        EXPECT_FALSE(texts[1].second.empty()) << code;
    }
}

// These two run in this order: the first reads loose files while no package is registered,
// the second registers the package of this program's resources, which then serves the whole
// process.
TEST(ApplyLanguage, FromTheLooseSkinFolderWhileNoPackageIsRegistered) {
    ASSERT_TRUE(Skin::SkinResources().GetPackageName().empty());
    TempFolder skin(L"language-file-test");
    Skin::SkinResources().SetResourcePath(skin.path);
    Skin::CUIManager::ClearLanguageTexts();
    Skin::CUIManager::SetLanguageText(1, L"before");

    // no file, an empty one, one above 4 MiB: 0, nothing set
    EXPECT_EQ(ApplyLanguage(5, L"de-DE"), 0);
    skin.Write(kLanguageFileName, "");
    EXPECT_EQ(ApplyLanguage(5, L"de-DE"), 0);
    const std::string entry = "[{\"id\": 1, \"de-DE\": \"Sprache\"}]";
    skin.Write(kLanguageFileName, entry + std::string(4194304 - entry.size() + 1, ' '));
    EXPECT_EQ(ApplyLanguage(5, L"de-DE"), 0);
    EXPECT_EQ(Shown(L"%{1}"), L"before");
    // exactly 4 MiB is still read
    skin.Write(kLanguageFileName, entry + std::string(4194304 - entry.size(), ' '));
    EXPECT_EQ(ApplyLanguage(-1, L"de-DE"), 5);
    EXPECT_EQ(Shown(L"%{1}"), L"Sprache");

    // a file that does not parse: the chosen index, nothing set
    Skin::CUIManager::SetLanguageText(1, L"before");
    skin.Write(kLanguageFileName, "[{\"id\": 1, \"de-DE\": \"Sprache\"},");
    EXPECT_EQ(ApplyLanguage(3, L"de-DE"), 5);
    EXPECT_EQ(ApplyLanguage(3, L""), 3);
    EXPECT_EQ(ApplyLanguage(-4, L""), 0);
    EXPECT_EQ(ApplyLanguage(-4, L"xx-XX"), -4);
    EXPECT_EQ(Shown(L"%{1}"), L"before");

    Skin::SkinResources().SetResourcePath(L"");
    Skin::CUIManager::ClearLanguageTexts();
}

TEST(ApplyLanguage, FromTheRegisteredPackage) {
    Skin::SetSevenZipPackages(true);
    ASSERT_TRUE(Skin::LoadResourcePackage(GetModuleHandleW(nullptr)));
    ASSERT_NE(Skin::SkinResources().GetPackage(), nullptr);
    // A language file in the current folder is not consulted any more.
    TempFolder here(L"language-file-test-cwd");
    here.Write(kLanguageFileName, "[{\"id\": 1, \"en-US\": \"from the folder\"}]");
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(here.path.c_str());

    EXPECT_EQ(ApplyLanguage(-1, L""), 0);
    EXPECT_EQ(Shown(L"%{1} / %{2}"), L"Language / Install now");
    EXPECT_EQ(ApplyLanguage(0, L"de-DE"), 5);  // the code wins over the index
    EXPECT_EQ(Shown(L"%{1} / %{2}"), L"Sprache / Jetzt installieren");
    EXPECT_EQ(ApplyLanguage(9, L""), 9);
    EXPECT_EQ(Shown(L"%{1}"), L"\x8A00\x8A9E");  // 言語
    EXPECT_EQ(ApplyLanguage(6, L"fr-fr"), 6);  // no code equals it: the index stays
    EXPECT_EQ(Shown(L"%{1}"), L"Langue");
    EXPECT_EQ(ApplyLanguage(14, L"zh-CN"), 1);
    EXPECT_EQ(Shown(L"%{2}"), L"\x7ACB\x5373\x5B89\x88C5");  // 立即安装
    EXPECT_EQ(ApplyLanguage(99, L""), 0);
    EXPECT_EQ(Shown(L"%{1}"), L"Language");
    // An index without a language: every entry's text becomes empty.
    EXPECT_EQ(ApplyLanguage(99, L"xx-XX"), 99);
    EXPECT_EQ(Shown(L"[%{1}][%{2}]"), L"[][]");

    SetCurrentDirectoryW(previous);
    Skin::CUIManager::ClearLanguageTexts();
}

TEST(PreviousInstallLanguage, FromTheConfigFileOfTheFolder) {
    TempFolder dir(L"previous-install-test");
    EXPECT_EQ(PreviousInstallLanguage(dir.path), L"");  // no config.ini
    EXPECT_EQ(PreviousInstallLanguage(dir.path + L"\\missing"), L"");
    EXPECT_EQ(PreviousInstallLanguage(L""), L"");

    dir.Write(L"config.ini", "[Install]\r\nPath=C:\\Games\r\nLanguage=fr-FR\r\n");
    EXPECT_EQ(PreviousInstallLanguage(dir.path), L"fr-FR");
    EXPECT_EQ(PreviousInstallLanguage(dir.path + L"\\"), L"fr-FR");

    dir.Write(L"config.ini", "[Install]\r\nPath=C:\\Games\r\n");
    EXPECT_EQ(PreviousInstallLanguage(dir.path), L"en-US");
    dir.Write(L"config.ini", "[Other]\r\nLanguage=de-DE\r\n");
    EXPECT_EQ(PreviousInstallLanguage(dir.path), L"en-US");
    dir.Write(L"config.ini", "[Install]\r\nLanguage=\r\n");
    EXPECT_EQ(PreviousInstallLanguage(dir.path), L"");  // present but empty

    // the value is cut to the 259 characters the buffer holds
    dir.Write(L"config.ini", "[Install]\r\nLanguage=" + std::string(300, 'x') + "\r\n");
    EXPECT_EQ(PreviousInstallLanguage(dir.path), std::wstring(259, L'x'));
}

TEST(PreviousInstallLanguage, AFolderNamedConfigIniIsNoFile) {
    TempFolder dir(L"previous-install-test-dir");
    CreateDirectoryW(dir.File(L"config.ini").c_str(), nullptr);
    EXPECT_EQ(PreviousInstallLanguage(dir.path), L"");
}

}  // namespace
