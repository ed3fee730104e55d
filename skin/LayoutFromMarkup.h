#pragma once
#include <string>

#include "skin/LayoutNode.h"
#include "skin/Markup.h"

// The layout side of building a window's control tree from its document: which elements are
// controls, what their size attributes say, and which control is the root.
namespace Skin {

// The kind and size rule of a control element (names compared ignoring case): VerticalLayout,
// HorizontalLayout, TabLayout, Control, Label, Button, CheckBox, Edit, Progress, Combo (whose
// items, ListLabelElement, are not laid out), and the animation controls SequenceLabel and
// SequenceButton that the main window creates. False for every other name: such an element is
// not a control.
bool ControlLayoutFor(const std::wstring& elementName, LayoutKind& kind, SizeRule& rule);

// Applies one attribute of a control element, as written, over what earlier ones set:
// name, text, font, textpadding, multiline, width, height, pos (fixed width r - l, fixed height
// b - t), padding, visible, inset, minwidth, minheight, maxwidth, maxheight. Every other
// attribute changes nothing here, and the answer is false for it.
bool ApplyLayoutAttribute(LayoutNode& node, const std::wstring& name, const std::wstring& value);

struct LayoutTree {
    bool hasRoot = false;
    LayoutNode root;
};

// Builds the layout tree of a document's root element (normally Window): the children of the
// root element are created in document order; Font and other non-control elements are passed
// over, as is every element that is not a control together with everything inside it; children
// of a control that is no container are dropped; attributes are applied in document order; a
// tab layout starts on its first visible page. The first control at the top level becomes the
// root (any further ones are dropped). Elements deeper than kMaxMarkupDepth are dropped.
LayoutTree BuildLayoutTree(const MarkupElement& documentRoot);

}  // namespace Skin
