#include "app/NumberConversion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(NumberConversionTest, OptionToInt) {
    const struct {
        const wchar_t* text;
        int value;
    } cases[] = {{L"2", 2},         {L"  -7", -7},       {L"+3z", 3},
                 {L"abc", 0},       {L"", 0},            {L"2147483647", 2147483647},
                 {L"-2147483648", -2147483647 - 1},       {L"2147483648", 0},
                 {L"99999999999", 0}, {L"-99999999999", 0}};
    for (const auto& c : cases) EXPECT_EQ(OptionToInt(c.text), c.value) << c.text;
}

TEST(NumberConversionTest, OptionToDoubleGivesNegativeNaNWithoutNumber) {
    EXPECT_EQ(OptionToDouble(L"0.5abc"), 0.5);
    EXPECT_EQ(OptionToDouble(L" 1e2"), 100.0);
    for (const wchar_t* text : {L"abc", L"", L"1e999", L"-1e999"}) {
        const double value = OptionToDouble(text);
        EXPECT_TRUE(std::isnan(value)) << text;
        EXPECT_TRUE(std::signbit(value)) << text;
    }
}

TEST(NumberConversionTest, IniTextToDoubleGivesZeroWithoutNumber) {
    EXPECT_EQ(IniTextToDouble(L"0.5abc"), 0.5);
    EXPECT_EQ(IniTextToDouble(L"  0.9"), 0.9);
    EXPECT_EQ(IniTextToDouble(L"abc"), 0.0);
    EXPECT_EQ(IniTextToDouble(L""), 0.0);
    EXPECT_EQ(IniTextToDouble(L"1e999"), 0.0);
}

TEST(NumberConversionTest, TextToBoolIsExactAndCaseSensitive) {
    EXPECT_TRUE(TextToBool(L"true"));
    for (const wchar_t* text : {L"True", L"TRUE", L"1", L"yes", L"", L"true "})
        EXPECT_FALSE(TextToBool(text)) << text;
}

TEST(NumberConversionTest, IntTextOutOfRange) {
    EXPECT_FALSE(IntTextOutOfRange(L"2147483647"));
    EXPECT_FALSE(IntTextOutOfRange(L"abc"));
    EXPECT_FALSE(IntTextOutOfRange(L""));
    EXPECT_TRUE(IntTextOutOfRange(L"2147483648"));
    EXPECT_TRUE(IntTextOutOfRange(L" -2147483649"));
    EXPECT_TRUE(IntTextOutOfRange(L"123456789012345678901234567890"));
}

}  // namespace
