#include "install/ChunkLines.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::wstring>;

TEST(ChunkLinesTest, SplitsAtLineFeedsDroppingTheCarriageReturnsOfTheLineEnd) {
    const struct {
        const wchar_t* chunk;
        Lines lines;
    } cases[] = {
        {L"", {}},
        {L"\n", {L""}},
        {L"a\nb\n", {L"a", L"b"}},
        {L"a\r\nb\r\n", {L"a", L"b"}},
        {L"a\r\r\nb\r\r\r\n", {L"a", L"b"}},  // "\r\n" printed by a text-mode C program
        {L"\r\n", {L""}},
        {L"a\rb\n", {L"a\rb"}},                // a carriage return inside the line stays
        {L"a\n\nb", {L"a", L"", L"b"}},
        {L"State=Succ", {L"State=Succ"}},      // text after the last line feed is one line
        {L"ess\nProgress=0.5", {L"ess", L"Progress=0.5"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitChunkLines(c.chunk), c.lines) << c.chunk;
}

TEST(ChunkLinesTest, JoinerCompletesLinesCutByReadBoundaries) {
    // Each case: the reads in order, then what each Feed returns and what Flush returns last.
    const struct {
        std::vector<std::string> reads;
        std::vector<std::string> complete;
        std::string rest;
    } cases[] = {
        {{"State=Fa", "il\n"}, {"", "State=Fail\n"}, ""},
        {{"a\nState=F", "ail\nProgress=0.", "5"}, {"a\n", "State=Fail\n", ""}, "Progress=0.5"},
        {{"\xe5\xae", "\x89\n"}, {"", "\xe5\xae\x89\n"}, ""},  // a UTF-8 character cut in two
        {{"x\r", "\r\n"}, {"", "x\r\r\n"}, ""},
        {{"", "\n"}, {"", "\n"}, ""},
        {{"no line end"}, {""}, "no line end"},
    };
    for (const auto& c : cases) {
        LineJoiner joiner;
        for (size_t i = 0; i < c.reads.size(); ++i)
            EXPECT_EQ(joiner.Feed(c.reads[i]), c.complete[i]) << i;
        EXPECT_EQ(joiner.Flush(), c.rest);
        EXPECT_EQ(joiner.Flush(), "");
    }
}

}  // namespace
