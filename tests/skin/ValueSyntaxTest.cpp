#include "skin/ValueSyntax.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

namespace {

using Skin::Rect;
using Skin::Size;

struct IntegerCase {
    std::wstring value;
    int expected;
};

class Integers : public testing::TestWithParam<IntegerCase> {};

TEST_P(Integers, Read) { EXPECT_EQ(Skin::ParseInteger(GetParam().value), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Table, Integers,
    testing::Values(IntegerCase{L"12", 12}, IntegerCase{L"0", 0}, IntegerCase{L"007", 7},
                    IntegerCase{L"12px", 12}, IntegerCase{L"377 ", 377},
                    IntegerCase{L"  7", 7}, IntegerCase{L"\t\r\n7", 7},
                    IntegerCase{L"-5", -5}, IntegerCase{L"+3", 3}, IntegerCase{L"", 0},
                    IntegerCase{L"x", 0}, IntegerCase{L"x12", 0}, IntegerCase{L"-", 0},
                    IntegerCase{L"+-1", 0}, IntegerCase{L"1.9", 1}, IntegerCase{L"0x1F", 0},
                    IntegerCase{L"2147483647", INT_MAX}, IntegerCase{L"-2147483648", INT_MIN},
                    IntegerCase{L"2147483648", INT_MAX}, IntegerCase{L"-2147483649", INT_MIN},
                    IntegerCase{L"99999999999999999999999999", INT_MAX},
                    IntegerCase{L"-99999999999999999999999999", INT_MIN}));

struct SizeCase {
    std::wstring value;
    Size expected;
};

class Sizes : public testing::TestWithParam<SizeCase> {};

TEST_P(Sizes, Read) {
    const Size s = Skin::ParseSize(GetParam().value);
    EXPECT_EQ(s.cx, GetParam().expected.cx) << "cx of \"" << GetParam().value.size() << "\"";
    EXPECT_EQ(s.cy, GetParam().expected.cy);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Sizes,
    testing::Values(SizeCase{L"600,400", {600, 400}}, SizeCase{L"1,0", {1, 0}},
                    SizeCase{L"2,2", {2, 2}}, SizeCase{L"600", {600, 0}},
                    SizeCase{L"600,", {600, 0}}, SizeCase{L"", {0, 0}},
                    SizeCase{L",5", {0, 5}},
                    SizeCase{L"10, 20", {10, 20}},   // a blank before a number is skipped
                    SizeCase{L"10;20", {10, 20}},    // any one character separates
                    SizeCase{L"10x20", {10, 20}},
                    SizeCase{L"10 ,20", {10, 0}},    // exactly one character is skipped
                    SizeCase{L"10,,20", {10, 0}},
                    SizeCase{L"a,5", {0, 0}},        // nothing read: the "a" is the separator
                    SizeCase{L"-3,-4", {-3, -4}}, SizeCase{L"1,2,3", {1, 2}}));

struct RectCase {
    std::wstring value;
    Rect expected;
};

class Rects : public testing::TestWithParam<RectCase> {};

TEST_P(Rects, Read) { EXPECT_EQ(Skin::ParseRect(GetParam().value), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Table, Rects,
    testing::Values(RectCase{L"0,0,200,0", {0, 0, 200, 0}}, RectCase{L"0,0,0,35", {0, 0, 0, 35}},
                    RectCase{L"26,0,0,0", {26, 0, 0, 0}}, RectCase{L"9,0,9,3", {9, 0, 9, 3}},
                    RectCase{L"0,2,15,16", {0, 2, 15, 16}}, RectCase{L"1,2", {1, 2, 0, 0}},
                    RectCase{L"1,2,3,", {1, 2, 3, 0}}, RectCase{L"", {0, 0, 0, 0}},
                    RectCase{L"5", {5, 0, 0, 0}}, RectCase{L"-1,-2,-3,-4", {-1, -2, -3, -4}},
                    RectCase{L"1,2,3,4,5", {1, 2, 3, 4}}, RectCase{L"1 2 3 4", {1, 2, 3, 4}},
                    RectCase{L"1, 2, 3, 4", {1, 2, 3, 4}}, RectCase{L"1,x,3,4", {1, 0, 0, 3}},
                    RectCase{L"10px,2,3,4", {10, 0, 0, 2}}));

struct ColourCase {
    std::wstring value;
    std::uint32_t expected;
};

class Colours : public testing::TestWithParam<ColourCase> {};

TEST_P(Colours, Read) { EXPECT_EQ(Skin::ParseColour(GetParam().value), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Table, Colours,
    testing::Values(ColourCase{L"#FF1890FF", 0xFF1890FFu}, ColourCase{L"0xFF1890FF", 0xFF1890FFu},
                    ColourCase{L"0XFF1890FF", 0xFF1890FFu}, ColourCase{L"#ff1890ff", 0xFF1890FFu},
                    ColourCase{L"FF1890FF", 0xFF1890FFu}, ColourCase{L"#0xFF1890FF", 0xFF1890FFu},
                    ColourCase{L"#26003B76", 0x26003B76u}, ColourCase{L"#00000000", 0u},
                    ColourCase{L"#FFFFFFFF", 0xFFFFFFFFu}, ColourCase{L"0xFFF5FAFE", 0xFFF5FAFEu},
                    ColourCase{L"#FF0000", 0x00FF0000u},     // six digits: alpha 0
                    ColourCase{L"FF0000", 0x00FF0000u},
                    ColourCase{L"#FFZZ", 0xFFu},             // up to the first non-digit
                    ColourCase{L"#", 0u}, ColourCase{L"", 0u}, ColourCase{L"0x", 0u},
                    ColourCase{L"0xG", 0u}, ColourCase{L"##1", 0u}, ColourCase{L" #1", 0u},
                    ColourCase{L"# 1F", 0x1Fu}, ColourCase{L"#+1F", 0x1Fu},
                    ColourCase{L"#-1", 0xFFFFFFFFu},         // negated modulo 2^32
                    ColourCase{L"#1FFFFFFFF", 0xFFFFFFFFu},  // beyond 32 bits
                    ColourCase{L"#FFFFFFFFFFFFFFFFFFFFFFFF", 0xFFFFFFFFu},
                    ColourCase{L"#0x0x1", 0u}));

TEST(Colours, HashAndHexPrefixGiveTheSameColour) {
    EXPECT_EQ(Skin::ParseColour(L"0xFF1890FF"), Skin::ParseColour(L"#FF1890FF"));
}

TEST(Booleans, OnlyTrueIsTrue) {
    EXPECT_TRUE(Skin::ParseBoolean(L"true"));
    for (const wchar_t* v : {L"True", L"TRUE", L" true", L"true ", L"1", L"yes", L"", L"false"}) {
        EXPECT_FALSE(Skin::ParseBoolean(v)) << std::wstring(v).size();
    }
}

}  // namespace
