#include "skin/FramePattern.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Skin::FormatFramePattern;

TEST(FramePatternTest, FormatsTheFrameNumberWithThePatternsConversion) {
    const struct {
        const wchar_t* pattern;
        std::uint32_t frame;
        const wchar_t* name;
    } cases[] = {
        {L"res\\mainWnd\\installBtnAnimate\\%.3d.png", 7, L"res\\mainWnd\\installBtnAnimate\\007.png"},
        {L"res\\mainWnd\\installBtnAnimate\\%.3d.png", 25, L"res\\mainWnd\\installBtnAnimate\\025.png"},
        {L"f%d.png", 1234, L"f1234.png"},
        {L"f%03u", 5, L"f005"},
        {L"f%-4d|", 5, L"f5   |"},
        {L"f%4d|", 5, L"f   5|"},
        {L"100%%-%d", 3, L"100%-3"},
        {L"%d", 0xFFFFFFFFu, L"-1"},  // the counter is unsigned, %d prints it signed
        {L"%u", 0xFFFFFFFFu, L"4294967295"},
        {L"%.0d", 0, L""},
        {L"no number", 3, L"no number"},
        // unusable patterns draw nothing
        {L"%s.png", 1, L""},
        {L"%d%d", 1, L""},
        {L"%*d", 1, L""},
        {L"%n", 1, L""},
        {L"%", 1, L""},
        {L"%.3", 1, L""},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFramePattern(c.pattern, c.frame), c.name) << c.pattern;
    EXPECT_EQ(FormatFramePattern(std::wstring(400, L'a') + L"%d", 1).size(), 259u);
}

std::vector<int> Frames(bool round, bool loop, std::uint32_t count, int ticks) {
    Skin::SequenceState state;
    state.count = count;
    state.round = round;
    state.loop = loop;
    std::vector<int> shown;
    for (int i = 0; i < ticks; ++i) {
        const Skin::SequenceStep step = Skin::NextSequenceStep(state);
        if (step.stop) {
            shown.push_back(-1);  // the timer stops, the last frame stays on screen
            break;
        }
        shown.push_back(static_cast<int>(step.shown));
    }
    return shown;
}

TEST(FramePatternTest, FrameOrders) {
    using V = std::vector<int>;
    EXPECT_EQ(Frames(false, true, 4, 9), (V{0, 1, 2, 3, 0, 1, 2, 3, 0}));
    EXPECT_EQ(Frames(false, false, 4, 9), (V{0, 1, 2, 3, -1}));
    EXPECT_EQ(Frames(true, true, 4, 11), (V{0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2}));
    EXPECT_EQ(Frames(true, false, 4, 11), (V{0, 1, 2, 3, 2, 1, -1}));
    // the skin's animation: 26 frames, then 000 again
    const V skin = Frames(false, true, 26, 27);
    EXPECT_EQ(skin.front(), 0);
    EXPECT_EQ(skin[25], 25);
    EXPECT_EQ(skin[26], 0);
    // a count of 0 never reaches the end: the numbers keep growing
    EXPECT_EQ(Frames(false, true, 0, 4), (V{0, 1, 2, 3}));
}

TEST(FramePatternTest, RoundTripWithOneFrameNeverComesBack) {
    Skin::SequenceState state;
    state.count = 1;
    state.round = true;
    EXPECT_EQ(Skin::NextSequenceStep(state).shown, 0u);
    const Skin::SequenceStep back = Skin::NextSequenceStep(state);
    EXPECT_TRUE(back.show);
    EXPECT_EQ(back.shown, 0xFFFFFFFFu);  // count - 2 taken as unsigned
    EXPECT_FALSE(state.forward);
}

}  // namespace
