#pragma once
#include <string>

#include "skin/Geometry.h"
#include "skin/LayoutNode.h"

// The layout rules of the containers: how much room each child of a vertical, horizontal or
// tab layout gets.
namespace Skin {

// Text measurement, supplied by the renderer. Without one (null) every text measures 0 by 0
// and every font is 0 pixels high.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    // Character height of the font (the window's default font for an id not in its table).
    virtual int CharHeight(int font) const = 0;
    // Drawn size of the text on one line.
    virtual Size LineExtent(const std::wstring& text, int font) const = 0;
    // Height of the text wrapped at word boundaries to the given width.
    virtual int WrappedHeight(const std::wstring& text, int font, int width) const = 0;
};

// The size a control asks its parent layout for; 0 in a direction means "assign me a share".
//  - Fixed: (fixed width, fixed height).
//  - Text: with both fixed sizes set, those. Otherwise, on one line: width = fixed width or
//    else the line's drawn width plus left and right text padding; height = fixed height or
//    else the character height plus top and bottom text padding plus 8. Multi-line: width =
//    fixed width or else the available width; height = the text wrapped to that width less the
//    left and right text padding, plus top and bottom text padding.
//  - Button: with a fixed height, (fixed width, fixed height); without, (fixed width,
//    character height plus 8).
// Negative parts of `available` count as 0.
Size EstimateSize(const LayoutNode& node, Size available, const TextMeasure* measure);

// Gives `node` the rectangle `rect` and lays out everything inside it.
//
// Vertical layout (a horizontal one is the same with the directions exchanged):
//  1. The area is the rectangle less the insets; hidden children take no room and get an
//     empty rectangle (their whole subtree does).
//  2. A child whose estimated height is not 0 gets that height, clamped to its minimum and
//     maximum height. These heights and the top and bottom padding of every visible child are
//     taken from the area's height.
//  3. The rest is split equally (integer division, never below 0) among the children whose
//     estimated height is 0; the last of them takes what remains instead (never below 0);
//     each is clamped to its minimum and maximum height.
//  4. Children stand one below another from the top, each with its top padding above and its
//     bottom padding below, so they may run past the bottom when the fixed heights do.
//  5. Across, a child with a fixed width gets it, but never more than the area's width less its
//     left and right padding; one without gets that width. It starts at the area's left edge
//     plus its left padding.
// Tab layout: every visible child (normally just the current page) gets the area less its own
// padding.
// No size ends up below 0. Minimum and maximum apply along the layout's direction only.
// Coordinates beyond the range of int are cut to it. Works without recursion.
void Arrange(LayoutNode& node, const Rect& rect, const TextMeasure* measure = nullptr);

// The root control of a window always fills the client area, whatever its own width, height,
// padding or visibility say.
void ArrangeWindow(LayoutNode& root, int clientWidth, int clientHeight,
                   const TextMeasure* measure = nullptr);

}  // namespace Skin
