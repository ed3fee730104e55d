// Window documents laid out: the markup read into the layout tree and arranged in a client
// area of the size the first four input bytes give. Checked: no rectangle has a negative size,
// a hidden control's whole subtree is empty, and a child never leaves its parent where the
// document leaves it room to stay inside (no negative paddings or insets, and along the
// layout's direction when the fixed sizes fit).
#include <cstdint>
#include <string>
#include <vector>

#include "skin/LayoutFromMarkup.h"
#include "skin/LayoutMath.h"
#include "skin/Markup.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

using Skin::LayoutKind;
using Skin::LayoutNode;
using Skin::Rect;

// Every character 7 pixels wide, fonts 12 pixels plus their id, wrapped lines 15 apart.
class Measure : public Skin::TextMeasure {
public:
    int CharHeight(int font) const override { return 12 + (font > 0 && font < 100 ? font : 0); }
    Skin::Size LineExtent(const std::wstring& text, int) const override {
        return Skin::Size{static_cast<int>(text.size()) * 7, 15};
    }
    int WrappedHeight(const std::wstring& text, int, int width) const override {
        const long long total = static_cast<long long>(text.size()) * 7;
        if (total == 0) return 0;
        if (width <= 0) return static_cast<int>(text.size()) * 15;
        return static_cast<int>((total + width - 1) / width * 15);
    }
};

bool NonNegative(const Rect& r) { return r.left >= 0 && r.top >= 0 && r.right >= 0 && r.bottom >= 0; }
bool Empty(const Rect& r) { return r.IsZero(); }

void CheckHidden(const LayoutNode& node) {
    std::vector<const LayoutNode*> pending{&node};
    while (!pending.empty()) {
        const LayoutNode* n = pending.back();
        pending.pop_back();
        FUZZ_CHECK(Empty(n->rect));
        for (const LayoutNode& c : n->children) pending.push_back(&c);
    }
}

void CheckChildren(const LayoutNode& parent) {
    const Rect& p = parent.rect;
    const bool insetOk = NonNegative(parent.inset);
    const long long areaLeft = static_cast<long long>(p.left) + parent.inset.left;
    const long long areaTop = static_cast<long long>(p.top) + parent.inset.top;
    const long long areaRight = static_cast<long long>(p.right) - parent.inset.right;
    const long long areaBottom = static_cast<long long>(p.bottom) - parent.inset.bottom;
    const bool vertical = parent.kind == LayoutKind::Vertical;
    long long cursor = vertical ? areaTop : areaLeft;
    bool inOrder = true;  // the order is checked up to the first negative padding
    for (const LayoutNode& c : parent.children) {
        if (!c.visible) {
            CheckHidden(c);
            continue;
        }
        const Rect& r = c.rect;
        FUZZ_CHECK(r.right >= r.left && r.bottom >= r.top);
        if (!NonNegative(c.padding)) inOrder = false;
        if (!insetOk || !inOrder || areaRight < areaLeft || areaBottom < areaTop) continue;
        const bool fitsAcross =
            vertical ? c.padding.left + static_cast<long long>(c.padding.right) <= areaRight - areaLeft
                     : c.padding.top + static_cast<long long>(c.padding.bottom) <= areaBottom - areaTop;
        if (parent.kind == LayoutKind::Tab) {
            if (c.padding.left + static_cast<long long>(c.padding.right) <= areaRight - areaLeft &&
                c.padding.top + static_cast<long long>(c.padding.bottom) <= areaBottom - areaTop)
                FUZZ_CHECK(r.left >= areaLeft && r.right <= areaRight && r.top >= areaTop &&
                           r.bottom <= areaBottom);
            continue;
        }
        if (fitsAcross) {
            if (vertical) FUZZ_CHECK(r.left >= areaLeft && r.right <= areaRight);
            else FUZZ_CHECK(r.top >= areaTop && r.bottom <= areaBottom);
        }
        // Along the direction the children follow one another, none before the area's start
        // and none overlapping the one before.
        const long long begin = vertical ? r.top : r.left;
        const long long end = vertical ? r.bottom : r.right;
        const long long before = vertical ? c.padding.top : c.padding.left;
        const long long after = vertical ? c.padding.bottom : c.padding.right;
        if (cursor + before > 0x7FFFFFFF || end == 0x7FFFFFFF) {
            inOrder = false;  // cut to the range of int
            continue;
        }
        FUZZ_CHECK(begin == cursor + before);
        cursor = end + after;
    }
}

// Whether every visible child's demands along the direction fit in the area: then the last
// child ends inside the parent too.
void CheckFit(const LayoutNode& parent) {
    if (parent.kind != LayoutKind::Vertical && parent.kind != LayoutKind::Horizontal) return;
    const bool vertical = parent.kind == LayoutKind::Vertical;
    const Rect& p = parent.rect;
    if (!NonNegative(parent.inset)) return;
    const long long areaEnd = vertical ? static_cast<long long>(p.bottom) - parent.inset.bottom
                                       : static_cast<long long>(p.right) - parent.inset.right;
    long long end = vertical ? static_cast<long long>(p.top) + parent.inset.top
                             : static_cast<long long>(p.left) + parent.inset.left;
    long long demand = end;
    for (const LayoutNode& c : parent.children) {
        if (!c.visible) continue;
        if (!NonNegative(c.padding)) return;
        // Fixed sizes and minimums: a child that takes a share takes at least its minimum.
        const int fixed = vertical ? c.fixedHeight : c.fixedWidth;
        const int minimum = vertical ? c.minHeight : c.minWidth;
        if (fixed < 0 || minimum < 0 || c.sizeRule != Skin::SizeRule::Fixed) return;
        if (fixed == 0 && minimum > 0) return;  // a share raised to its minimum may overflow
        demand += static_cast<long long>(vertical ? c.padding.top + 0LL + c.padding.bottom
                                                  : c.padding.left + 0LL + c.padding.right) +
                  (fixed > minimum ? fixed : minimum);
        end = (vertical ? c.rect.bottom : c.rect.right) +
              static_cast<long long>(vertical ? c.padding.bottom : c.padding.right);
    }
    if (demand <= areaEnd) FUZZ_CHECK(end <= areaEnd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const int width = (data[0] << 8 | data[1]) % 2000;
    const int height = (data[2] << 8 | data[3]) % 2000;
    const Skin::MarkupParseResult markup =
        Skin::ParseMarkup(reinterpret_cast<const char*>(data + 4), size - 4);
    if (!markup.ok) return 0;
    Skin::LayoutTree tree = Skin::BuildLayoutTree(markup.root);
    if (!tree.hasRoot) return 0;
    const Measure measure;
    Skin::ArrangeWindow(tree.root, width, height, &measure);
    FUZZ_CHECK(tree.root.rect == (Rect{0, 0, width, height}));

    std::vector<const LayoutNode*> pending{&tree.root};
    while (!pending.empty()) {
        const LayoutNode* n = pending.back();
        pending.pop_back();
        if (!n->visible && n != &tree.root) continue;  // checked as a hidden subtree
        CheckChildren(*n);
        CheckFit(*n);
        if (n->kind == LayoutKind::Control) continue;
        for (const LayoutNode& c : n->children) pending.push_back(&c);
    }
    return 0;
}
