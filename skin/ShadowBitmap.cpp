#include "skin/ShadowBitmap.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace Skin {

namespace {

constexpr int kSizeLimit = 20;
constexpr int kSharpnessLimit = 20;
constexpr int kDarknessLimit = 255;
constexpr int kOffsetLimit = 20;

bool InRange(int value, int low, int high) { return value >= low && value <= high; }

// The rows [top, bottom) of a rectangle that a RegionRows stores.
void StoredRows(const Rect& rect, int* first, int* last) {
    *first = std::max(rect.top, 0);
    *last = std::min(rect.bottom, kMaxShadowSide);
}

// The settings and sizes of one shadow, all within their ranges.
struct ShadowFrame {
    int S = 0;  // size
    int P = 0;  // sharpness
    int D = 0;  // darkness
    int OX = 0;
    int OY = 0;
    std::uint32_t colour = 0;
    int W = 0;  // parent size
    int H = 0;
    int SW = 0;  // bitmap size; 0 when there is no bitmap
    int SH = 0;
    int K = 0;  // kernel radius
    int erosions = 0;
};

ShadowFrame FrameFor(const ShadowParams& params, int parentWidth, int parentHeight) {
    const ShadowParams p = NormalisedShadowParams(params);
    ShadowFrame f;
    f.S = p.size;
    f.P = p.sharpness;
    f.D = p.darkness;
    f.OX = p.offsetX;
    f.OY = p.offsetY;
    f.colour = p.color;
    f.K = std::max(f.S, f.P);
    f.erosions = f.P > f.S ? f.P - f.S : 0;
    if (!InRange(parentWidth, 0, kMaxShadowSide) || !InRange(parentHeight, 0, kMaxShadowSide)) {
        return f;
    }
    f.W = parentWidth;
    f.H = parentHeight;
    // |S| <= 20 and W, H <= kMaxShadowSide: no overflow here.
    const int sw = f.W + 2 * f.S;
    const int sh = f.H + 2 * f.S;
    if (sw <= 0 || sh <= 0 || sw > kMaxShadowSide || sh > kMaxShadowSide ||
        static_cast<std::int64_t>(sw) * sh > kMaxShadowPixels) {
        return f;
    }
    f.SW = sw;
    f.SH = sh;
    return f;
}

// The parent spans for rows 0 to H - 1, clipped to [0, W); others (W, 0).
std::vector<ShadowSpan> CleanParentSpans(const ShadowFrame& f,
                                         const std::vector<ShadowSpan>& parentSpans) {
    std::vector<ShadowSpan> spans(static_cast<std::size_t>(f.H), ShadowSpan{f.W, 0});
    const std::size_t given = std::min(spans.size(), parentSpans.size());
    for (std::size_t y = 0; y < given; ++y) {
        const int start = std::max(parentSpans[y].start, 0);
        const int end = std::min(parentSpans[y].end, f.W);
        if (start < end) spans[y] = ShadowSpan{start, end};
    }
    return spans;
}

// The eroded shadow spans E(r), held for the rows -margin to SH - 1 + margin. E(r) is the
// parent span of row r - S shifted right by S when that parent row exists, empty otherwise,
// for every row r, inside the bitmap or not; with a negative size the rows just outside the
// bitmap still come from parent rows, as the columns just outside it do. Each erosion step
// makes the outermost held rows less exact by one row, so holding erosions + 1 rows beyond
// each edge keeps the rows -1 to SH exact, which is all the border and the fill read.
class ErodedSpans {
public:
    ErodedSpans(const ShadowFrame& f, const std::vector<ShadowSpan>& parent)
        : margin_(f.erosions + 1), empty_{f.W, 0} {
        const int count = f.SH + 2 * margin_;
        rows_.assign(static_cast<std::size_t>(count), empty_);
        for (int t = 0; t < count; ++t) {
            const int parentRow = t - margin_ - f.S;
            if (parentRow < 0 || parentRow >= f.H) continue;
            const ShadowSpan& span = parent[static_cast<std::size_t>(parentRow)];
            if (!span.IsEmpty()) rows_[static_cast<std::size_t>(t)] = {span.start + f.S, span.end + f.S};
        }
        std::vector<ShadowSpan> next(rows_.size());
        for (int step = 0; step < f.erosions; ++step) {
            for (int t = 0; t < count; ++t) {
                const int above = std::max(t - 1, 0);
                const int below = std::min(t + 1, count - 1);
                const ShadowSpan& a = rows_[static_cast<std::size_t>(above)];
                const ShadowSpan& m = rows_[static_cast<std::size_t>(t)];
                const ShadowSpan& b = rows_[static_cast<std::size_t>(below)];
                next[static_cast<std::size_t>(t)] = {std::max({a.start, m.start, b.start}) + 1,
                                                     std::min({a.end, m.end, b.end}) - 1};
            }
            rows_.swap(next);
        }
    }

    // Row r of the shadow, for r from -1 to SH.
    const ShadowSpan& operator()(int r) const {
        if (r < -margin_ || r >= static_cast<int>(rows_.size()) - margin_) return empty_;
        const int t = r + margin_;
        return rows_[static_cast<std::size_t>(t)];
    }

private:
    int margin_;
    ShadowSpan empty_;
    std::vector<ShadowSpan> rows_;
};

struct Kernel {
    int radius = 0;
    int side = 1;
    std::vector<std::uint32_t> values;

    std::uint32_t At(int dx, int dy) const {
        return values[static_cast<std::size_t>((dy + radius) * side + (dx + radius))];
    }
};

Kernel MakeKernel(const ShadowFrame& f) {
    Kernel k;
    k.radius = f.K;
    k.side = 2 * f.K + 1;
    k.values.resize(static_cast<std::size_t>(k.side) * static_cast<std::size_t>(k.side));
    const int C = f.S > f.P ? f.S - f.P : 0;
    for (int dy = -f.K; dy <= f.K; ++dy) {
        for (int dx = -f.K; dx <= f.K; ++dx) {
            const double d = std::sqrt(static_cast<double>(dx * dx + dy * dy));
            unsigned alpha = 0;
            if (d < C) {
                alpha = static_cast<unsigned>(f.D);
            } else if (d <= f.K) {
                // Never negative: d - C <= sharpness inside the kernel.
                alpha = static_cast<unsigned>((1.0 - (d - C) / (f.P + 1)) * f.D);
            }
            k.values[static_cast<std::size_t>((dy + f.K) * k.side + (dx + f.K))] =
                PremultipliedShadowPixel(f.colour, alpha);
        }
    }
    return k;
}

class Canvas {
public:
    Canvas(int width, int height, std::vector<std::uint32_t>* pixels)
        : width_(width), height_(height), pixels_(pixels) {}

    // Every pixel the kernel centred at (x, y) covers becomes the larger of itself and the
    // kernel's value, compared as unsigned numbers (alpha first, as it is the top byte).
    void Stamp(const Kernel& k, int x, int y) {
        const int top = std::max(y - k.radius, 0);
        const int bottom = std::min(y + k.radius, height_ - 1);
        const int left = std::max(x - k.radius, 0);
        const int right = std::min(x + k.radius, width_ - 1);
        for (int py = top; py <= bottom; ++py) {
            std::uint32_t* row = Row(py);
            for (int px = left; px <= right; ++px) {
                const std::uint32_t value = k.At(px - x, py - y);
                if (value > row[px]) row[px] = value;
            }
        }
    }

    // Columns [from, to) of row y, clipped to the bitmap.
    void Fill(int y, int from, int to, std::uint32_t value) {
        if (y < 0 || y >= height_) return;
        from = std::max(from, 0);
        to = std::min(to, width_);
        if (from >= to) return;
        std::uint32_t* row = Row(y);
        std::fill(row + from, row + to, value);
    }

private:
    std::uint32_t* Row(int y) {
        return pixels_->data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }

    int width_;
    int height_;
    std::vector<std::uint32_t>* pixels_;
};

ShadowBitmap PlacementFor(const ShadowFrame& f) {
    ShadowBitmap bitmap;
    bitmap.left = f.OX - f.S;
    bitmap.top = f.OY - f.S;
    bitmap.width = f.SW;
    bitmap.height = f.SH;
    return bitmap;
}

void InsertMerged(std::vector<ShadowSpan>* row, ShadowSpan add) {
    std::vector<ShadowSpan> merged;
    merged.reserve(row->size() + 1);
    bool placed = false;
    for (const ShadowSpan& span : *row) {
        if (span.end < add.start) {
            merged.push_back(span);
        } else if (add.end < span.start) {
            if (!placed) {
                merged.push_back(add);
                placed = true;
            }
            merged.push_back(span);
        } else {
            add.start = std::min(add.start, span.start);
            add.end = std::max(add.end, span.end);
        }
    }
    if (!placed) merged.push_back(add);
    row->swap(merged);
}

}  // namespace

// ---- Region rows ------------------------------------------------------------------------

void RegionRows::AddSpan(int row, int start, int end) {
    if (row < 0 || row >= kMaxShadowSide || start >= end) return;
    if (static_cast<std::size_t>(row) >= rows_.size()) rows_.resize(static_cast<std::size_t>(row) + 1);
    InsertMerged(&rows_[static_cast<std::size_t>(row)], ShadowSpan{start, end});
}

void RegionRows::RemoveSpan(int row, int start, int end) {
    if (row < 0 || static_cast<std::size_t>(row) >= rows_.size() || start >= end) return;
    std::vector<ShadowSpan>& spans = rows_[static_cast<std::size_t>(row)];
    std::vector<ShadowSpan> kept;
    kept.reserve(spans.size() + 1);
    for (const ShadowSpan& span : spans) {
        if (span.end <= start || span.start >= end) {
            kept.push_back(span);
            continue;
        }
        if (span.start < start) kept.push_back(ShadowSpan{span.start, start});
        if (end < span.end) kept.push_back(ShadowSpan{end, span.end});
    }
    spans.swap(kept);
}

void RegionRows::AddRect(const Rect& rect) {
    if (rect.left >= rect.right) return;
    int first = 0;
    int last = 0;
    StoredRows(rect, &first, &last);
    for (int y = first; y < last; ++y) AddSpan(y, rect.left, rect.right);
}

void RegionRows::RemoveRect(const Rect& rect) {
    if (rect.left >= rect.right) return;
    int first = 0;
    int last = 0;
    StoredRows(rect, &first, &last);
    last = std::min(last, RowCount());
    for (int y = first; y < last; ++y) RemoveSpan(y, rect.left, rect.right);
}

const std::vector<ShadowSpan>& RegionRows::Row(int y) const {
    static const std::vector<ShadowSpan> kNone;
    if (y < 0 || static_cast<std::size_t>(y) >= rows_.size()) return kNone;
    return rows_[static_cast<std::size_t>(y)];
}

bool RegionRows::IsEmpty() const {
    return std::all_of(rows_.begin(), rows_.end(),
                       [](const std::vector<ShadowSpan>& row) { return row.empty(); });
}

RegionRows RectRegion(const Rect& rect) {
    RegionRows region;
    region.AddRect(rect);
    return region;
}

RegionRows RectRegionWithHole(const Rect& outer, const Rect& hole) {
    RegionRows region = RectRegion(outer);
    region.RemoveRect(hole);
    return region;
}

RegionRows RoundRectRegion(const Rect& rect, int ellipseWidth, int ellipseHeight) {
    RegionRows region;
    if (rect.left >= rect.right || rect.top >= rect.bottom) return region;
    const double width = static_cast<double>(rect.right) - rect.left;
    const double height = static_cast<double>(rect.bottom) - rect.top;
    const double a = std::clamp(static_cast<double>(ellipseWidth), 0.0, width) / 2;
    const double b = std::clamp(static_cast<double>(ellipseHeight), 0.0, height) / 2;
    int first = 0;
    int last = 0;
    StoredRows(rect, &first, &last);
    for (int y = first; y < last; ++y) {
        int cut = 0;
        if (a > 0 && b > 0) {
            const double centre = y + 0.5;
            double dy = 0;
            if (centre < rect.top + b) {
                dy = rect.top + b - centre;
            } else if (centre > rect.bottom - b) {
                dy = centre - (rect.bottom - b);
            }
            if (dy > 0) {
                const double t = std::min(dy / b, 1.0);
                const double halfWidth = a * std::sqrt(1.0 - t * t);
                // Never more than a, which is at most half the width.
                cut = std::max(static_cast<int>(std::ceil(a - halfWidth - 0.5)), 0);
            }
        }
        region.AddSpan(y, rect.left + cut, rect.right - cut);
    }
    return region;
}

std::vector<ShadowSpan> ParentSpans(const RegionRows& region, int width, int height) {
    width = std::clamp(width, 0, kMaxShadowSide);
    height = std::clamp(height, 0, kMaxShadowSide);
    std::vector<ShadowSpan> spans(static_cast<std::size_t>(height), ShadowSpan{width, 0});
    for (int y = 0; y < height; ++y) {
        bool found = false;
        ShadowSpan row{width, 0};
        for (const ShadowSpan& span : region.Row(y)) {
            const int start = std::max(span.start, 0);
            const int end = std::min(span.end, width);
            if (start >= end) continue;
            if (!found) row.start = start;
            row.end = end;  // the spans are sorted: the last one seen ends last
            found = true;
        }
        spans[static_cast<std::size_t>(y)] = row;
    }
    return spans;
}

// ---- Settings ---------------------------------------------------------------------------

bool ShadowSettings::SetSize(int size) {
    if (!InRange(size, -kSizeLimit, kSizeLimit)) return false;
    size_ = static_cast<std::int8_t>(size);
    return true;
}

bool ShadowSettings::SetSharpness(int sharpness) {
    if (!InRange(sharpness, 0, kSharpnessLimit)) return false;
    sharpness_ = static_cast<std::uint8_t>(sharpness);
    return true;
}

bool ShadowSettings::SetDarkness(int darkness) {
    if (!InRange(darkness, 0, kDarknessLimit)) return false;
    darkness_ = static_cast<std::uint8_t>(darkness);
    return true;
}

bool ShadowSettings::SetPosition(int x, int y) {
    if (!InRange(x, -kOffsetLimit, kOffsetLimit) || !InRange(y, -kOffsetLimit, kOffsetLimit)) {
        return false;
    }
    offsetX_ = static_cast<std::int8_t>(x);
    offsetY_ = static_cast<std::int8_t>(y);
    return true;
}

bool ShadowSettings::SetColor(std::uint32_t color) {
    color_ = color;
    return true;
}

ShadowParams ShadowSettings::Params() const {
    ShadowParams p;
    p.size = size_;
    p.sharpness = sharpness_;
    p.darkness = darkness_;
    p.offsetX = offsetX_;
    p.offsetY = offsetY_;
    p.color = color_;
    return p;
}

ShadowParams NormalisedShadowParams(const ShadowParams& params) {
    ShadowParams p = params;
    p.size = std::clamp(p.size, -kSizeLimit, kSizeLimit);
    p.sharpness = std::clamp(p.sharpness, 0, kSharpnessLimit);
    p.darkness = std::clamp(p.darkness, 0, kDarknessLimit);
    p.offsetX = std::clamp(p.offsetX, -kOffsetLimit, kOffsetLimit);
    p.offsetY = std::clamp(p.offsetY, -kOffsetLimit, kOffsetLimit);
    return p;
}

// ---- The picture ------------------------------------------------------------------------

std::uint32_t PremultipliedShadowPixel(std::uint32_t color, unsigned alpha) {
    alpha = std::min(alpha, 255u);
    const std::uint32_t red = color & 0xFFu;
    const std::uint32_t green = (color >> 8) & 0xFFu;
    const std::uint32_t blue = (color >> 16) & 0xFFu;
    return (alpha << 24) | ((red * alpha / 255) << 16) | ((green * alpha / 255) << 8) |
           (blue * alpha / 255);
}

int ShadowKernelRadius(const ShadowParams& params) {
    const ShadowParams p = NormalisedShadowParams(params);
    return std::max(p.size, p.sharpness);
}

std::vector<std::uint32_t> ShadowKernel(const ShadowParams& params) {
    return MakeKernel(FrameFor(params, 0, 0)).values;
}

std::vector<ShadowSpan> ShadowSpans(const ShadowParams& params, int parentWidth,
                                    int parentHeight, const std::vector<ShadowSpan>& parentSpans) {
    const ShadowFrame f = FrameFor(params, parentWidth, parentHeight);
    if (f.SW == 0) return {};
    const ErodedSpans spans(f, CleanParentSpans(f, parentSpans));
    std::vector<ShadowSpan> rows(static_cast<std::size_t>(f.SH));
    for (int r = 0; r < f.SH; ++r) rows[static_cast<std::size_t>(r)] = spans(r);
    return rows;
}

std::uint32_t ShadowBitmap::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0;
    const std::size_t index =
        static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
    return index < pixels.size() ? pixels[index] : 0;
}

ShadowBitmap ShadowPlacement(const ShadowParams& params, int parentWidth, int parentHeight) {
    return PlacementFor(FrameFor(params, parentWidth, parentHeight));
}

ShadowBitmap MakeShadow(const ShadowParams& params, int parentWidth, int parentHeight,
                        const std::vector<ShadowSpan>& parentSpans) {
    const ShadowFrame f = FrameFor(params, parentWidth, parentHeight);
    ShadowBitmap bitmap = PlacementFor(f);
    if (f.SW == 0) return bitmap;
    bitmap.pixels.assign(static_cast<std::size_t>(f.SW) * static_cast<std::size_t>(f.SH), 0u);

    const std::vector<ShadowSpan> parent = CleanParentSpans(f, parentSpans);
    const ErodedSpans E(f, parent);
    const Kernel kernel = MakeKernel(f);
    Canvas canvas(f.SW, f.SH, &bitmap.pixels);

    // The blurred border: along each row of the eroded shape, the kernel is stamped on the
    // columns not covered from above and below (from the start up to the later start of the
    // neighbouring rows, and from the earlier end of those rows to the end). The stamped
    // centres lie at least K from every edge of the bitmap, the stamp clips all the same.
    for (int i = f.K; i <= f.SH - f.K - 1; ++i) {
        const ShadowSpan& row = E(i);
        if (row.IsEmpty()) continue;
        const ShadowSpan& up = E(i - 1);
        const ShadowSpan& down = E(i + 1);
        int j = row.start;
        const int leftEnd = std::min(row.end, std::max(up.start, down.start) + 1);
        for (; j < leftEnd; ++j) canvas.Stamp(kernel, j, i);
        j = std::max(j, std::min(up.end, down.end) - 1);
        for (; j < row.end; ++j) canvas.Stamp(kernel, j, i);
    }

    // The solid inside, and the hole where the parent window lies over its displaced shadow.
    const std::uint32_t centre = PremultipliedShadowPixel(f.colour, static_cast<unsigned>(f.D));
    const int firstRow = std::min(f.K, std::max(f.S - f.OY, 0));
    const int endRow = std::min(std::max(f.SH - f.K, std::min(f.H + f.S - f.OY, f.H + 2 * f.S)), f.SH);
    for (int i = firstRow; i < endRow; ++i) {
        const ShadowSpan& row = E(i);
        const int y = i - f.S + f.OY;
        if (y < 0 || y >= f.H) {
            canvas.Fill(i, row.start, row.end, centre);
            continue;
        }
        const ShadowSpan& over = parent[static_cast<std::size_t>(y)];
        const int x0 = over.start + f.S - f.OX;
        const int x1 = over.end + f.S - f.OX;
        canvas.Fill(i, row.start, std::min(x0, row.end), centre);
        canvas.Fill(i, std::max(x0, 0), std::min(x1, f.SW), 0u);
        canvas.Fill(i, std::max(x1, row.start), row.end, centre);
    }
    return bitmap;
}

ShadowBitmap MakeShadow(const ShadowParams& params, int parentWidth, int parentHeight,
                        const RegionRows& region) {
    return MakeShadow(params, parentWidth, parentHeight,
                      ParentSpans(region, parentWidth, parentHeight));
}

}  // namespace Skin
