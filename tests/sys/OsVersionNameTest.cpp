#include "sys/OsVersionName.h"

#include <gtest/gtest.h>

namespace {

TEST(OsVersionNameTest, NameForEveryVersionRow) {
    const struct {
        unsigned major, minor, build;
        bool r2;
        const wchar_t* name;
    } cases[] = {
        {0, 0, 0, false, L"XP-"},       {4, 10, 1998, false, L"XP-"},
        {5, 0, 2195, false, L"2K"},     {5, 1, 2600, false, L"XP"},
        {5, 2, 3790, false, L"Server 2003"}, {5, 2, 3790, true, L"Server 2003 R2"},
        {5, 3, 0, false, L"XP+"},       {5, 9, 0, true, L"XP+"},
        {6, 0, 6002, false, L"Vista"},  {6, 1, 7601, false, L"7"},
        {6, 2, 9200, false, L"8"},      {6, 3, 9600, false, L"8.1"},
        {6, 4, 0, false, L"8.1+"},      {10, 0, 19045, false, L"10"},
        {10, 1, 0, false, L"10+"},      {11, 0, 22631, false, L"11.0.22631"},
        {7, 2, 5, false, L"7.2.5"},     {9, 0, 0, false, L"9.0.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utils::OsVersionNameFrom(c.major, c.minor, c.build, c.r2), c.name)
            << c.major << "." << c.minor;
}

}  // namespace
