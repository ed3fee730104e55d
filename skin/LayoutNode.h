#pragma once
#include <limits>
#include <string>
#include <vector>

#include "skin/Geometry.h"

// What the layout rules need to know of a control, without any window behind it: its size
// attributes, visibility, text (for the controls that size themselves by their text) and
// children; and the rectangle the layout gives it.
namespace Skin {

enum class LayoutKind {
    Control,     // no children are laid out
    Vertical,    // children top to bottom
    Horizontal,  // children left to right
    Tab,         // the visible child (the current page) fills the layout
};

// How a control estimates its own size (LayoutMath.h has the rules).
enum class SizeRule {
    Fixed,   // plain controls and containers: fixed width and height
    Text,    // labels, progress bars, sequence labels: from their text when not fixed
    Button,  // buttons, check boxes, edits, sequence buttons: font height when no fixed height
};

constexpr int kNoSizeLimit = std::numeric_limits<int>::max();

struct LayoutNode {
    LayoutKind kind = LayoutKind::Control;
    SizeRule sizeRule = SizeRule::Fixed;
    std::wstring element;      // element name as written, for diagnostics
    std::wstring name;         // the control's name attribute

    int fixedWidth = 0;        // 0: the parent layout assigns the size
    int fixedHeight = 0;
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = kNoSizeLimit;
    int maxHeight = kNoSizeLimit;
    Rect padding;              // outer margins kept by the parent layout
    Rect inset;                // inner margins of a container
    bool visible = true;

    std::wstring text;         // for SizeRule::Text and SizeRule::Button
    int font = -1;             // font id; -1: the window's default font
    Rect textPadding;
    bool multiline = false;

    int currentPage = -1;      // LayoutKind::Tab: index of the page shown, -1 for none

    std::vector<LayoutNode> children;

    Rect rect;                 // result of the layout; empty for hidden controls
};

// The first node in depth-first document order (the node itself first) whose name is `name`;
// null when there is none or the name is empty. No recursion.
const LayoutNode* FindLayoutNode(const LayoutNode& root, const std::wstring& name);
LayoutNode* FindLayoutNode(LayoutNode& root, const std::wstring& name);

}  // namespace Skin
