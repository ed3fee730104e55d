#pragma once

// Plain rectangles and sizes of the skin toolkit, in pixels. A rectangle runs from (left, top)
// up to, not including, (right, bottom). The same struct carries the four-number values of the
// markup (padding, insets, text padding, image corners), which are l,t,r,b edge widths.
namespace Skin {

struct Size {
    int cx = 0;
    int cy = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

inline bool operator==(const Size& a, const Size& b) { return a.cx == b.cx && a.cy == b.cy; }
inline bool operator!=(const Size& a, const Size& b) { return !(a == b); }
inline bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }

}  // namespace Skin
