#include "skin/LayoutMath.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Skin {

namespace {

using Wide = std::int64_t;  // sums of sizes and paddings may leave the range of int

int Fit(Wide v) {
    return static_cast<int>(
        std::clamp<Wide>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// Minimum first, then maximum (so a maximum below the minimum wins), never below 0.
Wide Clamp(Wide v, int minimum, int maximum) {
    if (v < minimum) v = minimum;
    if (v > maximum) v = maximum;
    return std::max<Wide>(v, 0);
}

int CharHeight(const TextMeasure* measure, int font) {
    return measure ? measure->CharHeight(font) : 0;
}

// A rectangle with each side moved inwards by the edge widths.
struct Area {
    Wide left, top, right, bottom;
};

Area Deflate(const Rect& r, const Rect& by) {
    return Area{Wide{r.left} + by.left, Wide{r.top} + by.top, Wide{r.right} - by.right,
                Wide{r.bottom} - by.bottom};
}

Rect ToRect(Wide left, Wide top, Wide right, Wide bottom) {
    return Rect{Fit(left), Fit(top), Fit(right), Fit(bottom)};
}

void ClearSubtree(LayoutNode& node, std::vector<LayoutNode*>& scratch) {
    scratch.assign(1, &node);
    while (!scratch.empty()) {
        LayoutNode* n = scratch.back();
        scratch.pop_back();
        n->rect = Rect{};
        for (LayoutNode& child : n->children) scratch.push_back(&child);
    }
}

void ArrangeLinear(LayoutNode& node, bool vertical, const TextMeasure* measure,
                   std::vector<LayoutNode*>& next, std::vector<LayoutNode*>& scratch) {
    const Area area = Deflate(node.rect, node.inset);
    const Wide availAlong = vertical ? area.bottom - area.top : area.right - area.left;
    const Wide availAcross = vertical ? area.right - area.left : area.bottom - area.top;
    // Along a horizontal layout a child's width is what the layout decides; a wrapped text
    // that took the whole row's width would push past the row's end (and lose its words at
    // the window's edge), so there it asks for a share of what the others leave.
    const Size available{vertical ? Fit(std::max<Wide>(area.right - area.left, 0)) : 0,
                         Fit(std::max<Wide>(area.bottom - area.top, 0))};

    auto padBefore = [vertical](const LayoutNode& c) {
        return vertical ? c.padding.top : c.padding.left;
    };
    auto padAfter = [vertical](const LayoutNode& c) {
        return vertical ? c.padding.bottom : c.padding.right;
    };
    auto padStart = [vertical](const LayoutNode& c) {
        return vertical ? c.padding.left : c.padding.top;
    };
    auto padEnd = [vertical](const LayoutNode& c) {
        return vertical ? c.padding.right : c.padding.bottom;
    };
    auto minAlong = [vertical](const LayoutNode& c) { return vertical ? c.minHeight : c.minWidth; };
    auto maxAlong = [vertical](const LayoutNode& c) { return vertical ? c.maxHeight : c.maxWidth; };

    // Sizes along the layout's direction; -1 marks a child that takes a share.
    std::vector<Wide> along(node.children.size(), 0);
    Wide taken = 0;
    std::size_t sharers = 0;
    for (std::size_t i = 0; i < node.children.size(); ++i) {
        LayoutNode& child = node.children[i];
        if (!child.visible) continue;
        const Size estimate = EstimateSize(child, available, measure);
        const int wanted = vertical ? estimate.cy : estimate.cx;
        if (wanted != 0) {
            along[i] = Clamp(wanted, minAlong(child), maxAlong(child));
            taken += along[i];
        } else {
            along[i] = -1;
            ++sharers;
        }
        taken += Wide{padBefore(child)} + padAfter(child);
    }
    if (sharers > 0) {
        const Wide rest = availAlong - taken;
        const Wide share = std::max<Wide>(rest / static_cast<Wide>(sharers), 0);
        const Wide last = std::max<Wide>(rest - share * static_cast<Wide>(sharers - 1), 0);
        std::size_t seen = 0;
        for (std::size_t i = 0; i < node.children.size(); ++i) {
            if (!node.children[i].visible || along[i] != -1) continue;
            ++seen;
            const Wide size = seen == sharers ? last : share;
            along[i] = Clamp(size, minAlong(node.children[i]), maxAlong(node.children[i]));
        }
    }

    Wide cursor = vertical ? area.top : area.left;
    const Wide acrossStart = vertical ? area.left : area.top;
    for (std::size_t i = 0; i < node.children.size(); ++i) {
        LayoutNode& child = node.children[i];
        if (!child.visible) {
            ClearSubtree(child, scratch);
            continue;
        }
        cursor += padBefore(child);
        const Wide begin = cursor;
        const Wide end = cursor + along[i];
        cursor = end + padAfter(child);

        const Wide room = std::max<Wide>(availAcross - padStart(child) - padEnd(child), 0);
        const int fixedAcross = vertical ? child.fixedWidth : child.fixedHeight;
        const Wide across = fixedAcross != 0 ? std::clamp<Wide>(fixedAcross, 0, room) : room;
        const Wide from = acrossStart + padStart(child);
        child.rect = vertical ? ToRect(from, begin, from + across, end)
                              : ToRect(begin, from, end, from + across);
        next.push_back(&child);
    }
}

void ArrangeTab(LayoutNode& node, std::vector<LayoutNode*>& next,
                std::vector<LayoutNode*>& scratch) {
    const Area area = Deflate(node.rect, node.inset);
    for (LayoutNode& child : node.children) {
        if (!child.visible) {
            ClearSubtree(child, scratch);
            continue;
        }
        const Wide left = area.left + child.padding.left;
        const Wide top = area.top + child.padding.top;
        const Wide right = std::max(area.right - child.padding.right, left);
        const Wide bottom = std::max(area.bottom - child.padding.bottom, top);
        child.rect = ToRect(left, top, right, bottom);
        next.push_back(&child);
    }
}

}  // namespace

Size EstimateSize(const LayoutNode& node, Size available, const TextMeasure* measure) {
    const int fw = node.fixedWidth, fh = node.fixedHeight;
    switch (node.sizeRule) {
        case SizeRule::Fixed:
            return Size{fw, fh};
        case SizeRule::Button:
            if (fh != 0) return Size{fw, fh};
            return Size{fw, Fit(Wide{CharHeight(measure, node.font)} + 8)};
        case SizeRule::Text: {
            if (fw != 0 && fh != 0) return Size{fw, fh};
            const Rect& tp = node.textPadding;
            if (!node.multiline) {
                Wide w = fw;
                if (w == 0) {
                    const Wide line = measure ? measure->LineExtent(node.text, node.font).cx : 0;
                    w = line + tp.left + tp.right;
                }
                Wide h = fh;
                if (h == 0) h = Wide{CharHeight(measure, node.font)} + tp.top + tp.bottom + 8;
                return Size{Fit(w), Fit(h)};
            }
            const Wide w = fw != 0 ? fw : std::max(available.cx, 0);
            const Wide wrapWidth = std::max<Wide>(w - tp.left - tp.right, 0);
            const Wide text =
                measure ? measure->WrappedHeight(node.text, node.font, Fit(wrapWidth)) : 0;
            return Size{Fit(w), Fit(text + tp.top + tp.bottom)};
        }
    }
    return Size{fw, fh};
}

void Arrange(LayoutNode& node, const Rect& rect, const TextMeasure* measure) {
    node.rect = rect;
    std::vector<LayoutNode*> pending{&node};
    std::vector<LayoutNode*> scratch;
    while (!pending.empty()) {
        LayoutNode* n = pending.back();
        pending.pop_back();
        switch (n->kind) {
            case LayoutKind::Vertical:
                ArrangeLinear(*n, true, measure, pending, scratch);
                break;
            case LayoutKind::Horizontal:
                ArrangeLinear(*n, false, measure, pending, scratch);
                break;
            case LayoutKind::Tab:
                ArrangeTab(*n, pending, scratch);
                break;
            case LayoutKind::Control:
                break;
        }
    }
}

void ArrangeWindow(LayoutNode& root, int clientWidth, int clientHeight,
                   const TextMeasure* measure) {
    Arrange(root, Rect{0, 0, std::max(clientWidth, 0), std::max(clientHeight, 0)}, measure);
}

}  // namespace Skin
