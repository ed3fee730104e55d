#include "skin/LayoutFromMarkup.h"

#include "skin/TabPages.h"
#include "skin/ValueSyntax.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>

namespace Skin {

namespace {

bool IsContainer(LayoutKind kind) { return kind != LayoutKind::Control; }

int Difference(int high, int low) {
    const std::int64_t d = std::int64_t{high} - low;
    if (d > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (d < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(d);
}

// Creates the control of `element`; false when the element is not a control.
bool BuildNode(const MarkupElement& element, std::size_t depth, LayoutNode& node) {
    LayoutKind kind;
    SizeRule rule;
    if (depth > kMaxMarkupDepth || !ControlLayoutFor(element.name, kind, rule)) return false;
    node.kind = kind;
    node.sizeRule = rule;
    node.element = element.name;
    if (IsContainer(kind)) {
        for (const MarkupElement& childElement : element.children) {
            LayoutNode child;
            if (BuildNode(childElement, depth + 1, child)) {
                node.children.push_back(std::move(child));
            }
        }
    }
    for (const MarkupAttribute& a : element.attributes) ApplyLayoutAttribute(node, a.name, a.value);
    if (kind == LayoutKind::Tab) InitTabPages(node);
    return true;
}

}  // namespace

bool ControlLayoutFor(const std::wstring& elementName, LayoutKind& kind, SizeRule& rule) {
    static const struct {
        const wchar_t* name;
        LayoutKind kind;
        SizeRule rule;
    } kControls[] = {
        {L"VerticalLayout", LayoutKind::Vertical, SizeRule::Fixed},
        {L"HorizontalLayout", LayoutKind::Horizontal, SizeRule::Fixed},
        {L"TabLayout", LayoutKind::Tab, SizeRule::Fixed},
        {L"Control", LayoutKind::Control, SizeRule::Fixed},
        {L"Label", LayoutKind::Control, SizeRule::Text},
        {L"Progress", LayoutKind::Control, SizeRule::Text},
        {L"SequenceLabel", LayoutKind::Control, SizeRule::Text},
        {L"Button", LayoutKind::Control, SizeRule::Button},
        {L"CheckBox", LayoutKind::Control, SizeRule::Button},
        {L"Edit", LayoutKind::Control, SizeRule::Button},
        {L"SequenceButton", LayoutKind::Control, SizeRule::Button},
        {L"Combo", LayoutKind::Control, SizeRule::Button},
        {L"ListLabelElement", LayoutKind::Control, SizeRule::Text},
    };
    for (const auto& c : kControls) {
        if (SameNameIgnoringCase(elementName, c.name)) {
            kind = c.kind;
            rule = c.rule;
            return true;
        }
    }
    return false;
}

bool ApplyLayoutAttribute(LayoutNode& node, const std::wstring& name, const std::wstring& value) {
    if (name == L"name") {
        node.name = value;
    } else if (name == L"text") {
        node.text = value;
    } else if (name == L"font") {
        node.font = ParseInteger(value);
    } else if (name == L"textpadding") {
        node.textPadding = ParseRect(value);
    } else if (name == L"multiline") {
        node.multiline = ParseBoolean(value);
    } else if (name == L"width") {
        node.fixedWidth = ParseInteger(value);
    } else if (name == L"height") {
        node.fixedHeight = ParseInteger(value);
    } else if (name == L"pos") {
        const Rect r = ParseRect(value);
        node.fixedWidth = Difference(r.right, r.left);
        node.fixedHeight = Difference(r.bottom, r.top);
    } else if (name == L"padding") {
        node.padding = ParseRect(value);
    } else if (name == L"visible") {
        node.visible = ParseBoolean(value);
    } else if (name == L"inset") {
        node.inset = ParseRect(value);
    } else if (name == L"minwidth") {
        node.minWidth = ParseInteger(value);
    } else if (name == L"minheight") {
        node.minHeight = ParseInteger(value);
    } else if (name == L"maxwidth") {
        node.maxWidth = ParseInteger(value);
    } else if (name == L"maxheight") {
        node.maxHeight = ParseInteger(value);
    } else {
        return false;
    }
    return true;
}

LayoutTree BuildLayoutTree(const MarkupElement& documentRoot) {
    LayoutTree tree;
    for (const MarkupElement& element : documentRoot.children) {
        LayoutNode node;
        if (BuildNode(element, 2, node) && !tree.hasRoot) {
            tree.hasRoot = true;
            tree.root = std::move(node);
        }
    }
    return tree;
}

}  // namespace Skin
