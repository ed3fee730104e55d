#include "skin/PackagePath.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cwctype>
#include <ostream>
#include <string>

namespace {

using Skin::PackageNameLengthMatches;
using Skin::PackageNameMatches;
using Skin::ToPackagePath;

struct PathCase {
    const wchar_t* asked;
    const wchar_t* packageForm;
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.asked) << " -> " << testing::PrintToString(c.packageForm);
}

class PackagePathForm : public testing::TestWithParam<PathCase> {};

TEST_P(PackagePathForm, ReplacesOnlyBackslashes) {
    const PathCase& c = GetParam();
    EXPECT_EQ(ToPackagePath(c.asked), c.packageForm);
    EXPECT_EQ(ToPackagePath(std::wstring(c.asked)), c.packageForm);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PackagePathForm,
    testing::Values(PathCase{L"", L""},
                    PathCase{L"mainWnd.xml", L"mainWnd.xml"},
                    PathCase{L"MainWnd.xml", L"MainWnd.xml"},  // case is kept
                    PathCase{L"res\\mainWnd\\bg1.png", L"res/mainWnd/bg1.png"},
                    PathCase{L"res/mainWnd/chDirBtn1.png", L"res/mainWnd/chDirBtn1.png"},
                    PathCase{L"res\\mainWnd/installBtnAnimate\\000.png",
                             L"res/mainWnd/installBtnAnimate/000.png"},
                    PathCase{L"res\\\\common\\closebtn1.png", L"res//common/closebtn1.png"},
                    PathCase{L"res//common/closebtn1.png", L"res//common/closebtn1.png"},
                    PathCase{L"\\mainWnd.xml", L"/mainWnd.xml"},
                    PathCase{L".\\mainWnd.xml", L"./mainWnd.xml"},
                    PathCase{L"..\\res\\x.png", L"../res/x.png"},
                    PathCase{L"res\\mainWnd\\", L"res/mainWnd/"},
                    PathCase{L" mainWnd.xml ", L" mainWnd.xml "},  // no trimming
                    PathCase{L"\\\\", L"//"},
                    PathCase{L"\u76ae\u80a4\\a.png", L"\u76ae\u80a4/a.png"}));

TEST(PackagePath, NullPathIsEmpty) {
    EXPECT_EQ(ToPackagePath(static_cast<const wchar_t*>(nullptr)), L"");
}

// Stands in for lstrcmpiW in these tests: ASCII letters ignoring case.
bool AsciiEqualIgnoringCase(const wchar_t* a, const wchar_t* b) {
    for (; *a && *b; ++a, ++b) {
        if (std::towlower(*a) != std::towlower(*b)) return false;
    }
    return *a == *b;
}

int g_comparisons = 0;
bool CountingEqual(const wchar_t* a, const wchar_t* b) {
    ++g_comparisons;
    return AsciiEqualIgnoringCase(a, b);
}

struct LengthCase {
    std::uint32_t storedNameLength;  // with the terminating zero
    std::size_t pathLength;          // without it
    bool matches;
};

void PrintTo(const LengthCase& c, std::ostream* os) {
    *os << "stored " << c.storedNameLength << ", asked " << c.pathLength;
}

class PackageNameLength : public testing::TestWithParam<LengthCase> {};

TEST_P(PackageNameLength, MatchesOnlyEqualLengths) {
    const LengthCase& c = GetParam();
    EXPECT_EQ(PackageNameLengthMatches(c.storedNameLength, c.pathLength), c.matches)
        << c.storedNameLength << " / " << c.pathLength;
}

INSTANTIATE_TEST_SUITE_P(Table, PackageNameLength,
                         testing::Values(LengthCase{12, 11, true}, LengthCase{12, 10, false},
                                         LengthCase{12, 12, false}, LengthCase{12, 13, false},
                                         LengthCase{1, 0, true}, LengthCase{0, 0, false},
                                         LengthCase{0, static_cast<std::size_t>(-1), false},
                                         LengthCase{0xFFFFFFFFu, 0xFFFFFFFEu, true}));

struct MatchCase {
    const wchar_t* stored;  // as the package keeps it
    const wchar_t* asked;   // as a skin or the program asks for it
    bool matches;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.asked) << (c.matches ? " matches " : " does not match ")
        << testing::PrintToString(c.stored);
}

class PackageNameLookup : public testing::TestWithParam<MatchCase> {};

TEST_P(PackageNameLookup, NormalisesThenComparesEqualLengths) {
    const MatchCase& c = GetParam();
    const std::wstring stored = c.stored;
    const auto storedLength = static_cast<std::uint32_t>(stored.size() + 1);
    EXPECT_EQ(PackageNameMatches(stored, storedLength, ToPackagePath(c.asked),
                                 AsciiEqualIgnoringCase),
              c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PackageNameLookup,
    testing::Values(MatchCase{L"mainWnd.xml", L"MainWnd.xml", true},
                    MatchCase{L"exitTipWnd.xml", L"ExitTipWnd.xml", true},
                    MatchCase{L"res/mainWnd/bg1.png", L"res\\mainWnd\\bg1.png", true},
                    MatchCase{L"res/mainWnd/chDirBtn1.png", L"res/mainWnd/chDirBtn1.png", true},
                    MatchCase{L"res/mainWnd/bg1.png", L"RES\\MAINWND\\BG1.PNG", true},
                    MatchCase{L"res/mainWnd/bg1.png", L"res//mainWnd/bg1.png", false},
                    MatchCase{L"res/mainWnd/bg1.png", L"res\\\\mainWnd\\bg1.png", false},
                    MatchCase{L"res/mainWnd/bg1.png", L"/res/mainWnd/bg1.png", false},
                    MatchCase{L"res/mainWnd/bg1.png", L"\\res\\mainWnd\\bg1.png", false},
                    MatchCase{L"res/mainWnd/bg1.png", L"./res/mainWnd/bg1.png", false},
                    MatchCase{L"mainWnd.xml", L"mainWnd.xm", false},   // a prefix
                    MatchCase{L"mainWnd.xml", L"mainWnd.xml ", false},  // not trimmed
                    MatchCase{L"mainWnd.xml", L"", false},
                    MatchCase{L"res/mainWnd/bg1.png", L"res/mainWnd", false},
                    MatchCase{L"res/mainWnd/bg1.png", L"res/mainWnd/bg2.png", false}));

TEST(PackageNameLookup, ComparesOnlyNamesOfTheRightLength) {
    g_comparisons = 0;
    const std::wstring stored = L"mainWnd.xml";
    EXPECT_FALSE(PackageNameMatches(stored, 12, L"mainWnd.xm", CountingEqual));
    EXPECT_FALSE(PackageNameMatches(stored, 12, L"mainWnd.xmlx", CountingEqual));
    EXPECT_EQ(g_comparisons, 0);
    EXPECT_TRUE(PackageNameMatches(stored, 12, L"MAINWND.XML", CountingEqual));
    EXPECT_EQ(g_comparisons, 1);
}

TEST(PackageNameLookup, UsesTheStoredLengthNotTheText) {
    // The stored length decides, as the package records it with the name.
    const std::wstring stored = L"mainWnd.xml";
    EXPECT_FALSE(PackageNameMatches(stored, 11, L"mainWnd.xml", AsciiEqualIgnoringCase));
    EXPECT_TRUE(PackageNameMatches(stored, 12, L"mainWnd.xml", AsciiEqualIgnoringCase));
}

TEST(PackageNameLookup, NoComparisonMatchesNothing) {
    EXPECT_FALSE(PackageNameMatches(L"a", 2, L"a", nullptr));
}

}  // namespace
