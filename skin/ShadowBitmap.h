#pragma once

#include <cstdint>
#include <vector>

#include "skin/Geometry.h"

// The picture of a frame window's drop shadow, without any Windows call: the frame's window
// region as row spans, the shadow settings with the ranges their setters accept, and the
// shadow bitmap computed from them (MakeShadow).
//
// The Windows side builds a RegionRows from the rectangles GetRegionData returns for the
// frame's window region (AddRect for each), calls MakeShadow with the settings and the frame's
// window size, creates a 32-bit DIB of the returned size, copies the pixels into it (they come
// top row first; a bottom-up DIB stores shadow row r as memory row height - 1 - r) and places
// the layered window at the frame's window position plus (left, top).
namespace Skin {

// The largest shadow bitmap MakeShadow builds: at most this many pixels on each side, and at
// most kMaxShadowPixels pixels in all (256 MiB). A frame or a bitmap beyond either limit gets no
// shadow. Region rows from kMaxShadowSide on are never looked at and are not stored.
constexpr int kMaxShadowSide = 16384;
constexpr std::int64_t kMaxShadowPixels = std::int64_t{1} << 26;

// The columns [start, end) of one row. The span is empty when start is not below end; the
// shadow code writes the empty span of a row as (width, 0).
struct ShadowSpan {
    int start = 0;
    int end = 0;

    bool IsEmpty() const { return start >= end; }
};

inline bool operator==(const ShadowSpan& a, const ShadowSpan& b) {
    return a.start == b.start && a.end == b.end;
}
inline bool operator!=(const ShadowSpan& a, const ShadowSpan& b) { return !(a == b); }

// A window region row by row, in window coordinates: for each row y (0 to kMaxShadowSide - 1)
// the covered columns as sorted, disjoint, non-touching spans. A row with a hole has two or
// more spans; negative rows and rows from kMaxShadowSide on are dropped.
class RegionRows {
public:
    // Union with the rectangle [left, right) x [top, bottom); an empty rectangle adds nothing.
    void AddRect(const Rect& rect);
    // Difference with the rectangle.
    void RemoveRect(const Rect& rect);
    void AddSpan(int row, int start, int end);
    void RemoveSpan(int row, int start, int end);

    // The spans of row y; empty for rows that are not covered (and for any row outside the
    // stored range).
    const std::vector<ShadowSpan>& Row(int y) const;
    // One past the last row that may hold spans.
    int RowCount() const { return static_cast<int>(rows_.size()); }
    bool IsEmpty() const;

private:
    std::vector<std::vector<ShadowSpan>> rows_;
};

// The rectangle as a region.
RegionRows RectRegion(const Rect& rect);

// The rectangle with the hole cut out of it.
RegionRows RectRegionWithHole(const Rect& outer, const Rect& hole);

// A rounded rectangle in the manner of CreateRoundRectRgn(left, top, right, bottom,
// ellipseWidth, ellipseHeight), rasterised here by pixel centres: the region covers
// [left, right) x [top, bottom) except, in each corner, the pixels whose centre (x + 0.5,
// y + 0.5) lies outside the corner ellipse of ellipseWidth by ellipseHeight that touches the
// two edges of that corner. Row y of the top corners loses cut = ceil(a - a * sqrt(1 - (dy /
// b)^2) - 0.5) columns on each side, with a = ellipseWidth / 2, b = ellipseHeight / 2 and dy
// the distance of the pixel centre from the ellipse centre's row, when that is positive
// (mirrored for the bottom corners). The ellipse is limited to the rectangle's size; an
// ellipse of zero width or height gives the plain rectangle. This is close to what GDI draws
// but not a copy of its rasteriser (GDI may differ by a pixel at the corners and at the
// right and bottom edges); the installer itself reads the real region from Windows.
RegionRows RoundRectRegion(const Rect& rect, int ellipseWidth, int ellipseHeight);

// The parent spans of a window of width x height: for each row y from 0 to height - 1, the
// first column x in [0, width) whose point (x, y) is in the region, up to one past the last
// such column. Holes inside a row are spanned over (first start to last end); a row without
// any covered column in [0, width) gets the empty span (width, 0). Negative sizes count as 0.
std::vector<ShadowSpan> ParentSpans(const RegionRows& region, int width, int height);

// The shadow settings as the picture uses them. Any value is safe: MakeShadow clamps each
// into the range its setter accepts (size -20..20, sharpness 0..20, darkness 0..255, offsets
// -20..20). Colour: lowest byte red, next green, third blue; the top byte is ignored.
struct ShadowParams {
    int size = 0;
    int sharpness = 5;
    int darkness = 150;
    int offsetX = 5;
    int offsetY = 5;
    std::uint32_t color = 0;
};

inline bool operator==(const ShadowParams& a, const ShadowParams& b) {
    return a.size == b.size && a.sharpness == b.sharpness && a.darkness == b.darkness &&
           a.offsetX == b.offsetX && a.offsetY == b.offsetY && a.color == b.color;
}
inline bool operator!=(const ShadowParams& a, const ShadowParams& b) { return !(a == b); }

// The shadow's settings as the shadow window holds them, with their defaults. A setter
// returns false and changes nothing for a value outside its range.
class ShadowSettings {
public:
    bool SetSize(int size);                // -20 to 20
    bool SetSharpness(int sharpness);      // 0 to 20
    bool SetDarkness(int darkness);        // 0 to 255
    bool SetPosition(int x, int y);        // both -20 to 20, or neither is taken
    bool SetColor(std::uint32_t color);    // always

    int Size() const { return size_; }
    int Sharpness() const { return sharpness_; }
    int Darkness() const { return darkness_; }
    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }
    std::uint32_t Color() const { return color_; }

    ShadowParams Params() const;

private:
    std::int8_t size_ = 0;
    std::uint8_t sharpness_ = 5;
    std::uint8_t darkness_ = 150;
    std::int8_t offsetX_ = 5;
    std::int8_t offsetY_ = 5;
    std::uint32_t color_ = 0;
};

// The settings clamped into their setters' ranges, as MakeShadow uses them.
ShadowParams NormalisedShadowParams(const ShadowParams& params);

// A pre-multiplied pixel of the shadow colour at the alpha: alpha << 24 | (red * alpha / 255)
// << 16 | (green * alpha / 255) << 8 | (blue * alpha / 255), integer divisions. Alpha above
// 255 counts as 255.
std::uint32_t PremultipliedShadowPixel(std::uint32_t color, unsigned alpha);

// The kernel radius K: the larger of size and sharpness (normalised settings).
int ShadowKernelRadius(const ShadowParams& params);

// The (2K + 1) x (2K + 1) kernel values, row by row from offset (-K, -K). With C = size -
// sharpness when size is the larger (else 0) and d the offset's distance from the centre in
// double precision: alpha = darkness for d < C, (1 - (d - C) / (sharpness + 1)) x darkness
// truncated for d <= K, else 0; each value pre-multiplied as above.
std::vector<std::uint32_t> ShadowKernel(const ShadowParams& params);

// The shadow's row spans E(r) for the shadow rows 0 to height - 1 after the erosion, for a
// parent of parentWidth x parentHeight with the given parent spans (as ParentSpans gives them;
// spans are clipped to [0, parentWidth), missing rows are empty). Empty rows are reported as
// some empty span. Empty when the size is refused (see MakeShadow).
std::vector<ShadowSpan> ShadowSpans(const ShadowParams& params, int parentWidth,
                                    int parentHeight, const std::vector<ShadowSpan>& parentSpans);

// The shadow bitmap and where it goes, relative to the parent window's top-left corner.
struct ShadowBitmap {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // width * height pre-multiplied pixels, alpha in the top byte and blue in the lowest
    // (BGRA in memory), top row first.
    std::vector<std::uint32_t> pixels;

    // The pixel at (x, y); 0 outside the bitmap.
    std::uint32_t At(int x, int y) const;
};

// The place and size of the computed shadow for a parent window of parentWidth x
// parentHeight (normalised settings S, OX, OY): (OX - S, OY - S), (W + 2S) x (H + 2S). A parent
// size below 0 or above kMaxShadowSide, or a bitmap without pixels or beyond the limits, gives
// width and height 0 (nothing to show) at the same place.
ShadowBitmap ShadowPlacement(const ShadowParams& params, int parentWidth, int parentHeight);

// The shadow picture of a parent window with the given parent spans (one per parent row, as
// ParentSpans gives them; other spans are clipped to [0, parentWidth), missing rows count as
// empty). All pixels are 0 where no shadow falls, including where the parent covers it.
ShadowBitmap MakeShadow(const ShadowParams& params, int parentWidth, int parentHeight,
                        const std::vector<ShadowSpan>& parentSpans);

// The same from the parent's window region.
ShadowBitmap MakeShadow(const ShadowParams& params, int parentWidth, int parentHeight,
                        const RegionRows& region);

}  // namespace Skin
