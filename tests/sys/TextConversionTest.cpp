#include "sys/TextConversion.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "sys/Exception.h"

namespace {

TEST(TextConversionTest, EmptyStaysEmpty) {
    EXPECT_EQ(Utils::ToWide(std::string(), CP_UTF8), L"");
    EXPECT_EQ(Utils::ToNarrow(std::wstring(), CP_UTF8), "");
    EXPECT_EQ(Utils::ToWide(std::string(), 0), L"");
}

TEST(TextConversionTest, Utf8RoundTrip) {
    const std::wstring text = L"\x6d4b\x8bd5 \x5b89\x88c5";  // "测试 安装"
    const std::string utf8 = "\xe6\xb5\x8b\xe8\xaf\x95 \xe5\xae\x89\xe8\xa3\x85";
    EXPECT_EQ(Utils::ToNarrow(text, CP_UTF8), utf8);
    EXPECT_EQ(Utils::ToWide(utf8, CP_UTF8), text);
}

TEST(TextConversionTest, StopsAtEmbeddedZero) {
    EXPECT_EQ(Utils::ToWide(std::string("ab\0cd", 5), CP_UTF8), L"ab");
    EXPECT_EQ(Utils::ToNarrow(std::wstring(L"ab\0cd", 5), CP_UTF8), "ab");
}

TEST(TextConversionTest, CodePageChangesMeaningOfSameBytes) {
    const std::string gbk = "\xb2\xe2\xca\xd4";  // "测试" in code page 936
    EXPECT_EQ(Utils::ToWide(gbk, 936), L"\x6d4b\x8bd5");
    EXPECT_NE(Utils::ToWide(gbk, CP_UTF8), L"\x6d4b\x8bd5");
    EXPECT_EQ(Utils::ToNarrow(L"\x6d4b\x8bd5", 936), gbk);
}

TEST(TextConversionTest, UnknownCodePageGivesEmpty) {
    EXPECT_EQ(Utils::ToWide("abc", 12345), L"");
    EXPECT_EQ(Utils::ToNarrow(L"abc", 12345), "");
}

TEST(TextConversionTest, WideFormReturnsCopy) {
    EXPECT_EQ(Utils::ToWide(std::wstring(L"x\x4e2dy")), L"x\x4e2dy");
}

TEST(ExceptionTest, DescriptionFromMessageOrUnknown) {
    EXPECT_STREQ(Utils::Exception(L"CreatePipe failed").what(), "CreatePipe failed");
    EXPECT_STREQ(Utils::Exception(L"").what(), "Unknown exception");
    try {
        throw Utils::Exception(L"boom");
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "boom");
    }
}

}  // namespace
