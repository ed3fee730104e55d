#include "skin/ImageDraw.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

namespace Skin {
// Readable failures.
static void PrintTo(const BlitOp& op, std::ostream* os) {
    *os << "{src " << op.source.left << "," << op.source.top << "," << op.source.right << ","
        << op.source.bottom << " -> dst " << op.dest.left << "," << op.dest.top << ","
        << op.dest.right << "," << op.dest.bottom << " a" << int{op.alpha} << "}";
}
}  // namespace Skin

namespace {

using Skin::Bitmap;
using Skin::BlitOp;
using Skin::ImageString;
using Skin::ParseImageString;
using Skin::PlanImageBlits;
using Skin::Rect;
using Skin::Size;

BlitOp Op(Rect source, Rect dest, std::uint8_t alpha = 255) { return BlitOp{source, dest, alpha}; }

std::vector<BlitOp> Plan(const wchar_t* image, Rect control, Size bitmap) {
    return PlanImageBlits(ParseImageString(image), control, bitmap);
}

struct PlanCase {
    const char* name;
    const wchar_t* image;
    Rect control;
    Size bitmap;
    std::vector<BlitOp> expected;
};

TEST(ImageDraw, Plans) {
    const PlanCase cases[] = {
        {"stretched over the control",
         L"res\\a.png",
         {10, 20, 110, 70},
         {50, 25},
         {Op({0, 0, 50, 25}, {10, 20, 110, 70})}},
        {"dest inside the control",
         L"file='a.png' dest='84,2,100,18'",
         {10, 0, 130, 20},
         {16, 16},
         {Op({0, 0, 16, 16}, {94, 2, 110, 18})}},
        {"dest cut by the control",
         L"file='a.png' dest='0,2,15,16' ",
         {0, 0, 12, 12},
         {15, 14},
         {Op({0, 0, 15, 14}, {0, 2, 12, 12})}},
        {"source part",
         L"file='a.png' source='10,0,20,8'",
         {0, 0, 40, 16},
         {30, 8},
         {Op({10, 0, 20, 8}, {0, 0, 40, 16})}},
        {"source cut by the image",
         L"file='a.png' source='20,2,50,8'",
         {0, 0, 40, 16},
         {30, 8},
         {Op({20, 2, 30, 8}, {0, 0, 40, 16})}},
        {"fade",
         L"file='a.png' fade='128'",
         {0, 0, 4, 4},
         {2, 2},
         {Op({0, 0, 2, 2}, {0, 0, 4, 4}, 128)}},
        {"progress bar in nine parts",
         L"file='p.png' corner='2,2,2,2' mask='#FF0000' fade='255' hole='false'",
         {0, 0, 205, 8},
         {410, 8},
         {Op({0, 0, 2, 2}, {0, 0, 2, 2}), Op({2, 0, 408, 2}, {2, 0, 203, 2}),
          Op({408, 0, 410, 2}, {203, 0, 205, 2}), Op({0, 2, 2, 6}, {0, 2, 2, 6}),
          Op({2, 2, 408, 6}, {2, 2, 203, 6}), Op({408, 2, 410, 6}, {203, 2, 205, 6}),
          Op({0, 6, 2, 8}, {0, 6, 2, 8}), Op({2, 6, 408, 8}, {2, 6, 203, 8}),
          Op({408, 6, 410, 8}, {203, 6, 205, 8})}},
        {"uneven borders with a hole",
         L"file='a.png' corner='3,4,5,2' hole='true'",
         {10, 10, 40, 30},
         {12, 12},
         {Op({0, 0, 3, 4}, {10, 10, 13, 14}), Op({3, 0, 7, 4}, {13, 10, 35, 14}),
          Op({7, 0, 12, 4}, {35, 10, 40, 14}), Op({0, 4, 3, 10}, {10, 14, 13, 28}),
          Op({7, 4, 12, 10}, {35, 14, 40, 28}), Op({0, 10, 3, 12}, {10, 28, 13, 30}),
          Op({3, 10, 7, 12}, {13, 28, 35, 30}), Op({7, 10, 12, 12}, {35, 28, 40, 30})}},
        {"hole without corners draws the whole image",
         L"file='a.png' hole='true'",
         {0, 0, 8, 8},
         {4, 4},
         {Op({0, 0, 4, 4}, {0, 0, 8, 8})}},
        {"side borders of a source part",
         L"file='a.png' source='10,0,20,8' corner='2,0,2,0'",
         {0, 0, 10, 8},
         {30, 8},
         {Op({10, 0, 12, 8}, {0, 0, 2, 8}), Op({12, 0, 18, 8}, {2, 0, 8, 8}),
          Op({18, 0, 20, 8}, {8, 0, 10, 8})}},
        {"tiled across, the last tile cut",
         L"file='a.png' xtiled='true'",
         {0, 0, 25, 8},
         {10, 4},
         {Op({0, 0, 10, 4}, {0, 0, 10, 8}), Op({0, 0, 10, 4}, {10, 0, 20, 8}),
          Op({0, 0, 5, 4}, {20, 0, 25, 8})}},
        {"tiled down",
         L"file='a.png' ytiled='true'",
         {5, 5, 9, 30},
         {4, 10},
         {Op({0, 0, 4, 10}, {5, 5, 9, 15}), Op({0, 0, 4, 10}, {5, 15, 9, 25}),
          Op({0, 0, 4, 5}, {5, 25, 9, 30})}},
        {"tiled both ways",
         L"file='a.png' xtiled='true' ytiled='true'",
         {0, 0, 15, 15},
         {10, 10},
         {Op({0, 0, 10, 10}, {0, 0, 10, 10}), Op({0, 0, 5, 10}, {10, 0, 15, 10}),
          Op({0, 0, 10, 5}, {0, 10, 10, 15}), Op({0, 0, 5, 5}, {10, 10, 15, 15})}},
        {"tiles of a source part",
         L"file='a.png' source='2,2,6,6' xtiled='true'",
         {0, 0, 10, 4},
         {8, 8},
         {Op({2, 2, 6, 6}, {0, 0, 4, 4}), Op({2, 2, 6, 6}, {4, 0, 8, 4}),
          Op({2, 2, 4, 6}, {8, 0, 10, 4})}},
        {"nine parts tiled across",
         L"file='a.png' corner='2,2,2,2' xtiled='true'",
         {0, 0, 9, 6},
         {6, 6},
         {Op({0, 0, 2, 2}, {0, 0, 2, 2}), Op({2, 0, 4, 2}, {2, 0, 4, 2}),
          Op({2, 0, 4, 2}, {4, 0, 6, 2}), Op({2, 0, 3, 2}, {6, 0, 7, 2}),
          Op({4, 0, 6, 2}, {7, 0, 9, 2}),  //
          Op({0, 2, 2, 4}, {0, 2, 2, 4}), Op({2, 2, 4, 4}, {2, 2, 4, 4}),
          Op({2, 2, 4, 4}, {4, 2, 6, 4}), Op({2, 2, 3, 4}, {6, 2, 7, 4}),
          Op({4, 2, 6, 4}, {7, 2, 9, 4}),  //
          Op({0, 4, 2, 6}, {0, 4, 2, 6}), Op({2, 4, 4, 6}, {2, 4, 4, 6}),
          Op({2, 4, 4, 6}, {4, 4, 6, 6}), Op({2, 4, 3, 6}, {6, 4, 7, 6}),
          Op({4, 4, 6, 6}, {7, 4, 9, 6})}},
        // The borders take the whole source: the destination is shared out among them.
        {"borders wider than the source",
         L"file='a.png' corner='2,2,2,2'",
         {0, 0, 10, 10},
         {3, 3},
         {Op({0, 0, 1, 1}, {0, 0, 3, 3}), Op({1, 0, 3, 1}, {3, 0, 10, 3}),
          Op({0, 1, 1, 3}, {0, 3, 3, 10}), Op({1, 1, 3, 3}, {3, 3, 10, 10})}},
        // A progress fill only 3 pixels wide: the side borders are squeezed, no middle.
        {"borders wider than the destination",
         L"file='p.png' corner='2,2,2,2'",
         {0, 0, 3, 8},
         {410, 8},
         {Op({0, 0, 2, 2}, {0, 0, 1, 2}), Op({408, 0, 410, 2}, {1, 0, 3, 2}),
          Op({0, 2, 2, 6}, {0, 2, 1, 6}), Op({408, 2, 410, 6}, {1, 2, 3, 6}),
          Op({0, 6, 2, 8}, {0, 6, 1, 8}), Op({408, 6, 410, 8}, {1, 6, 3, 8})}},
        {"negative border counts as 0",
         L"file='a.png' corner='-4,0,2,0'",
         {0, 0, 10, 2},
         {6, 2},
         {Op({0, 0, 4, 2}, {0, 0, 8, 2}), Op({4, 0, 6, 2}, {8, 0, 10, 2})}},
    };
    for (const PlanCase& c : cases) {
        EXPECT_EQ(Plan(c.image, c.control, c.bitmap), c.expected) << c.name;
    }
}

struct NothingCase {
    const char* name;
    const wchar_t* image;
    Rect control;
    Size bitmap;
};

TEST(ImageDraw, NothingToDraw) {
    const NothingCase cases[] = {
        {"control without width", L"a.png", {5, 5, 5, 20}, {4, 4}},
        {"inverted control", L"a.png", {10, 10, 0, 0}, {4, 4}},
        {"empty bitmap", L"a.png", {0, 0, 10, 10}, {0, 10}},
        {"negative bitmap height", L"a.png", {0, 0, 10, 10}, {10, -1}},
        {"fade 0", L"file='a.png' fade='0'", {0, 0, 10, 10}, {4, 4}},
        {"source beyond the image", L"file='a.png' source='50,0,60,8'", {0, 0, 10, 10}, {30, 8}},
        {"inverted source", L"file='a.png' source='20,0,10,8'", {0, 0, 10, 10}, {30, 8}},
        {"inverted dest", L"file='a.png' dest='10,0,5,8'", {0, 0, 40, 10}, {4, 4}},
        {"dest beyond the control", L"file='a.png' dest='50,0,60,8'", {0, 0, 40, 10}, {4, 4}},
        {"nine parts on an empty control", L"file='a.png' corner='2,2,2,2'", {0, 0, 0, 8}, {6, 6}},
        {"tiles on an empty control", L"file='a.png' xtiled='true' ytiled='true'", {3, 3, 9, 3},
         {2, 2}},
    };
    for (const NothingCase& c : cases) {
        EXPECT_TRUE(Plan(c.image, c.control, c.bitmap).empty()) << c.name;
    }
}

TEST(ImageDraw, ClipKeepsWholeCopiesThatMeetIt) {
    const ImageString tiled = ParseImageString(L"file='a.png' xtiled='true'");
    EXPECT_EQ(PlanImageBlits(tiled, {0, 0, 100, 8}, {10, 4}, {35, 0, 45, 8}),
              (std::vector<BlitOp>{Op({0, 0, 10, 4}, {30, 0, 40, 8}),
                                   Op({0, 0, 10, 4}, {40, 0, 50, 8})}));
    EXPECT_EQ(PlanImageBlits(tiled, {0, 0, 100, 8}, {10, 4}, {95, 0, 300, 8}),
              (std::vector<BlitOp>{Op({0, 0, 10, 4}, {90, 0, 100, 8})}));

    const ImageString bar = ParseImageString(L"file='p.png' corner='2,2,2,2'");
    EXPECT_EQ(PlanImageBlits(bar, {0, 0, 205, 8}, {410, 8}, {0, 0, 2, 2}),
              (std::vector<BlitOp>{Op({0, 0, 2, 2}, {0, 0, 2, 2})}));
    EXPECT_EQ(
        PlanImageBlits(bar, {0, 0, 205, 8}, {410, 8}, {1, 1, 3, 3}),
        (std::vector<BlitOp>{Op({0, 0, 2, 2}, {0, 0, 2, 2}), Op({2, 0, 408, 2}, {2, 0, 203, 2}),
                             Op({0, 2, 2, 6}, {0, 2, 2, 6}), Op({2, 2, 408, 6}, {2, 2, 203, 6})}));
    EXPECT_TRUE(PlanImageBlits(bar, {0, 0, 205, 8}, {410, 8}, {300, 0, 400, 8}).empty());
    EXPECT_TRUE(PlanImageBlits(bar, {0, 0, 205, 8}, {410, 8}, {5, 5, 5, 5}).empty());
    EXPECT_TRUE(PlanImageBlits(bar, {0, 0, 205, 8}, {410, 8}, {9, 0, 3, 8}).empty());
}

TEST(ImageDraw, ExtremeRectangles) {
    const Rect huge{INT_MIN, INT_MIN, INT_MAX, INT_MAX};
    EXPECT_EQ(Plan(L"a.png", huge, {4, 4}), (std::vector<BlitOp>{Op({0, 0, 4, 4}, huge)}));

    const std::vector<BlitOp> nine = Plan(L"file='p.png' corner='2,2,2,2'", huge, {410, 8});
    ASSERT_EQ(nine.size(), 9u);
    EXPECT_EQ(nine.front(), Op({0, 0, 2, 2}, {INT_MIN, INT_MIN, INT_MIN + 2, INT_MIN + 2}));
    EXPECT_EQ(nine[4], Op({2, 2, 408, 6}, {INT_MIN + 2, INT_MIN + 2, INT_MAX - 2, INT_MAX - 2}));
    EXPECT_EQ(nine.back(), Op({408, 6, 410, 8}, {INT_MAX - 2, INT_MAX - 2, INT_MAX, INT_MAX}));

    // A one-pixel tile over four thousand million pixels: the plan stops at its limit.
    const Rect row{INT_MIN, 0, INT_MAX, 1};
    const std::vector<BlitOp> tiles = Plan(L"file='a.png' xtiled='true'", row, {1, 1});
    ASSERT_EQ(tiles.size(), Skin::kMaxBlitOps);
    EXPECT_EQ(tiles.front(), Op({0, 0, 1, 1}, {INT_MIN, 0, INT_MIN + 1, 1}));
    // With a clip only the tiles under it are listed, wherever they lie.
    const std::vector<BlitOp> clipped = PlanImageBlits(
        ParseImageString(L"file='a.png' xtiled='true'"), row, {1, 1}, {0, 0, 100, 1});
    ASSERT_EQ(clipped.size(), 100u);
    EXPECT_EQ(clipped.front(), Op({0, 0, 1, 1}, {0, 0, 1, 1}));
    EXPECT_EQ(clipped.back(), Op({0, 0, 1, 1}, {99, 0, 100, 1}));

    EXPECT_EQ(Plan(L"file='a.png' dest='2147483647,0,2147483647,2147483647'", {0, 0, 10, 10},
                   {4, 4}),
              std::vector<BlitOp>{});
    EXPECT_EQ(Plan(L"file='a.png' corner='2147483647,2147483647,2147483647,2147483647'",
                   {0, 0, 10, 10}, {4, 4}),
              (std::vector<BlitOp>{Op({0, 0, 2, 2}, {0, 0, 5, 5}), Op({2, 0, 4, 2}, {5, 0, 10, 5}),
                                   Op({0, 2, 2, 4}, {0, 5, 5, 10}),
                                   Op({2, 2, 4, 4}, {5, 5, 10, 10})}));
}

// Along one axis, every plan covers the destination exactly once with copies taken from
// inside the source; tiles are copied at their natural length.
void CheckAxis(bool vertical, bool tiled, int length, int nearBorder, int farBorder, int extent) {
    ImageString image;
    image.file = L"a.png";
    Rect control;
    Size bitmap;
    if (!vertical) {
        image.corner = {nearBorder, 0, farBorder, 0};
        image.xtiled = tiled;
        control = {3, 0, 3 + extent, 1};
        bitmap = {length, 1};
    } else {
        image.corner = {0, nearBorder, 0, farBorder};
        image.ytiled = tiled;
        control = {0, 3, 1, 3 + extent};
        bitmap = {1, length};
    }
    const bool borders = nearBorder + farBorder > 0;
    std::vector<int> cover(static_cast<std::size_t>(extent), 0);
    for (const BlitOp& op : PlanImageBlits(image, control, bitmap)) {
        const int d0 = vertical ? op.dest.top : op.dest.left;
        const int d1 = vertical ? op.dest.bottom : op.dest.right;
        const int s0 = vertical ? op.source.top : op.source.left;
        const int s1 = vertical ? op.source.bottom : op.source.right;
        ASSERT_TRUE(d0 >= 3 && d0 < d1 && d1 <= 3 + extent);
        ASSERT_TRUE(s0 >= 0 && s0 < s1 && s1 <= length);
        const bool middle = !borders || (s0 >= nearBorder && s1 <= length - farBorder);
        if (tiled && middle) {
            EXPECT_EQ(s1 - s0, d1 - d0);
        }
        for (int p = d0; p < d1; ++p) ++cover[static_cast<std::size_t>(p - 3)];
    }
    for (int p = 0; p < extent; ++p) ASSERT_EQ(cover[static_cast<std::size_t>(p)], 1) << p;
}

TEST(ImageDraw, PartsCoverTheDestinationOnce) {
    for (const bool vertical : {false, true}) {
        for (const bool tiled : {false, true}) {
            for (int length = 1; length <= 6; ++length) {
                for (int extent = 1; extent <= 10; ++extent) {
                    for (int nearBorder = 0; nearBorder <= 4; ++nearBorder) {
                        for (int farBorder = 0; farBorder <= 4; ++farBorder) {
                            SCOPED_TRACE(testing::Message()
                                         << "vertical " << vertical << " tiled " << tiled
                                         << " length " << length << " extent " << extent
                                         << " borders " << nearBorder << "," << farBorder);
                            CheckAxis(vertical, tiled, length, nearBorder, farBorder, extent);
                        }
                    }
                }
            }
        }
    }
}

// --- The compositor ----------------------------------------------------------------------------

struct BlendCase {
    std::uint32_t canvas;
    std::uint32_t source;
    std::uint8_t alpha;
    std::uint32_t result;
};

const BlendCase kBlends[] = {
    {0x00000000u, 0xFF804020u, 128, 0x80402010u},  // fade 128 halves an opaque pixel
    {0x00000000u, 0x80402010u, 128, 0x40201008u},  // and a translucent one
    {0xFF000000u, 0xFFFFFFFFu, 128, 0xFF808080u},  // half white over black
    {0xFF0000FFu, 0x80808080u, 255, 0xFF8080FFu},  // half white over blue
    {0xFF123456u, 0xFF102030u, 255, 0xFF102030u},  // opaque replaces
    {0xFF123456u, 0x00000000u, 255, 0xFF123456u},  // transparent keeps
    {0xFF123456u, 0xFF102030u, 0, 0xFF123456u},    // fade 0 keeps
    {0x80402010u, 0x80402010u, 255, 0xC0603018u},  // translucent over translucent
};

TEST(ImageDraw, BlendPixel) {
    for (const BlendCase& c : kBlends) {
        EXPECT_EQ(Skin::BlendPixel(c.canvas, c.source, c.alpha), c.result)
            << std::hex << c.canvas << " " << c.source << " " << int{c.alpha};
    }
}

TEST(ImageDraw, CompositeBlendsEveryCoveredPixel) {
    for (const BlendCase& c : kBlends) {
        Bitmap canvas = Skin::MakeBitmap(4, 3, c.canvas);
        const Bitmap pixel = Skin::MakeBitmap(1, 1, c.source);
        ImageString image = ParseImageString(L"a.png");
        image.fade = c.alpha;
        // A 1-pixel image stretched over the middle two columns.
        const std::vector<BlitOp> ops = PlanImageBlits(image, {1, 0, 3, 3}, {1, 1});
        EXPECT_EQ(Skin::Composite(canvas, ops, pixel), ops.size());
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                EXPECT_EQ(canvas.At(x, y), (x == 1 || x == 2) ? c.result : c.canvas)
                    << x << "," << y;
            }
        }
    }
}

TEST(ImageDraw, OpaqueStretchGivesExactPixels) {
    Bitmap image = Skin::MakeBitmap(2, 2);
    image.pixels = {0xFF112233u, 0xFF445566u, 0xFF778899u, 0xFFAABBCCu};
    Bitmap canvas = Skin::MakeBitmap(6, 6, 0xFF000000u);
    const std::vector<BlitOp> ops = Plan(L"a.png", {1, 1, 5, 5}, {2, 2});
    ASSERT_EQ(Skin::Composite(canvas, ops, image), 1u);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            std::uint32_t expected = 0xFF000000u;
            if (x >= 1 && x < 5 && y >= 1 && y < 5) expected = image.At((x - 1) / 2, (y - 1) / 2);
            EXPECT_EQ(canvas.At(x, y), expected) << x << "," << y;
        }
    }
    // Shrinking picks the pixel under each centre: 4 wide onto 2 takes columns 1 and 3.
    Bitmap wide = Skin::MakeBitmap(4, 1);
    wide.pixels = {0xFF000001u, 0xFF000002u, 0xFF000003u, 0xFF000004u};
    Bitmap small = Skin::MakeBitmap(2, 1);
    Skin::Composite(small, {Op({0, 0, 4, 1}, {0, 0, 2, 1})}, wide);
    EXPECT_EQ(small.pixels, (std::vector<std::uint32_t>{0xFF000002u, 0xFF000004u}));
}

TEST(ImageDraw, CompositeClipsAndSkipsBadCopies) {
    Bitmap image = Skin::MakeBitmap(3, 3);
    for (int i = 0; i < 9; ++i) image.pixels[i] = 0xFF000000u | static_cast<std::uint32_t>(i + 1);
    Bitmap canvas = Skin::MakeBitmap(2, 2);
    const std::vector<BlitOp> ops = {
        Op({0, 0, 3, 3}, {-1, -1, 2, 2}),           // partly off the canvas
        Op({0, 0, 4, 3}, {0, 0, 2, 2}),             // source beyond the bitmap
        Op({-1, 0, 2, 2}, {0, 0, 2, 2}),            // source before it
        Op({1, 1, 1, 2}, {0, 0, 2, 2}),             // empty source
        Op({0, 0, 1, 1}, {1, 1, 1, 5}),             // empty destination
        Op({0, 0, 1, 1}, {5, 5, 9, 9}),             // off the canvas entirely
        Op({0, 0, 1, 1}, {INT_MIN, 0, INT_MAX, 1}),  // far larger than the canvas
    };
    EXPECT_EQ(Skin::Composite(canvas, ops, image), 3u);
    // Row 0 was overdrawn by the last copy, row 1 holds pixels (1,2) and (2,2) of the image.
    EXPECT_EQ(canvas.pixels,
              (std::vector<std::uint32_t>{0xFF000001u, 0xFF000001u, 0xFF000008u, 0xFF000009u}));

    Bitmap broken = image;
    broken.pixels.pop_back();
    EXPECT_EQ(Skin::Composite(canvas, ops, broken), 0u);
    Bitmap brokenCanvas = canvas;
    brokenCanvas.width = 3;
    EXPECT_EQ(Skin::Composite(brokenCanvas, ops, image), 0u);
    EXPECT_EQ(Skin::Composite(canvas, ops, Bitmap{}), 0u);
}

std::string ReadRes(const std::string& name) {
    std::string path = __FILE__;
    for (int up = 0; up < 3; ++up) {
        const std::size_t slash = path.find_last_of("/\\");
        path = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    }
    std::ifstream in(path + "/skin/data/res/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ImageDraw, ProgressBarFromItsImageString) {
    const std::string bytes = ReadRes("mainWnd/installPrg1.png");
    ASSERT_FALSE(bytes.empty());
    const ImageString image = ParseImageString(
        L"file='res\\mainWnd\\installPrg1.png' corner='2,2,2,2' mask='#FF0000' fade='255' "
        L"hole='false' xtiled='false' ytiled='false'");
    const Bitmap bar =
        Skin::DecodePng(bytes.data(), bytes.size(), {image.hasMask, image.mask}).bitmap;
    ASSERT_EQ(bar.width, 410);
    const Size size{bar.width, bar.height};

    // At its natural size the nine parts put the image back together exactly.
    Bitmap canvas = Skin::MakeBitmap(410, 8);
    EXPECT_EQ(Skin::Composite(canvas, PlanImageBlits(image, {0, 0, 410, 8}, size), bar), 9u);
    EXPECT_EQ(canvas.pixels, bar.pixels);

    // Half as wide: corners unchanged, the middle sampled from the stretched centre.
    Bitmap half = Skin::MakeBitmap(205, 8);
    Skin::Composite(half, PlanImageBlits(image, {0, 0, 205, 8}, size), bar);
    EXPECT_EQ(half.At(0, 0), bar.At(0, 0));
    EXPECT_EQ(half.At(204, 7), bar.At(409, 7));
    EXPECT_EQ(half.At(100, 4), bar.At(200, 4));  // 2 + (2 * 98 + 1) * 406 / (2 * 201)
}

}  // namespace
