#include "skin/LayoutMath.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "tests/skin/LayoutTestHelpers.h"

namespace {

using Skin::Arrange;
using Skin::ArrangeWindow;
using Skin::LayoutKind;
using Skin::LayoutNode;
using Skin::Rect;
using Skin::Size;
using Skin::SizeRule;
using SkinTest::FakeMeasure;
using SkinTest::Node;
using SkinTest::Spacer;

std::vector<Rect> ChildRects(const LayoutNode& n) {
    std::vector<Rect> rects;
    for (const LayoutNode& c : n.children) rects.push_back(c.rect);
    return rects;
}

TEST(VerticalLayout, FixedHeightsThenEqualShares) {
    LayoutNode v = Node(LayoutKind::Vertical);
    v.children = {Spacer(0, 10), Spacer(), Spacer(), Spacer()};
    Arrange(v, Rect{0, 0, 50, 101});
    // 91 left: 30 each, the last takes the remainder
    EXPECT_EQ(ChildRects(v), (std::vector<Rect>{{0, 0, 50, 10},
                                                {0, 10, 50, 40},
                                                {0, 40, 50, 70},
                                                {0, 70, 50, 101}}));
}

TEST(VerticalLayout, HiddenChildrenTakeNoRoom) {
    LayoutNode v = Node(LayoutKind::Vertical);
    LayoutNode hidden = Spacer(0, 30);
    hidden.visible = false;
    hidden.padding = Rect{0, 5, 0, 5};
    LayoutNode hiddenFlexible = Node(LayoutKind::Vertical);
    hiddenFlexible.visible = false;
    hiddenFlexible.children = {Spacer(0, 4)};
    hiddenFlexible.rect = Rect{1, 2, 3, 4};
    hiddenFlexible.children[0].rect = Rect{1, 2, 3, 4};
    v.children = {Spacer(0, 10), hidden, Spacer(), hiddenFlexible};
    Arrange(v, Rect{0, 0, 20, 100});
    EXPECT_EQ(v.children[0].rect, (Rect{0, 0, 20, 10}));
    EXPECT_EQ(v.children[1].rect, (Rect{}));
    EXPECT_EQ(v.children[2].rect, (Rect{0, 10, 20, 100}));
    EXPECT_EQ(v.children[3].rect, (Rect{}));
    EXPECT_EQ(v.children[3].children[0].rect, (Rect{}));
}

TEST(VerticalLayout, PaddingIsKeptAroundChildren) {
    LayoutNode v = Node(LayoutKind::Vertical);
    LayoutNode a = Spacer(0, 10);
    a.padding = Rect{3, 2, 4, 5};
    LayoutNode b = Spacer();
    b.padding = Rect{1, 1, 1, 1};
    v.children = {a, b};
    Arrange(v, Rect{10, 20, 60, 120});
    // a: 2 above, 10 high, 5 below; b shares 100 - 17 - 2 = 81
    EXPECT_EQ(v.children[0].rect, (Rect{13, 22, 56, 32}));
    EXPECT_EQ(v.children[1].rect, (Rect{11, 38, 59, 119}));
}

TEST(VerticalLayout, InsetShrinksTheArea) {
    LayoutNode v = Node(LayoutKind::Vertical);
    v.inset = Rect{5, 6, 7, 8};
    v.children = {Spacer()};
    Arrange(v, Rect{0, 0, 100, 100});
    EXPECT_EQ(v.children[0].rect, (Rect{5, 6, 93, 92}));
}

TEST(VerticalLayout, AcrossTheFixedWidthIsCutToTheRoom) {
    LayoutNode v = Node(LayoutKind::Vertical);
    LayoutNode wide = Spacer(500, 10);
    wide.padding = Rect{10, 0, 10, 0};
    LayoutNode narrow = Spacer(30, 10);
    narrow.padding = Rect{10, 0, 0, 0};
    LayoutNode free = Spacer(0, 10);
    free.padding = Rect{10, 0, 20, 0};
    LayoutNode negative = Spacer(-5, 10);
    v.children = {wide, narrow, free, negative};
    Arrange(v, Rect{0, 0, 100, 100});
    EXPECT_EQ(v.children[0].rect, (Rect{10, 0, 90, 10}));
    EXPECT_EQ(v.children[1].rect, (Rect{10, 10, 40, 20}));
    EXPECT_EQ(v.children[2].rect, (Rect{10, 20, 80, 30}));
    EXPECT_EQ(v.children[3].rect, (Rect{0, 30, 0, 40}));
}

TEST(VerticalLayout, OverfullLayoutGivesSharersNothing) {
    LayoutNode v = Node(LayoutKind::Vertical);
    v.children = {Spacer(0, 80), Spacer(), Spacer(0, 40), Spacer()};
    Arrange(v, Rect{0, 0, 10, 100});
    EXPECT_EQ(ChildRects(v), (std::vector<Rect>{{0, 0, 10, 80},
                                                {0, 80, 10, 80},
                                                {0, 80, 10, 120},
                                                {0, 120, 10, 120}}));
}

TEST(VerticalLayout, PaddingAloneCanOverfill) {
    LayoutNode v = Node(LayoutKind::Vertical);
    LayoutNode a = Spacer();
    a.padding = Rect{0, 30, 0, 30};
    LayoutNode b = Spacer();
    v.children = {a, b};
    Arrange(v, Rect{0, 0, 10, 50});
    EXPECT_EQ(v.children[0].rect, (Rect{0, 30, 10, 30}));
    EXPECT_EQ(v.children[1].rect, (Rect{0, 60, 10, 60}));
}

TEST(VerticalLayout, MinimumAndMaximumHeights) {
    LayoutNode v = Node(LayoutKind::Vertical);
    LayoutNode capped = Spacer(0, 50);
    capped.maxHeight = 20;
    LayoutNode raised = Spacer(0, 5);
    raised.minHeight = 15;
    LayoutNode flexCapped = Spacer();
    flexCapped.maxHeight = 10;
    LayoutNode flexRaised = Spacer();
    flexRaised.minHeight = 70;
    v.children = {capped, raised, flexCapped, flexRaised};
    Arrange(v, Rect{0, 0, 10, 100});
    // 100 - 20 - 15 = 65 shared: 32 and 33, then clamped to 10 and 70. No second round.
    EXPECT_EQ(v.children[0].rect.Height(), 20);
    EXPECT_EQ(v.children[1].rect.Height(), 15);
    EXPECT_EQ(v.children[2].rect.Height(), 10);
    EXPECT_EQ(v.children[3].rect.Height(), 70);
    EXPECT_EQ(v.children[3].rect.bottom, 115);
}

TEST(VerticalLayout, MaximumBelowMinimumWinsAndNothingIsNegative) {
    LayoutNode v = Node(LayoutKind::Vertical);
    LayoutNode odd = Spacer(0, 40);
    odd.minHeight = 30;
    odd.maxHeight = 10;
    LayoutNode negative = Spacer(0, -20);  // e.g. pos="0,20,0,0"
    LayoutNode reallyNegative = Spacer(0, -20);
    reallyNegative.minHeight = -50;
    v.children = {odd, negative, reallyNegative};
    Arrange(v, Rect{0, 0, 10, 100});
    EXPECT_EQ(v.children[0].rect.Height(), 10);
    EXPECT_EQ(v.children[1].rect.Height(), 0);
    EXPECT_EQ(v.children[2].rect.Height(), 0);
}

TEST(VerticalLayout, SpacerWithOnlyAWidthTakesAShare) {
    // The network tip's spacer below its text row.
    LayoutNode v = Node(LayoutKind::Vertical);
    v.children = {Spacer(0, 30), Spacer(0, 40), Spacer(30, 0), Spacer(0, 30), Spacer(0, 20)};
    Arrange(v, Rect{1, 30, 359, 180});
    EXPECT_EQ(v.children[2].rect, (Rect{1, 100, 31, 130}));
    EXPECT_EQ(v.children[4].rect, (Rect{1, 160, 359, 180}));
}

TEST(HorizontalLayout, IsTheVerticalRuleTurned) {
    LayoutNode h = Node(LayoutKind::Horizontal);
    LayoutNode padded = Spacer(20, 0);
    padded.padding = Rect{2, 3, 4, 5};
    LayoutNode tall = Spacer(10, 500);
    h.children = {Spacer(), padded, Spacer(), tall};
    Arrange(h, Rect{0, 0, 101, 40});
    // 101 - 20 - 6 - 10 = 65: 32 and 33
    EXPECT_EQ(h.children[0].rect, (Rect{0, 0, 32, 40}));
    EXPECT_EQ(h.children[1].rect, (Rect{34, 3, 54, 35}));
    EXPECT_EQ(h.children[2].rect, (Rect{58, 0, 91, 40}));
    EXPECT_EQ(h.children[3].rect, (Rect{91, 0, 101, 40}));
}

TEST(HorizontalLayout, MinimumAndMaximumWidths) {
    LayoutNode h = Node(LayoutKind::Horizontal);
    LayoutNode a = Spacer();
    a.maxWidth = 10;
    LayoutNode b = Spacer(5, 0);
    b.minWidth = 25;
    h.children = {a, b, Spacer()};
    Arrange(h, Rect{0, 0, 100, 10});
    EXPECT_EQ(h.children[0].rect.Width(), 10);
    EXPECT_EQ(h.children[1].rect.Width(), 25);
    EXPECT_EQ(h.children[2].rect, (Rect{35, 0, 73, 10}));  // 75 / 2 = 37, the last 38
}

TEST(TabLayoutArrange, VisiblePageFillsTheArea) {
    LayoutNode tab = Node(LayoutKind::Tab, 200, 0);
    tab.inset = Rect{1, 1, 1, 1};
    LayoutNode page0 = Node(LayoutKind::Vertical);
    page0.visible = false;
    page0.children = {Spacer(0, 10)};
    LayoutNode page1 = Node(LayoutKind::Vertical);
    page1.padding = Rect{2, 2, 2, 2};
    page1.children = {Spacer(0, 10), Spacer()};
    tab.children = {page0, page1};
    Arrange(tab, Rect{10, 0, 210, 45});
    EXPECT_EQ(tab.children[0].rect, (Rect{}));
    EXPECT_EQ(tab.children[0].children[0].rect, (Rect{}));
    EXPECT_EQ(tab.children[1].rect, (Rect{13, 3, 207, 42}));
    EXPECT_EQ(tab.children[1].children[1].rect, (Rect{13, 13, 207, 42}));
}

TEST(TabLayoutArrange, PaddingLargerThanTheAreaGivesAnEmptyPage) {
    LayoutNode tab = Node(LayoutKind::Tab);
    LayoutNode page = Node(LayoutKind::Vertical);
    page.padding = Rect{30, 30, 30, 30};
    tab.children = {page};
    Arrange(tab, Rect{0, 0, 40, 40});
    EXPECT_EQ(tab.children[0].rect, (Rect{30, 30, 30, 30}));
}

TEST(WindowRoot, FillsTheClientAreaWhateverItsSize) {
    LayoutNode root = Node(LayoutKind::Vertical, 480, 100);
    root.padding = Rect{5, 5, 5, 5};
    root.children = {Spacer(0, 45), Spacer()};
    ArrangeWindow(root, 600, 400);
    EXPECT_EQ(root.rect, (Rect{0, 0, 600, 400}));
    EXPECT_EQ(root.children[1].rect, (Rect{0, 45, 600, 400}));
    root.visible = false;
    ArrangeWindow(root, 360, 180);
    EXPECT_EQ(root.rect, (Rect{0, 0, 360, 180}));
    ArrangeWindow(root, -1, -1);
    EXPECT_EQ(root.rect, (Rect{}));
}

TEST(PlainControl, ChildrenAreNotLaidOut) {
    LayoutNode c = Spacer();
    c.children = {Spacer(5, 5)};
    Arrange(c, Rect{0, 0, 10, 10});
    EXPECT_EQ(c.children[0].rect, (Rect{}));
}

LayoutNode Text(const std::wstring& text, int width = 0, int height = 0) {
    LayoutNode n = Spacer(width, height);
    n.sizeRule = SizeRule::Text;
    n.text = text;
    return n;
}

LayoutNode ButtonNode(int width = 0, int height = 0) {
    LayoutNode n = Spacer(width, height);
    n.sizeRule = SizeRule::Button;
    return n;
}

TEST(Estimate, FixedRuleIsTheFixedSize) {
    const FakeMeasure m;
    EXPECT_EQ(Skin::EstimateSize(Spacer(3, 4), Size{100, 100}, &m), (Size{3, 4}));
    EXPECT_EQ(Skin::EstimateSize(Node(LayoutKind::Vertical), Size{100, 100}, &m), (Size{0, 0}));
}

TEST(Estimate, SingleLineText) {
    const FakeMeasure m;
    LayoutNode label = Text(L"CAPTION");
    label.textPadding = Rect{1, 2, 3, 4};
    label.font = 1;
    // 7 characters of 10 pixels plus 1 + 3; height 17 + 2 + 4 + 8
    EXPECT_EQ(Skin::EstimateSize(label, Size{300, 300}, &m), (Size{74, 31}));
    label.fixedWidth = 377;
    EXPECT_EQ(Skin::EstimateSize(label, Size{300, 300}, &m), (Size{377, 31}));
    label.fixedWidth = 0;
    label.fixedHeight = 50;
    EXPECT_EQ(Skin::EstimateSize(label, Size{300, 300}, &m), (Size{74, 50}));
    label.fixedWidth = 40;
    label.fixedHeight = 40;
    EXPECT_EQ(Skin::EstimateSize(label, Size{300, 300}, &m), (Size{40, 40}));
    // Without a measure texts are empty and fonts 0 high.
    EXPECT_EQ(Skin::EstimateSize(Text(L"abc"), Size{300, 300}, nullptr), (Size{0, 8}));
}

TEST(Estimate, MultiLineText) {
    const FakeMeasure m;
    LayoutNode label = Text(std::wstring(25, L'x'));  // 250 pixels on one line
    label.multiline = true;
    label.textPadding = Rect{5, 1, 5, 2};
    // available width 110, wrapped to 100: 3 lines
    EXPECT_EQ(Skin::EstimateSize(label, Size{110, 500}, &m), (Size{110, 63}));
    label.fixedWidth = 260;
    EXPECT_EQ(Skin::EstimateSize(label, Size{110, 500}, &m), (Size{260, 23}));
    // A fixed height alone does not count for wrapped text.
    label.fixedWidth = 0;
    label.fixedHeight = 7;
    EXPECT_EQ(Skin::EstimateSize(label, Size{110, 500}, &m), (Size{110, 63}));
    EXPECT_EQ(Skin::EstimateSize(label, Size{-5, -5}, &m).cx, 0);
}

TEST(Estimate, Buttons) {
    const FakeMeasure m;
    EXPECT_EQ(Skin::EstimateSize(ButtonNode(200, 0), Size{600, 400}, &m), (Size{200, 24}));
    EXPECT_EQ(Skin::EstimateSize(ButtonNode(0, 0), Size{600, 400}, &m), (Size{0, 24}));
    EXPECT_EQ(Skin::EstimateSize(ButtonNode(76, 32), Size{600, 400}, &m), (Size{76, 32}));
    EXPECT_EQ(Skin::EstimateSize(ButtonNode(0, 32), Size{600, 400}, &m), (Size{0, 32}));
    EXPECT_EQ(Skin::EstimateSize(ButtonNode(), Size{600, 400}, nullptr), (Size{0, 8}));
}

TEST(Estimate, ButtonWithoutHeightInAVerticalLayoutTakesItsFontHeight) {
    const FakeMeasure m;
    LayoutNode v = Node(LayoutKind::Vertical);
    v.children = {ButtonNode(100, 0), Spacer()};
    Arrange(v, Rect{0, 0, 300, 100}, &m);
    EXPECT_EQ(v.children[0].rect, (Rect{0, 0, 100, 24}));
    EXPECT_EQ(v.children[1].rect, (Rect{0, 24, 300, 100}));
}

TEST(Estimate, ButtonWithoutHeightInAHorizontalLayoutFillsItsHeight) {
    const FakeMeasure m;
    LayoutNode h = Node(LayoutKind::Horizontal);
    h.children = {Spacer(), ButtonNode(200, 0), Spacer()};
    Arrange(h, Rect{1, 215, 599, 261}, &m);
    EXPECT_EQ(h.children[1].rect, (Rect{200, 215, 400, 261}));
}

TEST(Estimate, TextWidthDrivesAHorizontalLayout) {
    const FakeMeasure m;
    LayoutNode h = Node(LayoutKind::Horizontal);
    LayoutNode caption = Text(L"CAPTION");
    caption.padding = Rect{10, 0, 0, 0};
    h.children = {caption, Spacer(), Spacer(24, 0), Spacer(12, 0)};
    Arrange(h, Rect{0, 0, 360, 30}, &m);
    EXPECT_EQ(h.children[0].rect, (Rect{10, 0, 80, 30}));
    EXPECT_EQ(h.children[1].rect, (Rect{80, 0, 324, 30}));
}

TEST(Estimate, WrappedTextInAHorizontalLayoutTakesWhatTheRowLeaves) {
    // The tips' text rows: a spacer, the icon, a gap, the wrapped message, a right margin. The
    // message must end before the margin, not run past the row (and the window's edge).
    const FakeMeasure m;
    LayoutNode row = Node(LayoutKind::Horizontal, 0, 40);
    LayoutNode message = Text(std::wstring(30, L'x'));  // 300 pixels on one line
    message.multiline = true;
    row.children = {Spacer(34, 0), Spacer(40, 40), Spacer(20, 0), message, Spacer(32, 0)};
    Arrange(row, Rect{1, 0, 359, 40}, &m);
    EXPECT_EQ(row.children[3].rect, (Rect{95, 0, 327, 40}));
    EXPECT_EQ(row.children[4].rect, (Rect{327, 0, 359, 40}));
    // In a vertical layout the wrapped text still spans the whole width.
    LayoutNode column = Node(LayoutKind::Vertical);
    column.children = {message};
    Arrange(column, Rect{0, 0, 110, 200}, &m);
    EXPECT_EQ(column.children[0].rect, (Rect{0, 0, 110, 60}));
}

TEST(Extremes, HugeSizesStayInRange) {
    LayoutNode v = Node(LayoutKind::Vertical);
    LayoutNode big = Spacer(INT_MAX, INT_MAX);
    big.padding = Rect{INT_MAX, INT_MAX, INT_MAX, INT_MAX};
    LayoutNode low = Spacer(INT_MIN, INT_MIN);
    low.padding = Rect{INT_MIN, INT_MIN, INT_MIN, INT_MIN};
    v.inset = Rect{INT_MIN, INT_MAX, INT_MIN, INT_MAX};
    v.children = {big, big, Spacer(), low, Spacer()};
    LayoutNode h = Node(LayoutKind::Horizontal);
    h.children = {big, low, Spacer()};
    v.children.push_back(h);
    const FakeMeasure m;
    Arrange(v, Rect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, &m);
    for (const LayoutNode& c : v.children) {
        if (c.rect.left == INT_MIN && c.rect.right == INT_MIN) continue;
        EXPECT_LE(c.rect.top, c.rect.bottom);
    }
    SUCCEED();  // the point is that the sanitizers see no overflow
}

TEST(Extremes, DeepTreesNeedNoRecursion) {
    LayoutNode root = Node(LayoutKind::Vertical);
    LayoutNode* n = &root;
    for (int i = 0; i < 5000; ++i) {
        n->children.push_back(Node(i % 2 ? LayoutKind::Vertical : LayoutKind::Horizontal));
        n->children.push_back(Spacer(1, 1));
        n = &n->children[0];
    }
    ArrangeWindow(root, 10000, 10000);
    EXPECT_EQ(root.children[0].rect, (Rect{0, 0, 10000, 9999}));
    // Free the chain from the bottom so that destruction does not recurse 5000 levels.
    std::vector<LayoutNode*> chain{&root};
    while (!chain.back()->children.empty()) chain.push_back(&chain.back()->children[0]);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) (*it)->children.clear();
}

}  // namespace
