#include "skin/Utf8Text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Skin::WideFromUtf8;

std::wstring Decode(const std::string& bytes) { return WideFromUtf8(bytes.data(), bytes.size()); }

// The wide form of one code point: a surrogate pair where wchar_t has 2 bytes.
std::wstring Wide(char32_t cp) {
    std::wstring s;
    if (sizeof(wchar_t) == 2 && cp >= 0x10000) {
        s.push_back(static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10)));
        s.push_back(static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
        s.push_back(static_cast<wchar_t>(cp));
    }
    return s;
}

const std::wstring kBad(1, static_cast<wchar_t>(0xFFFD));

TEST(Utf8Text, AsciiAndEmpty) {
    EXPECT_EQ(Decode(""), L"");
    EXPECT_EQ(WideFromUtf8(nullptr, 5), L"");
    EXPECT_EQ(Decode("Window size=\"600,400\""), L"Window size=\"600,400\"");
}

TEST(Utf8Text, MultiByteSequences) {
    EXPECT_EQ(Decode("\xC3\xA9"), Wide(0xE9));
    // 微软雅黑
    EXPECT_EQ(Decode("\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91"),
              Wide(0x5FAE) + Wide(0x8F6F) + Wide(0x96C5) + Wide(0x9ED1));
    EXPECT_EQ(Decode("\xEF\xBB\xBF"), Wide(0xFEFF));  // kept: the caller skips it
    EXPECT_EQ(Decode("\xEF\xBF\xBF"), Wide(0xFFFF));
}

TEST(Utf8Text, AboveTheBasicPlane) {
    const std::wstring emoji = Decode("\xF0\x9F\x98\x80");
    EXPECT_EQ(emoji, Wide(0x1F600));
    if (sizeof(wchar_t) == 2) {
        ASSERT_EQ(emoji.size(), 2u);
        EXPECT_EQ(static_cast<unsigned>(emoji[0]), 0xD83Du);
        EXPECT_EQ(static_cast<unsigned>(emoji[1]), 0xDE00u);
    } else {
        ASSERT_EQ(emoji.size(), 1u);
        EXPECT_EQ(static_cast<unsigned long>(emoji[0]), 0x1F600ul);
    }
    EXPECT_EQ(Decode("\xF4\x8F\xBF\xBF"), Wide(0x10FFFF));
    EXPECT_EQ(Decode("\xF0\x90\x80\x80"), Wide(0x10000));
}

struct BadCase {
    std::string bytes;
    std::wstring expected;
};

class Utf8Malformed : public testing::TestWithParam<BadCase> {};

TEST_P(Utf8Malformed, BecomesReplacementCharacters) {
    EXPECT_EQ(Decode(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8Malformed,
    testing::Values(
        BadCase{"\x80", kBad},                                  // lone continuation byte
        BadCase{"a\xBF" "b", L"a" + kBad + L"b"},
        BadCase{"\xC0\x80", kBad + kBad},                       // overlong NUL
        BadCase{"\xC1\xBF", kBad + kBad},                       // overlong
        BadCase{"\xE0\x80\x80", kBad + kBad + kBad},            // overlong three-byte form
        BadCase{"\xED\xA0\x80", kBad + kBad + kBad},            // encoded surrogate
        BadCase{"\xF4\x90\x80\x80", kBad + kBad + kBad + kBad}, // above U+10FFFF
        BadCase{"\xF5\x80", kBad + kBad},
        BadCase{"\xFF", kBad},
        BadCase{"\xE5\xBE", kBad},                              // truncated at the end
        BadCase{"\xE5\xBE" "x", kBad + L"x"},                   // broken by an ASCII byte
        BadCase{"\xF0\x9F\x98", kBad},
        BadCase{"\xC3\xC3\xA9", kBad + Wide(0xE9)}));

TEST_P(Utf8Malformed, IsRefusedByTheStrictDecoder) {
    std::wstring out = L"kept";
    EXPECT_FALSE(Skin::WideFromStrictUtf8(GetParam().bytes.data(), GetParam().bytes.size(), &out));
    EXPECT_EQ(out, L"kept");
    const std::string embedded = "ok " + GetParam().bytes + " ok";
    EXPECT_FALSE(Skin::WideFromStrictUtf8(embedded.data(), embedded.size(), &out));
}

TEST(Utf8Text, StrictDecoderTakesWellFormedText) {
    const std::string cases[] = {"", "Language", "\xE8\xAF\xAD\xE8\xA8\x80",  // 语言
                                 "\xC3\xA9", "\xEF\xBF\xBD",  // U+FFFD written out
                                 "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF", std::string("a\0b", 3),
                                 "\xEF\xBB\xBFx"};
    for (const std::string& bytes : cases) {
        std::wstring out = L"x";
        EXPECT_TRUE(Skin::WideFromStrictUtf8(bytes.data(), bytes.size(), &out)) << bytes;
        EXPECT_EQ(out, Decode(bytes)) << bytes;
    }
    std::wstring out = L"x";
    EXPECT_TRUE(Skin::WideFromStrictUtf8(nullptr, 0, &out));
    EXPECT_EQ(out, L"");
    EXPECT_TRUE(Skin::WideFromStrictUtf8("a", 1, nullptr));
}

TEST(Utf8Text, ZeroBytesAreCharacters) {
    const std::string bytes("a\0b", 3);
    const std::wstring expected(L"a\0b", 3);
    EXPECT_EQ(Decode(bytes), expected);
}

}  // namespace
