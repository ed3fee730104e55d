#include "app/RouteSubstitution.h"

#include <gtest/gtest.h>

namespace {

TEST(RouteSubstitutionTest, ReplacesEveryPlaceholderByVersionRoute) {
    const std::wstring url = L"http://h/${ROUTE}/a?r=${ROUTE}";
    const struct {
        const wchar_t* osName;
        const wchar_t* expected;
    } cases[] = {
        {L"7", L"http://h/download_silent/a?r=download_silent"},
        {L"10", L"http://h/download_silent/a?r=download_silent"},
        {L"2K", L"http://h/download_silent/a?r=download_silent"},
        {L"Server 2003", L"http://h/download_silent/a?r=download_silent"},
        {L"XP", L"http://h/download_silent_xp/a?r=download_silent_xp"},
        {L"XP-", L"http://h/download_silent_xp/a?r=download_silent_xp"},
        {L"XP+", L"http://h/download_silent_xp/a?r=download_silent_xp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SubstituteRoute(url, [&] { return std::wstring(c.osName); }), c.expected)
            << c.osName;
}

TEST(RouteSubstitutionTest, TextWithoutPlaceholderAsksNothing) {
    bool asked = false;
    EXPECT_EQ(SubstituteRoute(L"http://h/software/681",
                              [&] {
                                  asked = true;
                                  return std::wstring(L"XP");
                              }),
              L"http://h/software/681");
    EXPECT_FALSE(asked);
}

TEST(RouteSubstitutionTest, AdjacentAndLowerCasePlaceholders) {
    auto seven = [] { return std::wstring(L"7"); };
    EXPECT_EQ(SubstituteRoute(L"${ROUTE}${ROUTE}", seven), L"download_silentdownload_silent");
    EXPECT_EQ(SubstituteRoute(L"${route}", seven), L"${route}");
}

}  // namespace
