#include "skin/ShadowBitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// The expected pixels below are worked out by hand from the shadow's rules, for the skins'
// settings (size 6, sharpness 10, darkness 20, position 1,1, colour #26003B76 = red 0x76 (118),
// green 0x3B (59), blue 0x00):
//
//   kernel alpha = trunc((1 - d / 11) * 20) for d <= 10, else 0 (radius 10, no solid disc)
//   pixel = alpha << 24 | (118 * alpha / 255) << 16 | (59 * alpha / 255) << 8
//
//   alpha  20         18         17         16         15         14         12         11
//   pixel  0x14090400 0x12080400 0x11070300 0x10070300 0x0F060300 0x0E060300 0x0C050200 0x0B050200
//   alpha  10         9          8          7          6          5          3          2/1
//   pixel  0x0A040200 0x09040200 0x08030100 0x07030100 0x06020100 0x05020100 0x03010000 0x02000000/0x01000000
//
// With those settings the window shape is eroded four times (one pixel on every side each
// time, as a 3 x 3 square), then moved 6 right and 6 down into the bitmap; the kernel is
// stamped on the boundary of the eroded shape, and the window itself, moved 5 right and 5 down
// (size minus offset), cuts a fully transparent hole.

namespace {

using Skin::MakeShadow;
using Skin::ParentSpans;
using Skin::Rect;
using Skin::RegionRows;
using Skin::ShadowBitmap;
using Skin::ShadowParams;
using Skin::ShadowSettings;
using Skin::ShadowSpan;

constexpr std::uint32_t kSkinColour = 0x26003B76;  // "#26003B76" read as one hexadecimal number
constexpr std::uint32_t kTipColour = 0xFFEDF0F4;   // "#FFEDF0F4"
constexpr std::uint32_t kCentre = 0x14090400;      // darkness 20 in the skins' colour

ShadowParams SkinParams() {
    ShadowParams p;
    p.size = 6;
    p.sharpness = 10;
    p.darkness = 20;
    p.offsetX = 1;
    p.offsetY = 1;
    p.color = kSkinColour;
    return p;
}

ShadowParams Params(int size, int sharpness, int darkness, int x, int y, std::uint32_t colour) {
    ShadowParams p;
    p.size = size;
    p.sharpness = sharpness;
    p.darkness = darkness;
    p.offsetX = x;
    p.offsetY = y;
    p.color = colour;
    return p;
}

std::string Hex(std::uint32_t v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(v));
    return text;
}

struct PixelCase {
    int x;
    int y;
    std::uint32_t expected;
    const char* why;
};

void ExpectPixels(const ShadowBitmap& bitmap, const std::vector<PixelCase>& cases) {
    for (const PixelCase& c : cases) {
        EXPECT_EQ(Hex(bitmap.At(c.x, c.y)), Hex(c.expected))
            << "pixel (" << c.x << ", " << c.y << "): " << c.why;
    }
}

std::vector<ShadowSpan> Spans(int rows, ShadowSpan span) {
    return std::vector<ShadowSpan>(static_cast<std::size_t>(rows), span);
}

// ---- The independent picture for the skins' settings ----------------------------------
//
// Built from the geometry alone, without spans or stamping: a pixel under the displaced
// window is 0; otherwise it carries the kernel alpha of its distance to the nearest boundary
// pixel of the eroded shape (a pixel of the shape with one of its eight neighbours outside),
// as the kernel only falls off with distance. For these settings no pixel of the eroded shape
// lies outside the hole, so the solid colour never shows; the reference checks that too.
// Valid for window shapes with one span per row.

unsigned SkinAlpha(double d) {
    return d <= 10.0 ? static_cast<unsigned>((1.0 - d / 11.0) * 20.0) : 0u;
}

std::uint32_t SkinPixel(unsigned alpha) {
    return alpha << 24 | (118u * alpha / 255u) << 16 | (59u * alpha / 255u) << 8;
}

std::vector<std::uint32_t> SkinReference(int W, int H, const std::vector<ShadowSpan>& rows) {
    const int SW = W + 12;
    const int SH = H + 12;
    auto window = [&](int x, int y) {
        return y >= 0 && y < H && x >= rows[y].start && x < rows[y].end;
    };
    auto shape = [&](int X, int Y) { return window(X - 6, Y - 6); };
    auto eroded = [&](int X, int Y) {
        for (int dy = -4; dy <= 4; ++dy) {
            for (int dx = -4; dx <= 4; ++dx) {
                if (!shape(X + dx, Y + dy)) return false;
            }
        }
        return true;
    };
    std::vector<std::pair<int, int>> boundary;
    for (int Y = 0; Y < SH; ++Y) {
        for (int X = 0; X < SW; ++X) {
            if (!eroded(X, Y)) continue;
            bool edge = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) edge = edge || !eroded(X + dx, Y + dy);
            }
            if (edge) boundary.emplace_back(X, Y);
        }
    }
    std::vector<std::uint32_t> out(static_cast<std::size_t>(SW * SH), 0u);
    for (int Y = 0; Y < SH; ++Y) {
        for (int X = 0; X < SW; ++X) {
            if (window(X - 5, Y - 5)) continue;
            EXPECT_FALSE(eroded(X, Y)) << "the solid colour would show at " << X << "," << Y;
            double nearest = 1e9;
            for (const auto& b : boundary) {
                nearest = std::min(nearest, std::hypot(X - b.first, Y - b.second));
            }
            out[static_cast<std::size_t>(Y * SW + X)] = SkinPixel(SkinAlpha(nearest));
        }
    }
    return out;
}

void ExpectMatchesReference(const ShadowBitmap& bitmap, int W, int H,
                            const std::vector<ShadowSpan>& rows) {
    const std::vector<std::uint32_t> expected = SkinReference(W, H, rows);
    ASSERT_EQ(bitmap.width, W + 12);
    ASSERT_EQ(bitmap.height, H + 12);
    ASSERT_EQ(bitmap.pixels.size(), expected.size());
    int wrong = 0;
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            const std::uint32_t want = expected[static_cast<std::size_t>(y * bitmap.width + x)];
            if (bitmap.At(x, y) != want && ++wrong <= 10) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << Hex(bitmap.At(x, y))
                              << ", expected " << Hex(want);
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

// A 30 x 20 window with rounded corners as the frames get it (the region runs one pixel past
// the window, to 31 x 21), with corner ellipse 12 x 12 so the corners show. Row spans worked
// out from the pixel-centre rule: cut = ceil(6 - 6 * sqrt(1 - (dy / 6)^2) - 0.5) for
// dy = 5.5, 4.5, 3.5, 2.5, 1.5 gives 4, 2, 1, 1, 0; the right side stops at the window's
// width 30.
const std::vector<ShadowSpan>& RoundRectRows() {
    static const std::vector<ShadowSpan> rows = [] {
        std::vector<ShadowSpan> r(20, ShadowSpan{0, 30});
        r[0] = {4, 27};
        r[1] = {2, 29};
        r[2] = {1, 30};
        r[3] = {1, 30};
        r[17] = {1, 30};
        r[18] = {1, 30};
        r[19] = {2, 29};
        return r;
    }();
    return rows;
}

// ---- Settings ---------------------------------------------------------------------------

TEST(ShadowSettings, Defaults) {
    const ShadowSettings s;
    EXPECT_EQ(s.Darkness(), 150);
    EXPECT_EQ(s.Sharpness(), 5);
    EXPECT_EQ(s.Size(), 0);
    EXPECT_EQ(s.OffsetX(), 5);
    EXPECT_EQ(s.OffsetY(), 5);
    EXPECT_EQ(s.Color(), 0u);
    EXPECT_EQ(s.Params(), Params(0, 5, 150, 5, 5, 0));
}

TEST(ShadowSettings, SettersAcceptTheirRangesOnly) {
    struct Case {
        const char* call;
        std::function<bool(ShadowSettings&)> apply;
        bool accepted;
        ShadowParams after;  // starting from the defaults (0, 5, 150, 5, 5, 0)
    };
    const ShadowParams d = Params(0, 5, 150, 5, 5, 0);
    const std::vector<Case> cases = {
        {"SetSize(6)", [](ShadowSettings& s) { return s.SetSize(6); }, true, Params(6, 5, 150, 5, 5, 0)},
        {"SetSize(-20)", [](ShadowSettings& s) { return s.SetSize(-20); }, true, Params(-20, 5, 150, 5, 5, 0)},
        {"SetSize(20)", [](ShadowSettings& s) { return s.SetSize(20); }, true, Params(20, 5, 150, 5, 5, 0)},
        {"SetSize(21)", [](ShadowSettings& s) { return s.SetSize(21); }, false, d},
        {"SetSize(-21)", [](ShadowSettings& s) { return s.SetSize(-21); }, false, d},
        {"SetSize(INT_MIN)", [](ShadowSettings& s) { return s.SetSize(INT_MIN); }, false, d},
        {"SetSharpness(10)", [](ShadowSettings& s) { return s.SetSharpness(10); }, true, Params(0, 10, 150, 5, 5, 0)},
        {"SetSharpness(0)", [](ShadowSettings& s) { return s.SetSharpness(0); }, true, Params(0, 0, 150, 5, 5, 0)},
        {"SetSharpness(20)", [](ShadowSettings& s) { return s.SetSharpness(20); }, true, Params(0, 20, 150, 5, 5, 0)},
        {"SetSharpness(21)", [](ShadowSettings& s) { return s.SetSharpness(21); }, false, d},
        {"SetSharpness(-1)", [](ShadowSettings& s) { return s.SetSharpness(-1); }, false, d},
        {"SetDarkness(20)", [](ShadowSettings& s) { return s.SetDarkness(20); }, true, Params(0, 5, 20, 5, 5, 0)},
        {"SetDarkness(0)", [](ShadowSettings& s) { return s.SetDarkness(0); }, true, Params(0, 5, 0, 5, 5, 0)},
        {"SetDarkness(255)", [](ShadowSettings& s) { return s.SetDarkness(255); }, true, Params(0, 5, 255, 5, 5, 0)},
        {"SetDarkness(256)", [](ShadowSettings& s) { return s.SetDarkness(256); }, false, d},
        {"SetDarkness(-1)", [](ShadowSettings& s) { return s.SetDarkness(-1); }, false, d},
        {"SetPosition(1,1)", [](ShadowSettings& s) { return s.SetPosition(1, 1); }, true, Params(0, 5, 150, 1, 1, 0)},
        {"SetPosition(-20,20)", [](ShadowSettings& s) { return s.SetPosition(-20, 20); }, true, Params(0, 5, 150, -20, 20, 0)},
        {"SetPosition(21,0)", [](ShadowSettings& s) { return s.SetPosition(21, 0); }, false, d},
        {"SetPosition(0,-21)", [](ShadowSettings& s) { return s.SetPosition(0, -21); }, false, d},
        {"SetPosition(3,INT_MAX)", [](ShadowSettings& s) { return s.SetPosition(3, INT_MAX); }, false, d},
        {"SetColor(#26003B76)", [](ShadowSettings& s) { return s.SetColor(kSkinColour); }, true, Params(0, 5, 150, 5, 5, kSkinColour)},
        {"SetColor(0xFFFFFFFF)", [](ShadowSettings& s) { return s.SetColor(0xFFFFFFFFu); }, true, Params(0, 5, 150, 5, 5, 0xFFFFFFFFu)},
    };
    for (const Case& c : cases) {
        ShadowSettings s;
        EXPECT_EQ(c.apply(s), c.accepted) << c.call;
        EXPECT_EQ(s.Params(), c.after) << c.call;
    }
}

TEST(ShadowSettings, RejectedValueKeepsTheEarlierOne) {
    ShadowSettings s;
    ASSERT_TRUE(s.SetSize(6));
    ASSERT_TRUE(s.SetSharpness(10));
    ASSERT_TRUE(s.SetDarkness(20));
    ASSERT_TRUE(s.SetPosition(1, 1));
    ASSERT_TRUE(s.SetColor(kSkinColour));
    EXPECT_FALSE(s.SetDarkness(256));
    EXPECT_FALSE(s.SetPosition(21, 0));
    EXPECT_FALSE(s.SetSize(-100));
    EXPECT_FALSE(s.SetSharpness(300));
    EXPECT_EQ(s.Params(), SkinParams());
}

TEST(ShadowSettings, OutOfRangeParamsAreClampedForThePicture) {
    struct Case {
        ShadowParams given;
        ShadowParams used;
    };
    const std::vector<Case> cases = {
        {SkinParams(), SkinParams()},
        {Params(21, 21, 256, 21, -21, 1), Params(20, 20, 255, 20, -20, 1)},
        {Params(INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, 0), Params(-20, 0, 0, -20, -20, 0)},
        {Params(INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 7), Params(20, 20, 255, 20, 20, 7)},
    };
    for (const Case& c : cases) EXPECT_EQ(Skin::NormalisedShadowParams(c.given), c.used);
}

// ---- Pixels and kernel ------------------------------------------------------------------

TEST(ShadowPixel, PremultipliedWithAlphaOnTop) {
    struct Case {
        std::uint32_t colour;
        unsigned alpha;
        std::uint32_t expected;
    };
    const std::vector<Case> cases = {
        {kSkinColour, 20, 0x14090400},  // 118*20/255 = 9, 59*20/255 = 4
        {kSkinColour, 12, 0x0C050200},  // 5, 2
        {kSkinColour, 0, 0x00000000},
        {kTipColour, 10, 0x0A090909},   // red 0xF4, green 0xF0, blue 0xED: 9, 9, 9
        {kTipColour, 20, 0x14131212},   // 244*20/255 = 19, 240*20/255 = 18, 237*20/255 = 18
        {0x00FFFFFF, 255, 0xFFFFFFFF},
        {0xAB000000, 255, 0xFF000000},  // the top byte of the colour plays no part
        {0x00FF0000, 128, 0x80000080},  // blue lands in the lowest byte
        {0x000000FF, 300, 0xFFFF0000},  // alpha above 255 counts as 255
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Hex(Skin::PremultipliedShadowPixel(c.colour, c.alpha)), Hex(c.expected))
            << Hex(c.colour) << " at " << c.alpha;
    }
}

struct KernelCase {
    int dx;
    int dy;
    std::uint32_t expected;
    const char* why;
};

void ExpectKernel(const ShadowParams& params, int radius, const std::vector<KernelCase>& cases) {
    ASSERT_EQ(Skin::ShadowKernelRadius(params), radius);
    const std::vector<std::uint32_t> kernel = Skin::ShadowKernel(params);
    const int side = 2 * radius + 1;
    ASSERT_EQ(kernel.size(), static_cast<std::size_t>(side * side));
    for (const KernelCase& c : cases) {
        EXPECT_EQ(Hex(kernel[static_cast<std::size_t>((c.dy + radius) * side + c.dx + radius)]),
                  Hex(c.expected))
            << "(" << c.dx << ", " << c.dy << "): " << c.why;
    }
}

TEST(ShadowKernel, SkinsSettings) {
    ExpectKernel(SkinParams(), 10, {
        {0, 0, 0x14090400, "d 0: alpha 20"},
        {1, 0, 0x12080400, "d 1: 18.18"},
        {0, -1, 0x12080400, "d 1: 18.18"},
        {1, 1, 0x11070300, "d 1.414: 17.43"},
        {2, 0, 0x10070300, "d 2: 16.36"},
        {-2, 1, 0x0F060300, "d 2.236: 15.93"},
        {2, 2, 0x0E060300, "d 2.828: 14.86"},
        {3, 0, 0x0E060300, "d 3: 14.55"},
        {4, 0, 0x0C050200, "d 4: 12.73"},
        {-3, -4, 0x0A040200, "d 5: 10.91"},
        {6, 0, 0x09040200, "d 6: 9.09"},
        {0, 7, 0x07030100, "d 7: 7.27"},
        {8, 0, 0x05020100, "d 8: 5.45"},
        {9, 0, 0x03010000, "d 9: 3.64"},
        {7, 7, 0x02000000, "d 9.899: 2.0009"},
        {10, 0, 0x01000000, "d 10: 1.82"},
        {6, -8, 0x01000000, "d 10: 1.82"},
        {10, 1, 0x00000000, "d 10.05: beyond the radius"},
        {-10, -10, 0x00000000, "corner of the square"},
    });
}

TEST(ShadowKernel, SizeAboveSharpnessHasASolidDisc) {
    // Size 8, sharpness 3: radius 8, solid below 5, then (1 - (d - 5) / 4) * 20.
    ExpectKernel(Params(8, 3, 20, 1, 1, kSkinColour), 8, {
        {0, 0, 0x14090400, "solid"},
        {4, 0, 0x14090400, "d 4: solid"},
        {3, 4, 0x14090400, "d 5: (1 - 0) * 20"},
        {6, 0, 0x0F060300, "d 6: 15"},
        {5, 5, 0x09040200, "d 7.07: 9.64"},
        {7, 0, 0x0A040200, "d 7: 10"},
        {6, 4, 0x08030100, "d 7.21: 8.94"},
        {0, -8, 0x05020100, "d 8: 5"},
        {7, 4, 0x00000000, "d 8.06: beyond the radius"},
        {-8, 1, 0x00000000, "d 8.06: beyond the radius"},
    });
}

TEST(ShadowKernel, OtherShapes) {
    // Sharpness 0 and size 0: one pixel of full darkness.
    ExpectKernel(Params(0, 0, 20, 0, 0, kSkinColour), 0, {{0, 0, 0x14090400, "single value"}});
    // Size 0, sharpness 20, white at 255: (1 - 20 / 21) * 255 = 12.14 at the rim.
    ExpectKernel(Params(0, 20, 255, 0, 0, 0x00FFFFFF), 20, {
        {0, 0, 0xFFFFFFFF, "full"},
        {20, 0, 0x0C0C0C0C, "d 20: 12"},
        {0, 10, 0x85858585, "d 10: (11 / 21) * 255 = 133.57, alpha 133 = 0x85"},
        {20, 1, 0x00000000, "beyond"},
    });
    // Size 4 and sharpness 0: radius 4, solid below 4, and exactly at 4 still full.
    ExpectKernel(Params(4, 0, 100, 0, 0, 0), 4, {
        {0, 4, 0x64000000, "d 4: (1 - 0 / 1) * 100"},
        {3, 3, 0x00000000, "d 4.24: beyond"},
        {2, 3, 0x64000000, "d 3.6: solid"},
    });
}

// ---- Regions ----------------------------------------------------------------------------

TEST(RegionRows, UnionAndDifference) {
    struct Case {
        const char* what;
        std::function<void(RegionRows&)> build;
        int row;
        std::vector<ShadowSpan> expected;
    };
    const std::vector<Case> cases = {
        {"overlapping rectangles merge",
         [](RegionRows& r) { r.AddRect({0, 0, 10, 2}); r.AddRect({5, 0, 15, 1}); }, 0, {{0, 15}}},
        {"only the rows of each rectangle",
         [](RegionRows& r) { r.AddRect({0, 0, 10, 2}); r.AddRect({5, 0, 15, 1}); }, 1, {{0, 10}}},
        {"touching spans become one",
         [](RegionRows& r) { r.AddRect({0, 0, 5, 1}); r.AddRect({5, 0, 8, 1}); }, 0, {{0, 8}}},
        {"separate spans stay sorted",
         [](RegionRows& r) { r.AddRect({6, 0, 9, 1}); r.AddRect({0, 0, 3, 1}); }, 0, {{0, 3}, {6, 9}}},
        {"a bridge joins them",
         [](RegionRows& r) { r.AddRect({6, 0, 9, 1}); r.AddRect({0, 0, 3, 1}); r.AddRect({2, 0, 7, 1}); },
         0, {{0, 9}}},
        {"a hole splits a span",
         [](RegionRows& r) { r.AddRect({0, 0, 10, 1}); r.RemoveRect({3, 0, 5, 1}); }, 0, {{0, 3}, {5, 10}}},
        {"removing an edge trims",
         [](RegionRows& r) { r.AddRect({0, 0, 10, 1}); r.RemoveRect({-4, 0, 2, 1}); r.RemoveRect({9, 0, 20, 1}); },
         0, {{2, 9}}},
        {"removing everything",
         [](RegionRows& r) { r.AddRect({0, 0, 10, 1}); r.RemoveRect({-1, -1, 11, 2}); }, 0, {}},
        {"empty rectangles add nothing",
         [](RegionRows& r) { r.AddRect({5, 0, 5, 1}); r.AddRect({7, 0, 6, 1}); r.AddRect({0, 3, 4, 3}); }, 0, {}},
        {"negative columns are kept",
         [](RegionRows& r) { r.AddRect({-7, 0, -2, 1}); }, 0, {{-7, -2}}},
    };
    for (const Case& c : cases) {
        RegionRows region;
        c.build(region);
        EXPECT_EQ(region.Row(c.row), c.expected) << c.what;
    }
}

TEST(RegionRows, RowsOutsideTheStoredRangeAreDropped) {
    RegionRows region;
    region.AddRect({0, -5, 4, 2});
    EXPECT_EQ(region.RowCount(), 2);
    EXPECT_EQ(region.Row(-1), std::vector<ShadowSpan>{});
    EXPECT_EQ(region.Row(1), (std::vector<ShadowSpan>{{0, 4}}));
    region.AddRect({0, Skin::kMaxShadowSide - 1, 4, INT_MAX});
    EXPECT_EQ(region.RowCount(), Skin::kMaxShadowSide);
    EXPECT_EQ(region.Row(Skin::kMaxShadowSide), std::vector<ShadowSpan>{});
    EXPECT_FALSE(region.IsEmpty());
    EXPECT_TRUE(RegionRows().IsEmpty());
    region.AddRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    EXPECT_EQ(region.Row(100), (std::vector<ShadowSpan>{{INT_MIN, INT_MAX}}));
}

TEST(RegionRows, RoundRectCorners) {
    const RegionRows region = Skin::RoundRectRegion({0, 0, 31, 21}, 12, 12);
    struct Case {
        int row;
        ShadowSpan span;  // cut on each side: 4, 2, 1, 1, 0 from the edge inwards
    };
    const std::vector<Case> cases = {
        {0, {4, 27}}, {1, {2, 29}}, {2, {1, 30}}, {3, {1, 30}}, {4, {0, 31}}, {10, {0, 31}},
        {16, {0, 31}}, {17, {1, 30}}, {18, {1, 30}}, {19, {2, 29}}, {20, {4, 27}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(region.Row(c.row), std::vector<ShadowSpan>{c.span}) << "row " << c.row;
    }
    EXPECT_EQ(region.Row(21), std::vector<ShadowSpan>{});
    EXPECT_EQ(region.RowCount(), 21);

    // The skins' small corners and ellipses larger than the rectangle.
    const RegionRows main = Skin::RoundRectRegion({0, 0, 601, 401}, 1, 0);
    EXPECT_EQ(main.Row(0), (std::vector<ShadowSpan>{{0, 601}}));
    const RegionRows tip = Skin::RoundRectRegion({0, 0, 361, 181}, 2, 2);
    EXPECT_EQ(tip.Row(0), (std::vector<ShadowSpan>{{0, 361}}));  // no pixel centre outside
    const RegionRows pill = Skin::RoundRectRegion({0, 0, 4, 4}, 100, 100);
    EXPECT_EQ(pill.Row(0), (std::vector<ShadowSpan>{{1, 3}}));  // the ellipse fills the square
    EXPECT_EQ(pill.Row(1), (std::vector<ShadowSpan>{{0, 4}}));
    EXPECT_TRUE(Skin::RoundRectRegion({5, 5, 5, 9}, 2, 2).IsEmpty());
}

TEST(ParentSpans, FirstStartToLastEnd) {
    struct Case {
        const char* what;
        RegionRows region;
        int width;
        int row;
        ShadowSpan expected;
    };
    RegionRows twoParts;
    twoParts.AddRect({0, 0, 5, 3});
    twoParts.AddRect({8, 0, 12, 3});
    const std::vector<Case> cases = {
        {"whole row", Skin::RectRegion({0, 0, 30, 20}), 30, 0, {0, 30}},
        {"a hole inside the row is spanned over",
         Skin::RectRegionWithHole({0, 0, 30, 20}, {10, 5, 20, 15}), 30, 7, {0, 30}},
        {"a row under the hole's rows", Skin::RectRegionWithHole({0, 0, 30, 20}, {10, 5, 20, 15}),
         30, 15, {0, 30}},
        {"a notch at the right edge shortens the row",
         Skin::RectRegionWithHole({0, 0, 30, 20}, {24, 8, 30, 12}), 30, 9, {0, 24}},
        {"two parts with a gap", twoParts, 12, 1, {0, 12}},
        {"clipped to the window", Skin::RectRegion({-5, 0, 40, 3}), 30, 2, {0, 30}},
        {"region right of the window", Skin::RectRegion({30, 0, 40, 3}), 30, 0, {30, 0}},
        {"region left of the window", Skin::RectRegion({-10, 0, 0, 3}), 30, 0, {30, 0}},
        {"below the region", Skin::RectRegion({0, 0, 30, 3}), 30, 3, {30, 0}},
        {"empty region", RegionRows(), 30, 0, {30, 0}},
        {"round rectangle, top row", Skin::RoundRectRegion({0, 0, 31, 21}, 12, 12), 30, 0, {4, 27}},
        {"round rectangle, middle row runs past the width",
         Skin::RoundRectRegion({0, 0, 31, 21}, 12, 12), 30, 8, {0, 30}},
    };
    for (const Case& c : cases) {
        const std::vector<ShadowSpan> spans = ParentSpans(c.region, c.width, 20);
        ASSERT_EQ(spans.size(), 20u) << c.what;
        EXPECT_EQ(spans[static_cast<std::size_t>(c.row)], c.expected) << c.what;
    }
    EXPECT_EQ(ParentSpans(Skin::RoundRectRegion({0, 0, 31, 21}, 12, 12), 30, 20), RoundRectRows());
    EXPECT_TRUE(ParentSpans(Skin::RectRegion({0, 0, 9, 9}), 9, -3).empty());
    EXPECT_EQ(ParentSpans(Skin::RectRegion({0, 0, 9, 9}), -3, 1), Spans(1, {0, 0}));
}

// ---- Erosion ----------------------------------------------------------------------------

void ExpectShadowRows(const std::vector<ShadowSpan>& rows, int count,
                      const std::vector<std::pair<int, ShadowSpan>>& filled) {
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r) {
        bool expectFilled = false;
        for (const auto& f : filled) {
            if (f.first != r) continue;
            expectFilled = true;
            EXPECT_EQ(rows[static_cast<std::size_t>(r)], f.second) << "row " << r;
        }
        if (!expectFilled) {
            EXPECT_TRUE(rows[static_cast<std::size_t>(r)].IsEmpty()) << "row " << r;
        }
    }
}

TEST(ShadowSpans, SkinsSettingsErodeFourTimes) {
    // Rectangle 30 x 20: rows 6..25 hold (6, 36); four steps leave rows 10..21 with (10, 32).
    std::vector<std::pair<int, ShadowSpan>> rect;
    for (int r = 10; r <= 21; ++r) rect.push_back({r, {10, 32}});
    ExpectShadowRows(Skin::ShadowSpans(SkinParams(), 30, 20, Spans(20, {0, 30})), 32, rect);

    // Round rectangle: each row keeps the latest start and earliest end of the nine window rows
    // around it, 4 in from each, moved 6 right.
    ExpectShadowRows(Skin::ShadowSpans(SkinParams(), 30, 20, RoundRectRows()), 32,
                     {{10, {14, 29}}, {11, {12, 31}}, {12, {11, 32}}, {13, {11, 32}},
                      {14, {10, 32}}, {15, {10, 32}}, {16, {10, 32}}, {17, {10, 32}},
                      {18, {10, 32}}, {19, {11, 32}}, {20, {11, 32}}, {21, {12, 31}}});
}

TEST(ShadowSpans, NoErosionWhenSizeIsNotBelowSharpness) {
    std::vector<std::pair<int, ShadowSpan>> rows;
    for (int r = 8; r <= 27; ++r) rows.push_back({r, {8, 38}});
    ExpectShadowRows(Skin::ShadowSpans(Params(8, 3, 20, 1, 1, 0), 30, 20, Spans(20, {0, 30})), 36,
                     rows);
}

TEST(ShadowSpans, NegativeSizeErodesFromRowsBeyondTheBitmap) {
    // Size -3, sharpness 0: rows -3..16 hold (-3, 27); the three steps leave every row of the
    // 24 x 14 bitmap full, in rows as in columns.
    std::vector<std::pair<int, ShadowSpan>> rows;
    for (int r = 0; r < 14; ++r) rows.push_back({r, {0, 24}});
    ExpectShadowRows(Skin::ShadowSpans(Params(-3, 0, 20, 0, 0, 0), 30, 20, Spans(20, {0, 30})), 14,
                     rows);
}

// ---- The picture with the skins' settings -------------------------------------------------

TEST(MakeShadow, PlacementAndSize) {
    struct Case {
        const char* what;
        ShadowParams params;
        int W;
        int H;
        int left, top, width, height;
    };
    const std::vector<Case> cases = {
        {"main window", SkinParams(), 600, 400, -5, -5, 612, 412},
        {"tip window", SkinParams(), 360, 180, -5, -5, 372, 192},
        {"small rectangle", SkinParams(), 30, 20, -5, -5, 42, 32},
        {"defaults", ShadowParams(), 30, 20, 5, 5, 30, 20},
        {"size 8 moved left", Params(8, 3, 20, -20, 0, 0), 30, 20, -28, -8, 46, 36},
        {"negative size", Params(-3, 0, 20, -10, 1, 0), 30, 20, -7, 4, 24, 14},
        {"zero-sized window", SkinParams(), 0, 0, -5, -5, 12, 12},
        {"size clamped to 20", Params(1000, 0, 20, 0, 0, 0), 30, 20, -20, -20, 70, 60},
    };
    for (const Case& c : cases) {
        const ShadowBitmap placed = Skin::ShadowPlacement(c.params, c.W, c.H);
        const ShadowBitmap made = MakeShadow(c.params, c.W, c.H, Skin::RectRegion({0, 0, c.W, c.H}));
        for (const ShadowBitmap* b : {&placed, &made}) {
            EXPECT_EQ(b->left, c.left) << c.what;
            EXPECT_EQ(b->top, c.top) << c.what;
            EXPECT_EQ(b->width, c.width) << c.what;
            EXPECT_EQ(b->height, c.height) << c.what;
        }
        EXPECT_TRUE(placed.pixels.empty()) << c.what;
        EXPECT_EQ(made.pixels.size(), static_cast<std::size_t>(c.width * c.height)) << c.what;
    }
}

TEST(MakeShadow, SkinsSettingsOnARectangle) {
    // Eroded shape: columns 10..31, rows 10..21. Hole: columns 5..34, rows 5..24.
    const ShadowBitmap b = MakeShadow(SkinParams(), 30, 20, Skin::RectRegion({0, 0, 30, 20}));
    ExpectPixels(b, {
        {0, 0, 0x00000000, "corner: 14.1 from (10, 10)"},
        {20, 0, 0x01000000, "10 above the top edge: alpha 1"},
        {20, 4, 0x09040200, "6 above: alpha 9"},
        {4, 15, 0x09040200, "6 left of the left edge, just left of the hole"},
        {5, 15, 0x00000000, "first column under the window"},
        {20, 12, 0x00000000, "stamped, but under the window"},
        {34, 15, 0x00000000, "last column under the window"},
        {35, 15, 0x0C050200, "4 right of column 31: alpha 12"},
        {41, 15, 0x01000000, "10 right: alpha 1"},
        {20, 25, 0x0C050200, "first row below the window, 4 below row 21"},
        {20, 31, 0x01000000, "10 below"},
        {33, 25, 0x0B050200, "(2, 4) from the corner (31, 21): d 4.47, alpha 11"},
        {36, 26, 0x07030100, "(5, 5) from the corner: d 7.07, alpha 7"},
        {37, 28, 0x03010000, "(6, 7): d 9.22, alpha 3"},
        {38, 29, 0x00000000, "(7, 8): d 10.63, beyond the kernel"},
        {41, 31, 0x00000000, "bottom-right corner"},
    });
    ExpectMatchesReference(b, 30, 20, Spans(20, {0, 30}));
}

TEST(MakeShadow, SkinsSettingsOnARoundedRectangle) {
    // Eroded rows (bitmap): 10 (14, 29), 11 (12, 31), 12-13 (11, 32), 14-18 (10, 32),
    // 19-20 (11, 32), 21 (12, 31). Window spans moved 5 right and 5 down make the hole.
    const ShadowBitmap b = MakeShadow(SkinParams(), 30, 20, Skin::RoundRectRegion({0, 0, 31, 21}, 12, 12));
    ExpectPixels(b, {
        {20, 4, 0x09040200, "6 above row 10"},
        {6, 6, 0x05020100, "nearest (12, 11) or (11, 12): d sqrt(61) = 7.81, alpha 5"},
        {8, 5, 0x06020100, "beside the window's rounded top row: (4, 6) to (12, 11), d 7.21"},
        {9, 5, 0x00000000, "under the window's top row (4..26 moved to 9..31)"},
        {4, 20, 0x08030100, "(6, 2) from (10, 18): d 6.32, alpha 8"},
        {5, 20, 0x00000000, "under the window's left edge"},
        {34, 12, 0x00000000, "under the window's right edge"},
        {35, 12, 0x0C050200, "4 right of column 31"},
        {36, 26, 0x05020100, "(6, 5) from (30, 21): d 7.81, alpha 5"},
    });
    ExpectMatchesReference(b, 30, 20, RoundRectRows());
}

TEST(MakeShadow, RegionWithAHoleCastsTheShadowOfItsOutline) {
    // Each row counts from its first covered column to its last: a hole inside the window
    // changes nothing, a notch reaching the edge does.
    const ShadowBitmap solid = MakeShadow(SkinParams(), 30, 20, Skin::RectRegion({0, 0, 30, 20}));
    const ShadowBitmap holed =
        MakeShadow(SkinParams(), 30, 20, Skin::RectRegionWithHole({0, 0, 30, 20}, {10, 5, 20, 15}));
    EXPECT_EQ(holed.pixels, solid.pixels);

    const ShadowBitmap notched =
        MakeShadow(SkinParams(), 30, 20, Skin::RectRegionWithHole({0, 0, 30, 20}, {24, 8, 30, 12}));
    std::vector<ShadowSpan> rows = Spans(20, {0, 30});
    for (int y = 8; y < 12; ++y) rows[static_cast<std::size_t>(y)] = {0, 24};
    ExpectMatchesReference(notched, 30, 20, rows);
    ExpectPixels(notched, {
        // Window rows 8..11 end at 24: bitmap rows 14..17 end at 30, and since every eroded
        // row takes the earliest end of the nine rows around it, rows 10..21 all end at 26
        // (last column 25). The window moved 5 right and 5 down leaves columns 29..34 of rows
        // 13..16 open.
        {28, 14, 0x00000000, "still under the window"},
        {29, 14, 0x0C050200, "4 right of column 25: alpha 12"},
        {32, 14, 0x07030100, "7 right: alpha 7"},
        {35, 15, 0x01000000, "10 right: alpha 1 (12 without the notch)"},
        {32, 12, 0x00000000, "under the window's full rows"},
    });
}

// ---- Size above sharpness: the solid inside -----------------------------------------------

TEST(MakeShadow, SizeAboveSharpnessFillsTheInside) {
    // Size 8, sharpness 3, darkness 20, a 30 x 20 rectangle: no erosion, the shape is columns
    // 8..37 and rows 8..27 of a 46 x 36 bitmap, the kernel (radius 8, solid below 5) is
    // stamped on its boundary and the window, moved by (8 - OX, 8 - OY), cuts the hole.
    // Pixels 9 or more inside the boundary are out of the kernel's reach, so only the fill
    // can colour them.
    struct Case {
        const char* what;
        int ox;
        int oy;
        std::vector<PixelCase> pixels;
    };
    const std::vector<Case> cases = {
        {"moved 20 left: window over columns 28..45 of rows 8..27, fill 8..27", -20, 0, {
            {20, 18, kCentre, "deep inside, left of the window"},
            {27, 18, kCentre, "last filled column"},
            {28, 18, 0x00000000, "first column under the window"},
            {30, 18, 0x00000000, "under the window"},
            {37, 10, 0x00000000, "stamped boundary under the window"},
            {40, 18, 0x00000000, "under the window, outside the shape"},
            {5, 18, kCentre, "3 left of the shape: solid disc"},
            {1, 18, 0x0A040200, "7 left: alpha 10"},
            {0, 18, 0x05020100, "8 left: alpha 5"},
            {20, 1, 0x0A040200, "7 above"},
            {20, 0, 0x05020100, "8 above"},
            {3, 3, 0x09040200, "(5, 5) from the corner (8, 8): alpha 9"},
            {3, 2, 0x05020100, "(5, 6): d 7.81, alpha 5"},
            {2, 2, 0x00000000, "(6, 6): d 8.49, beyond"},
            {40, 2, 0x0B050200, "(3, 6) from (37, 8): d 6.71, alpha 11, above the filled rows"},
            {20, 30, kCentre, "3 below the shape"},
            {20, 35, 0x05020100, "8 below"},
        }},
        {"moved 20 right: window over columns 0..17 of rows 8..27, fill 18..37", 20, 0, {
            {20, 18, kCentre, "deep inside, right of the window"},
            {18, 18, kCentre, "first filled column"},
            {17, 18, 0x00000000, "last column under the window"},
            {12, 18, 0x00000000, "under the window"},
            {5, 18, 0x00000000, "under the window, outside the shape"},
            {40, 18, kCentre, "3 right of the shape"},
            {44, 18, 0x0A040200, "7 right: alpha 10"},
            {3, 3, 0x09040200, "corner above the window's rows"},
        }},
        {"moved 20 right and 20 down: window over columns 0..17 of rows 0..7", 20, 20, {
            {20, 18, kCentre, "filled: no window row covers it"},
            {12, 18, kCentre, "filled"},
            {8, 27, kCentre, "corner of the shape"},
            {3, 3, 0x00000000, "under the window"},
            {10, 6, 0x00000000, "under the window"},
            {20, 3, kCentre, "5 above the shape: d 5, (1 - 0 / 4) * 20"},
            {40, 3, 0x0F060300, "(3, 5) from (37, 8): d 5.83, alpha 15"},
        }},
    };
    for (const Case& c : cases) {
        const ShadowParams p = Params(8, 3, 20, c.ox, c.oy, kSkinColour);
        const ShadowBitmap b = MakeShadow(p, 30, 20, Skin::RectRegion({0, 0, 30, 20}));
        ASSERT_EQ(b.width, 46) << c.what;
        ASSERT_EQ(b.height, 36) << c.what;
        EXPECT_EQ(b.left, c.ox - 8) << c.what;
        EXPECT_EQ(b.top, c.oy - 8) << c.what;
        SCOPED_TRACE(c.what);
        ExpectPixels(b, c.pixels);
    }
}

TEST(MakeShadow, NegativeSizeFillsFromRowsBeyondTheBitmap) {
    // Size -3, sharpness 0, moved 10 left: every row of the 24 x 14 bitmap is in the eroded
    // shape; the window, moved (-3 + 10, -3 - 1) = (7, -4), covers columns 7..23 of every row.
    const ShadowBitmap b = MakeShadow(Params(-3, 0, 20, -10, 1, kSkinColour), 30, 20,
                                      Skin::RectRegion({0, 0, 30, 20}));
    ASSERT_EQ(b.width, 24);
    ASSERT_EQ(b.height, 14);
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 24; ++x) {
            EXPECT_EQ(Hex(b.At(x, y)), Hex(x < 7 ? kCentre : 0u)) << x << "," << y;
        }
    }
}

// ---- Transparent and refused pictures ------------------------------------------------------

TEST(MakeShadow, FullyTransparentPictures) {
    struct Case {
        const char* what;
        ShadowParams params;
        int W;
        int H;
        RegionRows region;
    };
    ShadowParams dark0 = SkinParams();
    dark0.darkness = 0;
    const std::vector<Case> cases = {
        {"darkness 0", dark0, 30, 20, Skin::RectRegion({0, 0, 30, 20})},
        {"darkness 0, round rectangle", dark0, 30, 20, Skin::RoundRectRegion({0, 0, 31, 21}, 12, 12)},
        {"darkness 0, solid disc", Params(8, 3, 0, 20, 20, kSkinColour), 30, 20,
         Skin::RectRegion({0, 0, 30, 20})},
        {"empty region", SkinParams(), 30, 20, RegionRows()},
        {"empty region, size 8", Params(8, 3, 200, 20, -20, kTipColour), 30, 20, RegionRows()},
        {"region outside the window", SkinParams(), 30, 20, Skin::RectRegion({40, 0, 50, 20})},
        {"window of no size", SkinParams(), 0, 0, Skin::RectRegion({0, 0, 10, 10})},
        {"window narrower than the erosion", SkinParams(), 6, 20, Skin::RectRegion({0, 0, 6, 20})},
        {"size -5 erodes everything", Params(-5, 10, 20, 1, 1, kSkinColour), 30, 20,
         Skin::RectRegion({0, 0, 30, 20})},
    };
    for (const Case& c : cases) {
        const ShadowBitmap b = MakeShadow(c.params, c.W, c.H, c.region);
        const ShadowBitmap placed = Skin::ShadowPlacement(c.params, c.W, c.H);
        EXPECT_EQ(b.width, placed.width) << c.what;
        EXPECT_EQ(b.height, placed.height) << c.what;
        ASSERT_GT(b.width, 0) << c.what;
        EXPECT_EQ(b.pixels, std::vector<std::uint32_t>(b.pixels.size(), 0u)) << c.what;
    }
}

TEST(MakeShadow, SizesBeyondTheLimitsGiveNoBitmap) {
    struct Case {
        const char* what;
        ShadowParams params;
        int W;
        int H;
    };
    const std::vector<Case> cases = {
        {"negative width", SkinParams(), -1, 20},
        {"negative height", SkinParams(), 30, -5},
        {"most negative", SkinParams(), INT_MIN, INT_MIN},
        {"largest", SkinParams(), INT_MAX, INT_MAX},
        {"window wider than the limit", SkinParams(), Skin::kMaxShadowSide + 1, 10},
        {"bitmap wider than the limit", SkinParams(), Skin::kMaxShadowSide, 10},
        {"too many pixels", SkinParams(), 16000, 16000},
        {"size -20 leaves no width", Params(-20, 0, 20, 0, 0, 0), 30, 20},
        {"size -10 leaves no width", Params(-10, 0, 20, 0, 0, 0), 20, 30},
        {"clamped size -20 leaves no width", Params(INT_MIN, 0, 20, 0, 0, 0), 40, 100},
    };
    for (const Case& c : cases) {
        const ShadowBitmap b = MakeShadow(c.params, c.W, c.H, Skin::RectRegion({0, 0, 100, 100}));
        EXPECT_EQ(b.width, 0) << c.what;
        EXPECT_EQ(b.height, 0) << c.what;
        EXPECT_TRUE(b.pixels.empty()) << c.what;
        EXPECT_EQ(b.At(0, 0), 0u) << c.what;
        EXPECT_TRUE(Skin::ShadowSpans(c.params, c.W, c.H, Spans(100, {0, 100})).empty()) << c.what;
    }
    // The largest side that fits: a thin strip, fully built.
    const ShadowBitmap strip = MakeShadow(SkinParams(), Skin::kMaxShadowSide - 12, 1,
                                          Skin::RectRegion({0, 0, Skin::kMaxShadowSide, 1}));
    EXPECT_EQ(strip.width, Skin::kMaxShadowSide);
    EXPECT_EQ(strip.height, 13);
}

TEST(MakeShadow, SpansAreClippedToTheWindow) {
    const ShadowBitmap plain = MakeShadow(SkinParams(), 30, 20, Spans(20, {0, 30}));
    struct Case {
        const char* what;
        std::vector<ShadowSpan> spans;
        const ShadowBitmap* same;
    };
    const ShadowBitmap nothing = MakeShadow(SkinParams(), 30, 20, RegionRows());
    const std::vector<Case> cases = {
        {"wider than the window", Spans(20, {INT_MIN, INT_MAX}), &plain},
        {"more rows than the window", Spans(500, {-3, 31}), &plain},
        {"reversed", Spans(20, {INT_MAX, INT_MIN}), &nothing},
        {"no rows", {}, &nothing},
        {"outside on the right", Spans(20, {30, INT_MAX}), &nothing},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MakeShadow(SkinParams(), 30, 20, c.spans).pixels, c.same->pixels) << c.what;
    }
    // Rows missing at the end count as empty.
    std::vector<ShadowSpan> half = Spans(10, {0, 30});
    std::vector<ShadowSpan> explicitHalf = Spans(20, {30, 0});
    for (int y = 0; y < 10; ++y) explicitHalf[static_cast<std::size_t>(y)] = {0, 30};
    EXPECT_EQ(MakeShadow(SkinParams(), 30, 20, half).pixels,
              MakeShadow(SkinParams(), 30, 20, explicitHalf).pixels);
}

// Every setting in and around its range on a rounded and a holed window: the parent never
// has shadow under it, no pixel is darker than the darkness, and every pixel is the colour
// pre-multiplied by its own alpha.
TEST(MakeShadow, PropertiesOverTheSettings) {
    const std::vector<int> sizes = {-21, -20, -7, -3, -1, 0, 1, 3, 6, 8, 13, 20, 25};
    const std::vector<int> sharpnesses = {-1, 0, 1, 3, 5, 10, 20, 40};
    const std::vector<std::pair<int, int>> offsets = {{-20, -20}, {0, 0}, {1, 1}, {20, -7}, {99, -99}};
    RegionRows shape = Skin::RoundRectRegion({0, 0, 41, 31}, 14, 10);
    shape.RemoveRect({12, 8, 20, 14});
    shape.RemoveRect({30, 14, 40, 18});
    const std::vector<ShadowSpan> rows = ParentSpans(shape, 40, 30);
    int pictures = 0;
    for (int size : sizes) {
        for (int sharpness : sharpnesses) {
            for (const auto& offset : offsets) {
                const ShadowParams p = Params(size, sharpness, 77, offset.first, offset.second, kTipColour);
                const ShadowBitmap b = MakeShadow(p, 40, 30, shape);
                const int S = std::clamp(size, -20, 20);
                const int ox = std::clamp(offset.first, -20, 20);
                const int oy = std::clamp(offset.second, -20, 20);
                if (40 + 2 * S <= 0 || 30 + 2 * S <= 0) {
                    EXPECT_EQ(b.width, 0);
                    continue;
                }
                ++pictures;
                ASSERT_EQ(b.width, 40 + 2 * S);
                ASSERT_EQ(b.height, 30 + 2 * S);
                ASSERT_EQ(b.pixels.size(), static_cast<std::size_t>(b.width * b.height));
                EXPECT_EQ(b.left, ox - S);
                EXPECT_EQ(b.top, oy - S);
                int covered = 0;
                int bad = 0;
                for (int y = 0; y < b.height; ++y) {
                    for (int x = 0; x < b.width; ++x) {
                        const std::uint32_t v = b.At(x, y);
                        const unsigned alpha = v >> 24;
                        const std::uint32_t coloured = alpha << 24 | (244u * alpha / 255u) << 16 |
                                                       (240u * alpha / 255u) << 8 | (237u * alpha / 255u);
                        // The window pixel over this shadow pixel.
                        const int wx = x + b.left;
                        const int wy = y + b.top;
                        const bool under = wy >= 0 && wy < 30 && wx >= rows[wy].start && wx < rows[wy].end;
                        if (under) ++covered;
                        if ((under && v != 0) || alpha > 77 || v != coloured) ++bad;
                    }
                }
                EXPECT_EQ(bad, 0) << "size " << size << " sharpness " << sharpness << " offset "
                                  << offset.first << "," << offset.second;
                EXPECT_GT(covered, 0);
            }
        }
    }
    EXPECT_GT(pictures, 300);
}

}  // namespace
