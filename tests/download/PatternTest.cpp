#include "download/Pattern.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using Captures = std::vector<std::wstring>;

struct Case {
    std::wstring pattern;
    std::wstring text;
    bool ok;
    Captures captures;
};

class PatternTest : public testing::TestWithParam<Case> {};

TEST_P(PatternTest, Captures) {
    const Case& c = GetParam();
    Captures got = {L"stale"};
    EXPECT_EQ(ParseRegExp(c.pattern, c.text, got), c.ok);
    EXPECT_EQ(got, c.captures);
}

// unit repeated and cut to the given length
std::wstring Repeated(const std::wstring& unit, size_t length) {
    std::wstring text;
    while (text.size() < length) text += unit;
    text.resize(length);
    return text;
}

const size_t kMiB = 1 << 20;
const std::wstring kHugeCookie = Repeated(L"sid=0123456789abcdefABCDEF; ", kMiB);
const std::wstring kHugeUrl = L"https://dl.example/" + Repeated(L"files/x%20y/", kMiB);

INSTANTIATE_TEST_SUITE_P(
    Language, PatternTest,
    testing::Values(
        // literals, dot, case-insensitive matching, captures in original case
        Case{L"{abc}", L"xxABCyyabc", true, {L"ABC"}},
        Case{L"a{.}c", L"abc aXc", true, {L"b", L"X"}},
        Case{L"{x}", L"none", true, {}},
        // groups: first capture only, non-capturing parentheses, alternatives
        Case{L"{a}{b}", L"ab", true, {L"a"}},
        Case{L"(x|y){[0-9]}", L"x1 y2 z3", true, {L"1", L"2"}},
        Case{L"{cat|dog}s", L"dogs cats", true, {L"dog", L"cat"}},
        // sets: ranges, escapes, negation, tab
        Case{L"{[a-c]+}", L"zzabcabd", true, {L"abcab"}},
        Case{L"{[\\-_]+}", L"a-_-b", true, {L"-_-"}},
        Case{L"{[^;]+};", L"k=v;w", true, {L"k=v"}},
        Case{L"{[\\t]}", L"a\tb", true, {L"\t"}},
        Case{L"{[A-Z]+}", L"abc", true, {L"abc"}},
        // quantifiers: greedy, lazy, backtracking
        Case{L"<{.*}>", L"<a><b>", true, {L"a><b"}},
        Case{L"<{.*?}>", L"<a><b>", true, {L"a", L"b"}},
        Case{L"{a+?}", L"aaa", true, {L"a"}},
        Case{L"{colou?r}", L"color colour", true, {L"color", L"colour"}},
        Case{L"{a*}b", L"aaab", true, {L"aaa"}},
        Case{L"{x+}x", L"xxx", true, {L"xx"}},
        // escapes
        Case{L"{\\a+}", L"--ab12--", true, {L"ab12"}},
        Case{L"a\\b*{b}", L"a \t b", true, {L"b"}},
        Case{L"{\\c+}", L"12ab34", true, {L"ab"}},
        Case{L"{\\d+}", L"ab123", true, {L"123"}},
        Case{L"{\\h+}", L"xxBEEFyy", true, {L"BEEF"}},
        // "\n" tries a lone CR first: after "one\r" the next match starts at the LF
        Case{L"{.+?}\\n", L"one\r\ntwo\nthree\r", true, {L"one", L"\ntwo", L"three"}},
        Case{L"={\\q}", L"a=\"x y\" b='z'", true, {L"\"x y\"", L"'z'"}},
        Case{L"{\\w}", L"ab cd", true, {L"ab", L"cd"}},
        Case{L"{\\z}", L"a1b22", true, {L"1", L"22"}},
        Case{L"{\\.}", L"a.b", true, {L"."}},
        // distinct captures, ignoring case
        Case{L"{[a-z]=[0-9]}", L"a=1 A=1 b=2 a=1", true, {L"a=1", L"b=2"}},
        // failures
        Case{L"", L"text", false, {}},
        Case{L"{a}", L"", false, {}},
        Case{L"{a", L"a", false, {}},
        Case{L"a)", L"a", false, {}},
        Case{L"[z-a]", L"a", false, {}},
        Case{L"\\1", L"1", false, {}},
        Case{L"*a", L"a", false, {}},
        Case{L"[ab", L"a", false, {}},
        // every round of a repeat must consume: "(a?)+" needs at least one "a"
        Case{L"{(a?)+}b", L"b ab", true, {L"a"}},
        // the search goes on at the end of a match, where an empty match may follow
        Case{L"{x*}", L"x", true, {L"x", L""}},
        // nesting is capped at 100 groups
        Case{std::wstring(100, L'{') + L"a" + std::wstring(100, L'}'), L"xAx", true, {L"A"}},
        Case{std::wstring(101, L'(') + L"a" + std::wstring(101, L')'), L"a", false, {}},
        // megabyte headers: no recursion per character, no quadratic search
        Case{L"Set-Cookie:\\b*{.+?}\\n", L"Set-Cookie: " + kHugeCookie + L"\r\n", true,
             {kHugeCookie}},
        Case{L"Set-Cookie:\\b*{.+?}\\n", Repeated(L"Set-Cookie:", kMiB), true, {}},
        Case{L"charset={[A-Za-z0-9\\-_]+}", Repeated(L"Content-Type: text/html; charset", kMiB),
             true, {}},
        Case{L"Location: {https?:.+?\n}", L"Location: " + kHugeUrl + L"\r\n", true,
             {kHugeUrl + L"\r\n"}}));

const std::wstring kHeaders =
    L"HTTP/1.1 302 Found\r\n"
    L"Content-Type: text/html; Charset=UTF-8\r\n"
    L"Content-Length: 1234\r\n"
    L"Location: https://dl.example/files/x/p.exe\r\n"
    L"Set-Cookie: a=1\r\n"
    L"Set-Cookie:  a=1\r\n"
    L"set-cookie:\tb=2\r\n"
    L"\r\n";

TEST(HeaderPatternTest, ValuesFromRealHeaderBlock) {
    Captures c;
    ASSERT_TRUE(ParseRegExp(L"charset={[A-Za-z0-9\\-_]+}", kHeaders, c));
    EXPECT_EQ(c, Captures{L"UTF-8"});
    ASSERT_TRUE(ParseRegExp(L"Content-Length: {[0-9]+}", kHeaders, c));
    EXPECT_EQ(c, Captures{L"1234"});
    ASSERT_TRUE(ParseRegExp(L"Location: {https?:.+?\n}", kHeaders, c));
    EXPECT_EQ(c, Captures{L"https://dl.example/files/x/p.exe\r\n"});
    ASSERT_TRUE(ParseRegExp(L"Set-Cookie:\\b*{.+?}\\n", kHeaders, c));
    EXPECT_EQ(c, (Captures{L"a=1", L"b=2"}));
}

TEST(HeaderPatternTest, HugeCookieOnAnotherThread) {
    Captures c;
    bool ok = false;
    std::thread worker([&] {
        ok = ParseRegExp(L"Set-Cookie:\\b*{.+?}\\n", L"Set-Cookie:\t" + kHugeCookie + L"\n", c);
    });
    worker.join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(c, Captures{kHugeCookie});
}

TEST(HeaderPatternTest, CutShortHtmlCheck) {
    Captures open, close;
    ParseRegExp(L"{<html>}", L"<HTML><body>half", open);
    ParseRegExp(L"{</html>}", L"<HTML><body>half", close);
    EXPECT_EQ(open.size(), 1u);
    EXPECT_TRUE(close.empty());
}

}  // namespace
