#include "skin/ImageString.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Skin::ImageString;
using Skin::ParseImageString;
using Skin::Rect;

TEST(ImageString, FileNameAlone) {
    const ImageString image = ParseImageString(L"res\\mainWnd\\bg1.png");
    EXPECT_EQ(image.file, L"res\\mainWnd\\bg1.png");
    EXPECT_TRUE(image.dest.IsZero());
    EXPECT_TRUE(image.source.IsZero());
    EXPECT_TRUE(image.corner.IsZero());
    EXPECT_FALSE(image.hasMask);
    EXPECT_EQ(image.fade, 255);
    EXPECT_FALSE(image.hole);
    EXPECT_FALSE(image.xtiled);
    EXPECT_FALSE(image.ytiled);
    EXPECT_FALSE(image.hasColour);
}

TEST(ImageString, FileNamesWithoutPairs) {
    EXPECT_EQ(ParseImageString(L"res/mainWnd/chDirBtn1.png").file, L"res/mainWnd/chDirBtn1.png");
    EXPECT_EQ(ParseImageString(L"my image.png").file, L"my image.png");
    EXPECT_EQ(ParseImageString(L"").file, L"");
    // Nothing could be read as a pair, so the whole value is the name.
    EXPECT_EQ(ParseImageString(L"file='a.png").file, L"file='a.png");
    EXPECT_EQ(ParseImageString(L"file=a.png").file, L"file=a.png");
    EXPECT_EQ(ParseImageString(L"file=\"a.png\"").file, L"file=\"a.png\"");
}

TEST(ImageString, WindowButtonImage) {
    const ImageString image = ParseImageString(L"file='res\\common\\minbtn1.png' fade='255'");
    EXPECT_EQ(image.file, L"res\\common\\minbtn1.png");
    EXPECT_EQ(image.fade, 255);
}

TEST(ImageString, CheckBoxImageWithTrailingSpace) {
    const ImageString image = ParseImageString(L"file='res\\mainWnd\\Cb1.png' dest='0,2,15,16' ");
    EXPECT_EQ(image.file, L"res\\mainWnd\\Cb1.png");
    EXPECT_EQ(image.dest, (Rect{0, 2, 15, 16}));
}

TEST(ImageString, ProgressImages) {
    const ImageString track = ParseImageString(
        L"file='res\\mainWnd\\installPrg1.png' corner='2,2,2,2' mask='#FF0000' fade='255' "
        L"hole='false' xtiled='false' ytiled='false'");
    EXPECT_EQ(track.file, L"res\\mainWnd\\installPrg1.png");
    EXPECT_EQ(track.corner, (Rect{2, 2, 2, 2}));
    EXPECT_TRUE(track.hasMask);
    EXPECT_EQ(track.mask, 0x00FF0000u);
    EXPECT_EQ(track.fade, 255);
    EXPECT_FALSE(track.hole);
    EXPECT_FALSE(track.xtiled);
    EXPECT_FALSE(track.ytiled);
    // Two blanks after a closing quote: the first is the separator, the second is skipped.
    const ImageString fill = ParseImageString(
        L"file='res\\mainWnd\\installPrg2.png'  corner='2,2,2,2' mask='#FF0000' fade='255' "
        L"hole='false' xtiled='false' ytiled='false'");
    EXPECT_EQ(fill.file, L"res\\mainWnd\\installPrg2.png");
    EXPECT_EQ(fill.corner, (Rect{2, 2, 2, 2}));
    EXPECT_TRUE(fill.hasMask);
}

TEST(ImageString, BlanksAroundKeysAndEquals) {
    const ImageString image = ParseImageString(L"  file = 'a.png'  fade =\t'100' ");
    EXPECT_EQ(image.file, L"a.png");
    EXPECT_EQ(image.fade, 100);
}

TEST(ImageString, ValueKeepsItsBlanks) {
    EXPECT_EQ(ParseImageString(L"file=' a b.png '").file, L" a b.png ");
}

TEST(ImageString, ListStopsAtTheFirstBrokenPiece) {
    // no space after the closing quote
    ImageString image = ParseImageString(L"file='a.png'fade='1'");
    EXPECT_EQ(image.file, L"a.png");
    EXPECT_EQ(image.fade, 255);
    // a word without "="
    image = ParseImageString(L"file='a.png' junk fade='1'");
    EXPECT_EQ(image.file, L"a.png");
    EXPECT_EQ(image.fade, 255);
    // unclosed quote
    image = ParseImageString(L"file='a.png' fade='1");
    EXPECT_EQ(image.file, L"a.png");
    EXPECT_EQ(image.fade, 255);
    // value without quotes
    image = ParseImageString(L"fade='7' file=a.png");
    EXPECT_EQ(image.fade, 7);
    EXPECT_EQ(image.file, L"");
    // a tab is not the separator
    image = ParseImageString(L"file='a.png'\tfade='1'");
    EXPECT_EQ(image.fade, 255);
}

TEST(ImageString, ListWithoutFileHasNoFile) {
    const ImageString image = ParseImageString(L"dest='1,2,3,4'");
    EXPECT_EQ(image.file, L"");
    EXPECT_EQ(image.dest, (Rect{1, 2, 3, 4}));
}

TEST(ImageString, LaterKeysOverrideAndUnknownKeysAreIgnored) {
    const ImageString image =
        ParseImageString(L"unknown='v' file='a.png' FILE='c.png' file='b.png' fade='9'");
    EXPECT_EQ(image.file, L"b.png");
    EXPECT_EQ(image.fade, 9);
}

struct FadeCase {
    std::wstring value;
    int fade;
};

class ImageFade : public testing::TestWithParam<FadeCase> {};

TEST_P(ImageFade, IsClampedTo0To255) {
    EXPECT_EQ(ParseImageString(L"file='a' fade='" + GetParam().value + L"'").fade,
              GetParam().fade);
}

INSTANTIATE_TEST_SUITE_P(Table, ImageFade,
                         testing::Values(FadeCase{L"255", 255}, FadeCase{L"0", 0},
                                         FadeCase{L"128", 128}, FadeCase{L"300", 255},
                                         FadeCase{L"-4", 0}, FadeCase{L"x", 0},
                                         FadeCase{L"", 0}, FadeCase{L"77%", 77},
                                         FadeCase{L"99999999999", 255}));

TEST(ImageString, BooleanKeys) {
    const ImageString image =
        ParseImageString(L"file='a' hole='true' xtiled='true' ytiled='TRUE' hsl='true'");
    EXPECT_TRUE(image.hole);
    EXPECT_TRUE(image.xtiled);
    EXPECT_FALSE(image.ytiled);
    EXPECT_TRUE(image.hsl);
}

TEST(ImageString, OtherKeys) {
    ImageString image = ParseImageString(L"file='a' scale9='1,2,3,4' source='0,0,10,8'");
    EXPECT_EQ(image.corner, (Rect{1, 2, 3, 4}));
    EXPECT_EQ(image.source, (Rect{0, 0, 10, 8}));
    image = ParseImageString(L"mask='FF00FF'");
    EXPECT_TRUE(image.hasMask);
    EXPECT_EQ(image.mask, 0x00FF00FFu);
    image = ParseImageString(L"color='#FF112233'");
    EXPECT_TRUE(image.hasColour);
    EXPECT_EQ(image.colour, 0xFF112233u);
    EXPECT_EQ(image.file, L"");
    image = ParseImageString(L"res='IDB_LOGO' restype='PNG'");
    EXPECT_EQ(image.res, L"IDB_LOGO");
    EXPECT_EQ(image.restype, L"PNG");
}

TEST(ImageString, PartialRectangles) {
    EXPECT_EQ(ParseImageString(L"dest='0,2,15'").dest, (Rect{0, 2, 15, 0}));
    EXPECT_EQ(ParseImageString(L"corner='x'").corner, (Rect{0, 0, 0, 0}));
    EXPECT_EQ(ParseImageString(L"dest=''").dest, (Rect{0, 0, 0, 0}));
}

TEST(ImageDestination, WholeControlByDefault) {
    const Rect control{10, 20, 110, 40};
    EXPECT_EQ(Skin::ImageDestination(ParseImageString(L"a.png"), control), control);
    EXPECT_EQ(Skin::ImageDestination(ParseImageString(L"file='a' dest='0,0,0,0'"), control),
              control);
}

TEST(ImageDestination, OffsetFromTheControlAndCutAtItsEdges) {
    const Rect control{10, 20, 110, 40};
    EXPECT_EQ(Skin::ImageDestination(ParseImageString(L"file='a' dest='0,2,15,16'"), control),
              (Rect{10, 22, 25, 36}));
    EXPECT_EQ(Skin::ImageDestination(ParseImageString(L"file='a' dest='5,5,500,500'"), control),
              (Rect{15, 25, 110, 40}));
    // The arrow of the custom-install link: right end of a 100 by 18 button.
    const Rect link{489, 361, 589, 379};
    EXPECT_EQ(Skin::ImageDestination(ParseImageString(L"file='a' dest='84,2,100,18'"), link),
              (Rect{573, 363, 589, 379}));
    // A missing bottom reads as 0: an empty height.
    EXPECT_EQ(Skin::ImageDestination(ParseImageString(L"file='a' dest='0,2,15'"), control),
              (Rect{10, 22, 25, 20}));
}

TEST(ImageDestination, ExtremeValuesStayInRange) {
    const Rect control{2000000000, 2000000000, 2100000000, 2100000000};
    const Rect r = Skin::ImageDestination(
        ParseImageString(L"dest='2000000000,2000000000,2000000000,2000000000'"), control);
    EXPECT_EQ(r.left, 2147483647);
    EXPECT_EQ(r.right, 2100000000);
}

TEST(ImageSourceRect, WholeImageOrClipped) {
    EXPECT_EQ(Skin::ImageSourceRect(ParseImageString(L"a.png"), 410, 8), (Rect{0, 0, 410, 8}));
    EXPECT_EQ(Skin::ImageSourceRect(ParseImageString(L"source='0,0,500,10'"), 410, 8),
              (Rect{0, 0, 410, 8}));
    EXPECT_EQ(Skin::ImageSourceRect(ParseImageString(L"source='-5,2,20,6'"), 410, 8),
              (Rect{0, 2, 20, 6}));
    EXPECT_EQ(Skin::ImageSourceRect(ParseImageString(L"source='30,6,20,2'"), 410, 8),
              (Rect{30, 6, 30, 6}));
    EXPECT_EQ(Skin::ImageSourceRect(ParseImageString(L"source='500,0,600,8'"), 410, 8),
              (Rect{410, 0, 410, 8}));
}

}  // namespace
