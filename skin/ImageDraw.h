#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/Geometry.h"
#include "skin/ImageDecode.h"
#include "skin/ImageString.h"

// How an image attribute becomes pixels: the list of copies from the decoded bitmap to the
// canvas that its image string asks for, and a software compositor that carries them out.
// The window renderer hands the same list to AlphaBlend; the compositor here serves tests,
// fuzzing and screenshot comparisons, and paints the same way.
namespace Skin {

// One copy: `source` in the bitmap is scaled to `dest` on the canvas and blended over it with
// the constant opacity `alpha` (from the image string's fade) on top of the per-pixel alpha.
struct BlitOp {
    Rect source;
    Rect dest;
    std::uint8_t alpha = 255;
};

inline bool operator==(const BlitOp& a, const BlitOp& b) {
    return a.source == b.source && a.dest == b.dest && a.alpha == b.alpha;
}
inline bool operator!=(const BlitOp& a, const BlitOp& b) { return !(a == b); }

// A plan never holds more copies than this; tiles beyond it are left out (only a tiny tile
// repeated over a huge area gets there).
constexpr std::size_t kMaxBlitOps = std::size_t{1} << 18;

// The copies for drawing `image`, decoded at `bitmapSize`, on a control occupying `control`.
//
// - The destination is ImageDestination (the whole control when dest is all 0), the part of
//   the bitmap used is ImageSourceRect. An empty or inverted rectangle on either side, an
//   empty bitmap or fade 0 gives no copies.
// - Without corners the source is stretched over the destination in one copy.
// - With corners (l,t,r,b borders of the source) the image is cut into nine parts. Corners
//   keep their size, the top and bottom edges stretch horizontally, the left and right edges
//   vertically, and the centre both ways; hole leaves the centre out. Parts of zero size are
//   left out. Negative borders count as 0. Borders wider than the source together are cut
//   down in proportion to fit it. When the borders leave no middle in the source, or would
//   not fit in the destination, the destination is shared out among them in proportion
//   instead (there is no middle then, and no gap either).
// - xtiled repeats the horizontally stretched parts (the centre and the top and bottom edges,
//   or the whole image without corners) at their natural width instead, from the left, the
//   last one cut off at the destination's edge; ytiled does the same vertically.
// Copies are listed row by row from the top left, tiles likewise.
std::vector<BlitOp> PlanImageBlits(const ImageString& image, const Rect& control,
                                   const Size& bitmapSize);

// The same, keeping only the copies whose destination meets `clip` (the area being painted).
// Copies are never cut by the clip, they are kept or left out whole.
std::vector<BlitOp> PlanImageBlits(const ImageString& image, const Rect& control,
                                   const Size& bitmapSize, const Rect& clip);

// Pre-multiplied "source over" of one pixel with a constant opacity, as AlphaBlend does with
// per-pixel alpha: the source scaled by alpha/255, plus the canvas scaled by what the scaled
// source leaves uncovered. Every division by 255 rounds to nearest; a fully opaque result is
// exactly the source.
std::uint32_t BlendPixel(std::uint32_t canvas, std::uint32_t source, std::uint8_t alpha);

// Carries out the copies on `canvas` with nearest-neighbour scaling (the source pixel under
// the centre of each canvas pixel), clipped to the canvas. A copy whose source is empty or
// reaches outside the bitmap, or whose destination is empty, is skipped. Returns how many
// copies were carried out (0 as well when the canvas or the bitmap is not Valid()).
std::size_t Composite(Bitmap& canvas, const std::vector<BlitOp>& ops, const Bitmap& bitmap);

}  // namespace Skin
