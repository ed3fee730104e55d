#include "install/ChunkLines.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::wstring>;

TEST(ChunkLinesTest, SplitsAtLineFeedsKeepingCarriageReturns) {
    const struct {
        const wchar_t* chunk;
        Lines lines;
    } cases[] = {
        {L"", {}},
        {L"\n", {L""}},
        {L"a\nb\n", {L"a", L"b"}},
        {L"a\r\nb\r\n", {L"a\r", L"b\r"}},
        {L"a\n\nb", {L"a", L"", L"b"}},
        {L"State=Succ", {L"State=Succ"}},  // half a line stays half a line
        {L"ess\nProgress=0.5", {L"ess", L"Progress=0.5"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitChunkLines(c.chunk), c.lines) << c.chunk;
}

}  // namespace
