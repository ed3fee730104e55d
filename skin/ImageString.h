#pragma once
#include <cstdint>
#include <string>

#include "skin/Geometry.h"

// The image attributes of the skin (bkimage, normalimage, foreimage, ...): either a file name
// alone, "res\mainWnd\bg1.png", or key='value' pairs separated by spaces,
// "file='res\mainWnd\installPrg1.png' corner='2,2,2,2' mask='#FF0000' fade='255'".
namespace Skin {

struct ImageString {
    std::wstring file;          // relative path in the skin package; empty: no image file
    Rect dest;                  // all 0: the whole control
    Rect source;                // all 0: the whole image
    Rect corner;                // nine-part borders l,t,r,b; all 0: drawn as one part
    bool hasMask = false;
    std::uint32_t mask = 0;     // pixels of this 32-bit value (alpha on top) become transparent
    int fade = 255;             // opacity, 0 to 255
    bool hole = false;          // the centre part of a nine-part image is not drawn
    bool xtiled = false;
    bool ytiled = false;
    // Keys the toolkit knows and these skins do not use.
    std::wstring res;           // resource name of an image in the executable
    std::wstring restype;
    bool hasColour = false;
    std::uint32_t colour = 0;   // a solid colour instead of an image
    bool hsl = false;
};

// Reading of an image attribute.
//
// The pairs are read from the left: blanks before a key, around "=" and before the opening
// quote are skipped; a value runs to the next single quote; after the closing quote the next
// character must be a space for the list to go on (a trailing space is fine). Reading stops
// at the first piece that does not fit (a key without "=", a value without quotes, an
// unclosed quote); the pairs read until then stay in effect.
//
// When not a single pair could be read, the whole value is the file name ("res\a.png"). Once
// a pair has been read the value is a list and the file is what its "file" key says (empty
// without one). A later key overrides an earlier one. Unknown keys are ignored.
//
// Key values: file, res, restype as written; dest, source, corner and scale9 (same as corner)
// as rectangles; mask and color as colours (with or without "#"); fade as an integer clamped
// to 0..255; hole, xtiled, ytiled, hsl as booleans (exactly "true").
ImageString ParseImageString(const std::wstring& value);

// Where the image is drawn for a control occupying `control`: the whole control when dest is
// all 0, otherwise from (left + l, top + t) to (min(right, left + r), min(bottom, top + b)).
Rect ImageDestination(const ImageString& image, const Rect& control);

// The part of an image of the given pixel size that is used: the whole image when source is
// all 0, otherwise source clipped to the image (each edge kept within 0..width or 0..height,
// and right/bottom never left of left/top).
Rect ImageSourceRect(const ImageString& image, int imageWidth, int imageHeight);

}  // namespace Skin
