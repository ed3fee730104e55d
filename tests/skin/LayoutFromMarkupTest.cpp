#include "skin/LayoutFromMarkup.h"

#include <gtest/gtest.h>

#include <string>

#include "skin/LayoutMath.h"

namespace {

using Skin::BuildLayoutTree;
using Skin::LayoutKind;
using Skin::LayoutNode;
using Skin::LayoutTree;
using Skin::Rect;
using Skin::SizeRule;

LayoutTree Build(const std::wstring& document) {
    const Skin::MarkupParseResult r = Skin::ParseMarkupText(document);
    EXPECT_TRUE(r.ok) << r.errorOffset;
    return BuildLayoutTree(r.root);
}

LayoutNode Single(const std::wstring& element) {
    const LayoutTree tree = Build(L"<Window>" + element + L"</Window>");
    EXPECT_TRUE(tree.hasRoot);
    return tree.root;
}

TEST(ControlLayoutFor, KnownElementsIgnoringCase) {
    struct Known {
        const wchar_t* name;
        LayoutKind kind;
        SizeRule rule;
    };
    const Known known[] = {
        {L"VerticalLayout", LayoutKind::Vertical, SizeRule::Fixed},
        {L"horizontallayout", LayoutKind::Horizontal, SizeRule::Fixed},
        {L"TABLAYOUT", LayoutKind::Tab, SizeRule::Fixed},
        {L"Control", LayoutKind::Control, SizeRule::Fixed},
        {L"Label", LayoutKind::Control, SizeRule::Text},
        {L"Progress", LayoutKind::Control, SizeRule::Text},
        {L"SequenceLabel", LayoutKind::Control, SizeRule::Text},
        {L"Button", LayoutKind::Control, SizeRule::Button},
        {L"checkbox", LayoutKind::Control, SizeRule::Button},
        {L"Edit", LayoutKind::Control, SizeRule::Button},
        {L"SequenceButton", LayoutKind::Control, SizeRule::Button},
        {L"Combo", LayoutKind::Control, SizeRule::Button},
        {L"listlabelelement", LayoutKind::Control, SizeRule::Text},
    };
    for (const Known& k : known) {
        LayoutKind kind = LayoutKind::Tab;
        SizeRule rule = SizeRule::Text;
        ASSERT_TRUE(Skin::ControlLayoutFor(k.name, kind, rule)) << std::wstring(k.name).size();
        EXPECT_EQ(kind, k.kind);
        EXPECT_EQ(rule, k.rule);
    }
    LayoutKind kind;
    SizeRule rule;
    for (const wchar_t* name : {L"Window", L"Font", L"Image", L"Default", L"Include", L"List",
                                L"Labels", L"", L"Butto"}) {
        EXPECT_FALSE(Skin::ControlLayoutFor(name, kind, rule));
    }
}

TEST(ControlLayoutFor, ComboItemsAreNotLaidOut) {
    const LayoutNode n = Single(L"<Combo name=\"c\" width=\"120\"><ListLabelElement text=\"a\"/>"
                                L"<ListLabelElement text=\"b\"/></Combo>");
    EXPECT_EQ(n.name, L"c");
    EXPECT_EQ(n.fixedWidth, 120);
    EXPECT_TRUE(n.children.empty());
}

TEST(LayoutAttributes, PosAfterWidthSetsBothFixedSizes) {
    const LayoutNode n = Single(L"<Label width=\"377\" height=\"9\" pos=\"0,0,377,0\"/>");
    EXPECT_EQ(n.fixedWidth, 377);
    EXPECT_EQ(n.fixedHeight, 0);
}

TEST(LayoutAttributes, LaterAttributeWins) {
    EXPECT_EQ(Single(L"<Control pos=\"0,0,14,0\" width=\"20\"/>").fixedWidth, 20);
    EXPECT_EQ(Single(L"<Control pos=\"0,0,0,12\" height=\"12\"/>").fixedHeight, 12);
    EXPECT_EQ(Single(L"<Control pos=\"5,5,20,30\"/>").fixedWidth, 15);
    EXPECT_EQ(Single(L"<Control pos=\"5,5,20,30\"/>").fixedHeight, 25);
    EXPECT_EQ(Single(L"<Control pos=\"-2147483648,0,2147483647,0\"/>").fixedWidth, 2147483647);
    EXPECT_EQ(Single(L"<Control width=\"1\" width=\"2\"/>").fixedWidth, 2);
}

TEST(LayoutAttributes, AllOfThem) {
    const LayoutNode n = Single(
        L"<Label name=\"textLbl\" text=\"TEXT\" font=\"1\" textpadding=\"1,2,3,4\" "
        L"multiline=\"true\" padding=\"10,0,0,0\" visible=\"false\" inset=\"1,1,1,1\" "
        L"minwidth=\"5\" minheight=\"6\" maxwidth=\"70\" maxheight=\"80\" bkcolor=\"#FFFFFFFF\"/>");
    EXPECT_EQ(n.name, L"textLbl");
    EXPECT_EQ(n.element, L"Label");
    EXPECT_EQ(n.text, L"TEXT");
    EXPECT_EQ(n.font, 1);
    EXPECT_EQ(n.textPadding, (Rect{1, 2, 3, 4}));
    EXPECT_TRUE(n.multiline);
    EXPECT_EQ(n.padding, (Rect{10, 0, 0, 0}));
    EXPECT_FALSE(n.visible);
    EXPECT_EQ(n.inset, (Rect{1, 1, 1, 1}));
    EXPECT_EQ(n.minWidth, 5);
    EXPECT_EQ(n.minHeight, 6);
    EXPECT_EQ(n.maxWidth, 70);
    EXPECT_EQ(n.maxHeight, 80);
}

TEST(LayoutAttributes, VisibleIsOnlyHiddenByAnythingButTrue) {
    EXPECT_TRUE(Single(L"<Control/>").visible);
    EXPECT_TRUE(Single(L"<Control visible=\"true\"/>").visible);
    EXPECT_FALSE(Single(L"<Control visible=\"False\"/>").visible);
    EXPECT_FALSE(Single(L"<Control visible=\"\"/>").visible);
}

TEST(BuildLayoutTree, NonControlsAreSkippedWithTheirContent) {
    const LayoutTree tree = Build(
        L"<Window><Font id=\"0\" name=\"a\"/>"
        L"<VerticalLayout><Mystery><Button name=\"lost\"/></Mystery>"
        L"<button name=\"kept\"/></VerticalLayout></Window>");
    ASSERT_TRUE(tree.hasRoot);
    EXPECT_EQ(tree.root.kind, LayoutKind::Vertical);
    ASSERT_EQ(tree.root.children.size(), 1u);
    EXPECT_EQ(tree.root.children[0].name, L"kept");
    EXPECT_EQ(Skin::FindLayoutNode(tree.root, L"lost"), nullptr);
}

TEST(BuildLayoutTree, ChildrenOfPlainControlsAreDropped) {
    const LayoutNode n = Single(L"<Label><Button name=\"inner\"/></Label>");
    EXPECT_TRUE(n.children.empty());
}

TEST(BuildLayoutTree, FirstTopLevelControlIsTheRoot) {
    const LayoutTree tree = Build(
        L"<Window><Unknown/><HorizontalLayout name=\"first\"/><VerticalLayout name=\"second\"/>"
        L"</Window>");
    ASSERT_TRUE(tree.hasRoot);
    EXPECT_EQ(tree.root.name, L"first");
    EXPECT_FALSE(Build(L"<Window><Font name=\"a\"/></Window>").hasRoot);
    EXPECT_FALSE(Build(L"<Window/>").hasRoot);
    // The root element itself is never a control, whatever its name.
    const LayoutTree bare = Build(L"<VerticalLayout><Control name=\"c\"/></VerticalLayout>");
    ASSERT_TRUE(bare.hasRoot);
    EXPECT_EQ(bare.root.name, L"c");
}

TEST(BuildLayoutTree, TabLayoutStartsOnItsFirstVisiblePage) {
    const LayoutNode tab = Single(
        L"<TabLayout><VerticalLayout visible=\"false\"/><VerticalLayout name=\"p1\"/>"
        L"<VerticalLayout name=\"p2\"/></TabLayout>");
    EXPECT_EQ(tab.currentPage, 1);
    ASSERT_EQ(tab.children.size(), 3u);
    EXPECT_FALSE(tab.children[0].visible);
    EXPECT_TRUE(tab.children[1].visible);
    EXPECT_FALSE(tab.children[2].visible);
}

TEST(BuildLayoutTree, DeepDocumentsAreCut) {
    // 256 levels from the parser: Window plus 255 nested layouts.
    std::wstring doc = L"<Window>";
    for (int i = 0; i < 255; ++i) doc += L"<VerticalLayout>";
    for (int i = 0; i < 255; ++i) doc += L"</VerticalLayout>";
    doc += L"</Window>";
    const LayoutTree tree = Build(doc);
    ASSERT_TRUE(tree.hasRoot);
    int depth = 1;
    for (const LayoutNode* n = &tree.root; !n->children.empty(); n = &n->children[0]) ++depth;
    EXPECT_EQ(depth, 255);
    // A hand-made element tree deeper than the parser allows is cut at that depth.
    Skin::MarkupElement root;
    root.name = L"Window";
    Skin::MarkupElement* e = &root;
    for (int i = 0; i < 400; ++i) {
        e->children.emplace_back();
        e = &e->children.back();
        e->name = L"VerticalLayout";
    }
    const LayoutTree cut = BuildLayoutTree(root);
    depth = 1;
    for (const LayoutNode* n = &cut.root; !n->children.empty(); n = &n->children[0]) ++depth;
    EXPECT_EQ(depth, static_cast<int>(Skin::kMaxMarkupDepth) - 1);
}

TEST(FindLayoutNode, DepthFirstInDocumentOrder) {
    const LayoutNode root = Single(
        L"<VerticalLayout name=\"root\"><HorizontalLayout><Button name=\"b\" text=\"1\"/>"
        L"</HorizontalLayout><Button name=\"b\" text=\"2\"/></VerticalLayout>");
    ASSERT_NE(Skin::FindLayoutNode(root, L"b"), nullptr);
    EXPECT_EQ(Skin::FindLayoutNode(root, L"b")->text, L"1");
    EXPECT_EQ(Skin::FindLayoutNode(root, L"root"), &root);
    EXPECT_EQ(Skin::FindLayoutNode(root, L"B"), nullptr);
    EXPECT_EQ(Skin::FindLayoutNode(root, L""), nullptr);
}

}  // namespace
