#include "skin/ProgressFill.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using Skin::ProgressRange;
using Skin::Rect;

TEST(ProgressFill, Defaults) {
    const ProgressRange r;
    EXPECT_EQ(r.minimum, 0);
    EXPECT_EQ(r.maximum, 100);
    EXPECT_EQ(r.value, 0);
    EXPECT_EQ(Skin::ProgressFillRect(r, 520, 8), (Rect{0, 0, 0, 8}));
}

TEST(ProgressFill, WidthInIntegerArithmetic) {
    EXPECT_EQ(Skin::ProgressFillRect({0, 100, 50}, 520, 8), (Rect{0, 0, 260, 8}));
    EXPECT_EQ(Skin::ProgressFillRect({0, 100, 100}, 520, 8), (Rect{0, 0, 520, 8}));
    EXPECT_EQ(Skin::ProgressFillRect({0, 3, 1}, 520, 8), (Rect{0, 0, 173, 8}));
    EXPECT_EQ(Skin::ProgressFillRect({10, 20, 15}, 100, 8), (Rect{0, 0, 50, 8}));
}

TEST(ProgressFill, ValueOutsideTheRangeIsClamped) {
    EXPECT_EQ(Skin::ProgressFillRect({0, 100, 150}, 520, 8), (Rect{0, 0, 520, 8}));
    EXPECT_EQ(Skin::ProgressFillRect({0, 100, -5}, 520, 8), (Rect{0, 0, 0, 8}));
}

TEST(ProgressFill, EmptyRangeIsWidened) {
    const ProgressRange r = Skin::NormalisedProgress({50, 50, 70});
    EXPECT_EQ(r.minimum, 50);
    EXPECT_EQ(r.maximum, 51);
    EXPECT_EQ(r.value, 51);
    EXPECT_EQ(Skin::NormalisedProgress({50, 10, 0}).maximum, 51);
    EXPECT_EQ(Skin::ProgressFillRect({50, 10, 70}, 520, 8), (Rect{0, 0, 520, 8}));
    const ProgressRange top = Skin::NormalisedProgress({INT_MAX, INT_MAX, INT_MAX});
    EXPECT_LT(top.minimum, top.maximum);
}

TEST(ProgressFill, ExtremeRanges) {
    EXPECT_EQ(Skin::ProgressFillRect({INT_MIN, INT_MAX, INT_MAX}, INT_MAX, 8).right, INT_MAX);
    EXPECT_EQ(Skin::ProgressFillRect({INT_MIN, INT_MAX, 0}, 1000, 8).right, 500);
}

TEST(ProgressFill, SetValueClamps) {
    EXPECT_EQ(Skin::ClampedProgressValue({0, 100, 0}, 42), 42);
    EXPECT_EQ(Skin::ClampedProgressValue({0, 100, 0}, 101), 100);
    EXPECT_EQ(Skin::ClampedProgressValue({0, 100, 0}, -1), 0);
    EXPECT_EQ(Skin::ClampedProgressValue({10, 5, 0}, 7), 10);
}

}  // namespace
