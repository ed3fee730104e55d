// The frame's drop shadow (MakeShadow) over window regions built from random rectangles,
// round rectangles and holes, with random settings. Checked: the region rows stay sorted,
// disjoint spans; the bitmap has the place and size ShadowPlacement gives and pre-multiplied
// pixels; nothing is drawn where the parent covers it; the region and its parent spans give
// the same picture.
#include <cstdint>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "skin/ShadowBitmap.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

using Skin::Rect;
using Skin::RegionRows;

void CheckRows(const RegionRows& region) {
    for (int y = 0; y < region.RowCount(); ++y) {
        const auto& row = region.Row(y);
        for (std::size_t i = 0; i < row.size(); ++i) {
            FUZZ_CHECK(row[i].start < row[i].end);
            if (i) FUZZ_CHECK(row[i - 1].end < row[i].start);  // disjoint, not touching
        }
    }
}

int Coordinate(FuzzedDataProvider& in) { return in.ConsumeIntegralInRange<int>(-12, 84); }

Rect SomeRect(FuzzedDataProvider& in) {
    Rect r;
    r.left = Coordinate(in);
    r.top = Coordinate(in);
    r.right = Coordinate(in);
    r.bottom = Coordinate(in);
    return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Skin::ShadowParams params;
    // The cost grows with the parent's outline times the kernel's area: the settings' whole
    // ranges on small parents, smaller kernels on larger ones. Sometimes far outside the
    // ranges (they are clamped).
    int width = in.ConsumeIntegralInRange<int>(-2, 24);
    int height = in.ConsumeIntegralInRange<int>(-2, 24);
    const int reach = width <= 4 && height <= 4 ? 20 : 5;
    auto setting = [&in](int low, int high) {
        return in.ConsumeIntegralInRange<int>(0, 7) != 0 ? in.ConsumeIntegralInRange<int>(low, high)
                                                          : in.ConsumeIntegral<int>();
    };
    params.size = setting(-reach, reach);
    params.sharpness = setting(0, reach);
    params.darkness = setting(0, 255);
    params.offsetX = setting(-20, 20);
    params.offsetY = setting(-20, 20);
    params.color = in.ConsumeIntegral<std::uint32_t>();
    if ((params.size < -reach || params.size > reach || params.sharpness > reach ||
         params.sharpness < 0) && reach < 20) {
        params.size %= reach + 1;  // clamped values on a small kernel
        params.sharpness %= reach + 1;
    }
    switch (in.ConsumeIntegralInRange<int>(0, 63)) {  // now and then sizes that must be refused
        case 61: width = Skin::kMaxShadowSide + 1; break;
        case 62: height = -100000; break;
        case 63: width = 2147483647; break;
        default: break;
    }

    RegionRows region;
    const int steps = in.ConsumeIntegralInRange<int>(0, 8);
    for (int i = 0; i < steps && in.remaining_bytes() > 0; ++i) {
        const Rect r = SomeRect(in);
        switch (in.ConsumeIntegralInRange<int>(0, 3)) {
            case 0: region.AddRect(r); break;
            case 1: region.RemoveRect(r); break;
            case 2: {
                const RegionRows round =
                    Skin::RoundRectRegion(r, Coordinate(in), Coordinate(in));
                CheckRows(round);
                for (int y = 0; y < round.RowCount(); ++y)
                    for (const auto& span : round.Row(y)) region.AddSpan(y, span.start, span.end);
                break;
            }
            default: region.AddSpan(r.top, r.left, r.right); break;
        }
        CheckRows(region);
    }

    const std::vector<Skin::ShadowSpan> spans = Skin::ParentSpans(region, width, height);
    const int rows = height < 0 ? 0 : (height > Skin::kMaxShadowSide ? Skin::kMaxShadowSide : height);
    FUZZ_CHECK(static_cast<int>(spans.size()) == rows);
    for (const auto& s : spans)
        if (!s.IsEmpty()) FUZZ_CHECK(s.start >= 0 && s.end <= width);

    const Skin::ShadowBitmap shadow = Skin::MakeShadow(params, width, height, region);
    const Skin::ShadowBitmap placement = Skin::ShadowPlacement(params, width, height);
    FUZZ_CHECK(shadow.left == placement.left && shadow.top == placement.top);
    FUZZ_CHECK(shadow.width == placement.width && shadow.height == placement.height);
    FUZZ_CHECK(shadow.pixels.size() ==
               static_cast<std::size_t>(shadow.width) * static_cast<std::size_t>(shadow.height));
    for (std::uint32_t p : shadow.pixels) {
        const std::uint32_t a = p >> 24;
        FUZZ_CHECK(((p >> 16) & 0xFF) <= a && ((p >> 8) & 0xFF) <= a && (p & 0xFF) <= a);
    }
    // Where the parent covers, the shadow is clear.
    for (int y = 0; y < static_cast<int>(spans.size()); ++y) {
        if (spans[y].IsEmpty()) continue;
        for (int x = spans[y].start; x < spans[y].end; ++x)
            FUZZ_CHECK(shadow.At(x - shadow.left, y - shadow.top) == 0);
    }
    const Skin::ShadowBitmap fromSpans = Skin::MakeShadow(params, width, height, spans);
    FUZZ_CHECK(fromSpans.pixels == shadow.pixels && fromSpans.width == shadow.width);
    return 0;
}
