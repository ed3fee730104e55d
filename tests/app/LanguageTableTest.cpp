#include "app/LanguageTable.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

TEST(LanguageTable, CodesByIndex) {
    const char* const expected[] = {"en-US", "zh-CN", "zh-TW", "id-ID", "tr-TR",
                                    "de-DE", "fr-FR", "es-ES", "pt-PT", "ja-JP",
                                    "ko-KR", "pl-PL", "nl-NL", "it-IT", "ru-RU"};
    ASSERT_EQ(kLanguageCount, 15);
    for (int i = 0; i < kLanguageCount; ++i) {
        ASSERT_NE(LanguageCodeAt(i), nullptr) << i;
        EXPECT_STREQ(LanguageCodeAt(i), expected[i]) << i;
    }
    EXPECT_EQ(LanguageCodeAt(-1), nullptr);
    EXPECT_EQ(LanguageCodeAt(15), nullptr);
    EXPECT_EQ(LanguageCodeAt(1000), nullptr);
}

TEST(LanguageTable, UiLanguageIdentifiers) {
    const std::map<unsigned, int> known = {
        {1033, 0},  {1028, 2},  {1057, 3},  {1055, 4},  {1031, 5},  {1036, 6},
        {1034, 7},  {2058, 7},  {3082, 7},  {4106, 7},  {5130, 7},  {6154, 7},
        {7178, 7},  {8202, 7},  {9226, 7},  {10250, 7}, {11274, 7}, {12298, 7},
        {13322, 7}, {14346, 7}, {15370, 7}, {16394, 7}, {17418, 7}, {18442, 7},
        {19466, 7}, {20490, 7}, {1046, 8},  {1041, 9},  {1042, 10}, {1045, 11},
        {1043, 12}, {2067, 12}, {1040, 13}, {1049, 14},
    };
    for (const auto& k : known) EXPECT_EQ(LanguageIndexForUiLanguage(k.first), k.second) << k.first;
    // Chinese (PRC) and Portuguese (Portugal) have no entry of their own.
    EXPECT_EQ(LanguageIndexForUiLanguage(2052), 0);
    EXPECT_EQ(LanguageIndexForUiLanguage(2070), 0);
    // Neither has any other identifier, nor a value beyond the 16-bit range.
    for (unsigned id = 0; id < 0x10000; ++id) {
        if (known.count(id)) continue;
        EXPECT_EQ(LanguageIndexForUiLanguage(id), 0) << id;
    }
    EXPECT_EQ(LanguageIndexForUiLanguage(0x10000 + 1033), 0);
    EXPECT_EQ(LanguageIndexForUiLanguage(0xFFFFFFFFu), 0);
}

TEST(LanguageTable, ACodePicksItsIndex) {
    EXPECT_EQ(ChooseLanguageIndex(0, "ru-RU"), 14);
    EXPECT_EQ(ChooseLanguageIndex(-1, "zh-CN"), 1);
    EXPECT_EQ(ChooseLanguageIndex(99, "en-US"), 0);
    for (int i = 0; i < kLanguageCount; ++i)
        EXPECT_EQ(ChooseLanguageIndex(3, LanguageCodeAt(i)), i) << i;
}

TEST(LanguageTable, AnUnknownCodeLeavesTheIndexAsGiven) {
    EXPECT_EQ(ChooseLanguageIndex(5, "de-de"), 5);   // case-sensitive
    EXPECT_EQ(ChooseLanguageIndex(5, "DE-DE"), 5);
    EXPECT_EQ(ChooseLanguageIndex(2, "de"), 2);      // the whole code or nothing
    EXPECT_EQ(ChooseLanguageIndex(2, "de-DE "), 2);
    EXPECT_EQ(ChooseLanguageIndex(2, std::string("de-DE\0x", 7)), 2);
    EXPECT_EQ(ChooseLanguageIndex(-1, "xx-XX"), -1);  // out of range, still unchanged
    EXPECT_EQ(ChooseLanguageIndex(15, "xx-XX"), 15);
    EXPECT_EQ(ChooseLanguageIndex(-7, "pt-BR"), -7);
}

TEST(LanguageTable, WithoutACodeAnIndexOutOfRangeBecomesZero) {
    for (int i = 0; i < kLanguageCount; ++i) EXPECT_EQ(ChooseLanguageIndex(i, ""), i);
    EXPECT_EQ(ChooseLanguageIndex(-1, ""), 0);
    EXPECT_EQ(ChooseLanguageIndex(15, ""), 0);
    EXPECT_EQ(ChooseLanguageIndex(-2147483647 - 1, ""), 0);
    EXPECT_EQ(ChooseLanguageIndex(2147483647, ""), 0);
}

}  // namespace
