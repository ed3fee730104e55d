#include "skin/TextAlignment.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Skin::HorizontalAlign;
using Skin::ReadAlign;
using Skin::ReadVerticalAlign;
using Skin::VerticalAlign;

struct AlignCase {
    std::wstring value;
    HorizontalAlign from;
    HorizontalAlign expected;
};

class Align : public testing::TestWithParam<AlignCase> {};

TEST_P(Align, Reads) {
    EXPECT_EQ(ReadAlign(GetParam().value, GetParam().from), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Align,
    testing::Values(AlignCase{L"left", HorizontalAlign::Center, HorizontalAlign::Left},
                    AlignCase{L"center", HorizontalAlign::Left, HorizontalAlign::Center},
                    AlignCase{L"right", HorizontalAlign::Left, HorizontalAlign::Right},
                    AlignCase{L"vcenter", HorizontalAlign::Left, HorizontalAlign::Center},
                    AlignCase{L"leftright", HorizontalAlign::Center, HorizontalAlign::Right},
                    AlignCase{L"right left", HorizontalAlign::Center, HorizontalAlign::Right},
                    AlignCase{L"center left", HorizontalAlign::Right, HorizontalAlign::Center},
                    AlignCase{L"", HorizontalAlign::Center, HorizontalAlign::Center},
                    AlignCase{L"Left", HorizontalAlign::Center, HorizontalAlign::Center},
                    AlignCase{L"middle", HorizontalAlign::Right, HorizontalAlign::Right}));

struct VAlignCase {
    std::wstring value;
    VerticalAlign from;
    VerticalAlign expected;
};

class VAlign : public testing::TestWithParam<VAlignCase> {};

TEST_P(VAlign, Reads) {
    EXPECT_EQ(ReadVerticalAlign(GetParam().value, GetParam().from), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VAlign,
    testing::Values(VAlignCase{L"top", VerticalAlign::Center, VerticalAlign::Top},
                    VAlignCase{L"vcenter", VerticalAlign::Top, VerticalAlign::Center},
                    VAlignCase{L"bottom", VerticalAlign::Center, VerticalAlign::Bottom},
                    VAlignCase{L"topbottom", VerticalAlign::Center, VerticalAlign::Bottom},
                    // "center" alone is no vertical word: the current alignment stays
                    VAlignCase{L"center", VerticalAlign::Top, VerticalAlign::Top},
                    VAlignCase{L"center", VerticalAlign::Bottom, VerticalAlign::Bottom},
                    VAlignCase{L"", VerticalAlign::Bottom, VerticalAlign::Bottom}));

TEST(VAlign, LabelWithCenterKeepsItsDefaultCentring) {
    // The logo labels say valign="center"; a label is vertically centred by default.
    EXPECT_EQ(ReadVerticalAlign(L"center", VerticalAlign::Center), VerticalAlign::Center);
    EXPECT_EQ(ReadVerticalAlign(L"vcenter", VerticalAlign::Center), VerticalAlign::Center);
}

}  // namespace
