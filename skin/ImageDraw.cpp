#include "skin/ImageDraw.h"

#include <algorithm>
#include <array>

namespace Skin {

namespace {

// Rectangle edges are ints, but their differences and sums may not be: all the arithmetic
// below is done in 64 bits and only values lying between two edges go back into a Rect.
using i64 = long long;

i64 Extent(int a, int b) { return static_cast<i64>(b) - static_cast<i64>(a); }

// One stretch of an axis: `srcLen` pixels of the bitmap from `src` onto `dstLen` pixels of
// the canvas from `dst`.
struct Span {
    i64 src = 0;
    i64 srcLen = 0;
    i64 dst = 0;
    i64 dstLen = 0;
};

// Cuts an axis into its near border, middle and far border.
std::array<Span, 3> SplitAxis(i64 src, i64 srcLen, i64 dst, i64 dstLen, i64 nearBorder,
                              i64 farBorder) {
    nearBorder = std::max<i64>(nearBorder, 0);
    farBorder = std::max<i64>(farBorder, 0);
    if (nearBorder + farBorder > srcLen) {
        const i64 sum = nearBorder + farBorder;
        nearBorder = nearBorder * srcLen / sum;
        farBorder = srcLen - nearBorder;
    }
    // The borders keep their size on the canvas while they leave room for a middle there and
    // the source has a middle to fill it with; otherwise the canvas is shared out among the
    // borders in proportion, so that nothing is left uncovered.
    i64 nearOut = nearBorder;
    i64 farOut = farBorder;
    const i64 total = nearBorder + farBorder;
    if (total > 0 && (total > dstLen || total == srcLen)) {
        nearOut = nearBorder * dstLen / total;
        farOut = dstLen - nearOut;
    }
    std::array<Span, 3> parts;
    parts[0] = Span{src, nearBorder, dst, nearOut};
    parts[1] = Span{src + nearBorder, srcLen - nearBorder - farBorder, dst + nearOut,
                    dstLen - nearOut - farOut};
    parts[2] = Span{src + srcLen - farBorder, farBorder, dst + dstLen - farOut, farOut};
    return parts;
}

// The pieces of one part along one axis: either the whole span stretched, or tiles of the
// source's length from the start, the last one cut off. Only pieces that meet the clip
// interval [clipFrom, clipTo) are produced.
class Pieces {
public:
    Pieces(const Span& span, bool tiled, i64 clipFrom, i64 clipTo) : span_(span), tiled_(tiled) {
        const i64 from = std::max(clipFrom, span.dst);
        const i64 to = std::min(clipTo, span.dst + span.dstLen);
        if (span.srcLen <= 0 || span.dstLen <= 0 || from >= to) return;
        if (!tiled_) {
            first_ = 0;
            end_ = 1;
            return;
        }
        first_ = (from - span.dst) / span.srcLen;
        end_ = (to - span.dst + span.srcLen - 1) / span.srcLen;
    }
    i64 Count() const { return end_ - first_; }
    // Source and destination of the i-th piece produced (0 <= i < Count()).
    void Get(i64 i, i64& src, i64& srcLen, i64& dst, i64& dstLen) const {
        if (!tiled_) {
            src = span_.src;
            srcLen = span_.srcLen;
            dst = span_.dst;
            dstLen = span_.dstLen;
            return;
        }
        const i64 offset = (first_ + i) * span_.srcLen;
        src = span_.src;
        dst = span_.dst + offset;
        dstLen = std::min(span_.srcLen, span_.dstLen - offset);
        srcLen = dstLen;
    }

private:
    Span span_;
    bool tiled_;
    i64 first_ = 0;
    i64 end_ = 0;
};

int Narrow(i64 v) { return static_cast<int>(v); }  // only for values between two int edges

void AddPart(std::vector<BlitOp>& ops, const Span& x, bool tileX, const Span& y, bool tileY,
             const Rect& clip, std::uint8_t alpha) {
    const Pieces columns(x, tileX, clip.left, clip.right);
    const Pieces rows(y, tileY, clip.top, clip.bottom);
    for (i64 r = 0; r < rows.Count(); ++r) {
        i64 sy, sh, dy, dh;
        rows.Get(r, sy, sh, dy, dh);
        for (i64 c = 0; c < columns.Count(); ++c) {
            if (ops.size() >= kMaxBlitOps) return;
            i64 sx, sw, dx, dw;
            columns.Get(c, sx, sw, dx, dw);
            BlitOp op;
            op.source = Rect{Narrow(sx), Narrow(sy), Narrow(sx + sw), Narrow(sy + sh)};
            op.dest = Rect{Narrow(dx), Narrow(dy), Narrow(dx + dw), Narrow(dy + dh)};
            op.alpha = alpha;
            ops.push_back(op);
        }
    }
}

std::vector<BlitOp> Plan(const ImageString& image, const Rect& control, const Size& bitmapSize,
                         const Rect* clipOrNull) {
    std::vector<BlitOp> ops;
    if (bitmapSize.cx <= 0 || bitmapSize.cy <= 0 || image.fade <= 0) return ops;
    const Rect dest = ImageDestination(image, control);
    const Rect source = ImageSourceRect(image, bitmapSize.cx, bitmapSize.cy);
    const i64 dw = Extent(dest.left, dest.right);
    const i64 dh = Extent(dest.top, dest.bottom);
    const i64 sw = Extent(source.left, source.right);
    const i64 sh = Extent(source.top, source.bottom);
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return ops;
    const Rect clip = clipOrNull ? *clipOrNull : dest;
    if (Extent(clip.left, clip.right) <= 0 || Extent(clip.top, clip.bottom) <= 0) return ops;

    const auto alpha = static_cast<std::uint8_t>(std::min(image.fade, 255));
    const bool nine = !image.corner.IsZero();
    const std::array<Span, 3> columns =
        SplitAxis(source.left, sw, dest.left, dw, nine ? image.corner.left : 0,
                  nine ? image.corner.right : 0);
    const std::array<Span, 3> rows = SplitAxis(source.top, sh, dest.top, dh,
                                               nine ? image.corner.top : 0,
                                               nine ? image.corner.bottom : 0);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            if (nine && image.hole && r == 1 && c == 1) continue;
            AddPart(ops, columns[c], image.xtiled && c == 1, rows[r], image.ytiled && r == 1,
                    clip, alpha);
        }
    }
    return ops;
}

std::uint32_t Scale(std::uint32_t channel, std::uint32_t factor) {
    return (channel * factor + 127) / 255;
}

bool Inside(const Rect& r, const Bitmap& bitmap) {
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
           r.right <= bitmap.width && r.bottom <= bitmap.height;
}

}  // namespace

std::vector<BlitOp> PlanImageBlits(const ImageString& image, const Rect& control,
                                   const Size& bitmapSize) {
    return Plan(image, control, bitmapSize, nullptr);
}

std::vector<BlitOp> PlanImageBlits(const ImageString& image, const Rect& control,
                                   const Size& bitmapSize, const Rect& clip) {
    return Plan(image, control, bitmapSize, &clip);
}

std::uint32_t BlendPixel(std::uint32_t canvas, std::uint32_t source, std::uint8_t alpha) {
    std::uint32_t a = PixelAlpha(source);
    std::uint32_t r = PixelRed(source);
    std::uint32_t g = PixelGreen(source);
    std::uint32_t b = PixelBlue(source);
    if (alpha != 255) {
        a = Scale(a, alpha);
        r = Scale(r, alpha);
        g = Scale(g, alpha);
        b = Scale(b, alpha);
    }
    if (a == 255) return PackPixel(255, static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                   static_cast<std::uint8_t>(b));
    const std::uint32_t uncovered = 255 - a;
    auto over = [uncovered](std::uint32_t s, std::uint32_t d) {
        return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, s + Scale(d, uncovered)));
    };
    return PackPixel(over(a, PixelAlpha(canvas)), over(r, PixelRed(canvas)),
                     over(g, PixelGreen(canvas)), over(b, PixelBlue(canvas)));
}

std::size_t Composite(Bitmap& canvas, const std::vector<BlitOp>& ops, const Bitmap& bitmap) {
    if (!canvas.Valid() || !bitmap.Valid() || bitmap.Empty()) return 0;
    std::size_t done = 0;
    std::vector<int> columnSource;
    for (const BlitOp& op : ops) {
        const i64 dw = Extent(op.dest.left, op.dest.right);
        const i64 dh = Extent(op.dest.top, op.dest.bottom);
        if (!Inside(op.source, bitmap) || dw <= 0 || dh <= 0) continue;
        ++done;
        if (op.alpha == 0) continue;
        const i64 x0 = std::max<i64>(op.dest.left, 0);
        const i64 x1 = std::min<i64>(op.dest.right, canvas.width);
        const i64 y0 = std::max<i64>(op.dest.top, 0);
        const i64 y1 = std::min<i64>(op.dest.bottom, canvas.height);
        if (x0 >= x1 || y0 >= y1) continue;
        // The source pixel under the centre of canvas pixel i of the destination is
        // floor((i + 1/2) * sw / dw); with sw at most kMaxImageSide this stays far from
        // 64-bit overflow even for destinations of 2^32 pixels.
        const i64 sw = Extent(op.source.left, op.source.right);
        const i64 sh = Extent(op.source.top, op.source.bottom);
        columnSource.resize(static_cast<std::size_t>(x1 - x0));
        for (i64 x = x0; x < x1; ++x) {
            const i64 i = x - op.dest.left;
            columnSource[static_cast<std::size_t>(x - x0)] =
                static_cast<int>(op.source.left + (2 * i + 1) * sw / (2 * dw));
        }
        for (i64 y = y0; y < y1; ++y) {
            const i64 j = y - op.dest.top;
            const int sy = static_cast<int>(op.source.top + (2 * j + 1) * sh / (2 * dh));
            for (i64 x = x0; x < x1; ++x) {
                std::uint32_t& out = canvas.At(static_cast<int>(x), static_cast<int>(y));
                out = BlendPixel(out, bitmap.At(columnSource[static_cast<std::size_t>(x - x0)], sy),
                                 op.alpha);
            }
        }
    }
    return done;
}

}  // namespace Skin
