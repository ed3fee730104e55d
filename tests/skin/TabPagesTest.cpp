#include "skin/TabPages.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/skin/LayoutTestHelpers.h"

namespace {

using Skin::LayoutKind;
using Skin::LayoutNode;
using Skin::PageSelection;
using SkinTest::Node;

LayoutNode Tab(std::vector<bool> visible) {
    LayoutNode tab = Node(LayoutKind::Tab);
    for (bool v : visible) {
        LayoutNode page = Node(LayoutKind::Vertical);
        page.visible = v;
        tab.children.push_back(page);
    }
    return tab;
}

std::vector<bool> Visible(const LayoutNode& tab) {
    std::vector<bool> v;
    for (const LayoutNode& page : tab.children) v.push_back(page.visible);
    return v;
}

TEST(TabPages, FirstVisiblePageBecomesCurrent) {
    LayoutNode tab = Tab({true, true, true, true});
    Skin::InitTabPages(tab);
    EXPECT_EQ(tab.currentPage, 0);
    EXPECT_EQ(Visible(tab), (std::vector<bool>{true, false, false, false}));
}

TEST(TabPages, HiddenFirstPagesStayHidden) {
    LayoutNode tab = Tab({false, true, true});
    Skin::InitTabPages(tab);
    EXPECT_EQ(tab.currentPage, 1);
    EXPECT_EQ(Visible(tab), (std::vector<bool>{false, true, false}));
}

TEST(TabPages, NoVisiblePage) {
    LayoutNode tab = Tab({false, false});
    Skin::InitTabPages(tab);
    EXPECT_EQ(tab.currentPage, -1);
    LayoutNode empty = Tab({});
    Skin::InitTabPages(empty);
    EXPECT_EQ(empty.currentPage, -1);
    EXPECT_EQ(Skin::SelectTabPage(empty, 0), PageSelection::OutOfRange);
}

TEST(TabPages, SelectingPages) {
    LayoutNode tab = Tab({true, true, true, true});
    Skin::InitTabPages(tab);
    EXPECT_EQ(Skin::SelectTabPage(tab, 0), PageSelection::AlreadyCurrent);
    EXPECT_EQ(Skin::SelectTabPage(tab, 4), PageSelection::OutOfRange);
    EXPECT_EQ(Skin::SelectTabPage(tab, -1), PageSelection::OutOfRange);
    EXPECT_EQ(tab.currentPage, 0);
    EXPECT_EQ(Visible(tab), (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(Skin::SelectTabPage(tab, 2), PageSelection::Changed);
    EXPECT_EQ(tab.currentPage, 2);
    EXPECT_EQ(Visible(tab), (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(Skin::SelectTabPage(tab, 2), PageSelection::AlreadyCurrent);
    EXPECT_EQ(Skin::SelectTabPage(tab, 3), PageSelection::Changed);
    EXPECT_EQ(Visible(tab), (std::vector<bool>{false, false, false, true}));
}

TEST(TabPages, SelectingFromNoPage) {
    LayoutNode tab = Tab({false, false});
    Skin::InitTabPages(tab);
    EXPECT_EQ(Skin::SelectTabPage(tab, 1), PageSelection::Changed);
    EXPECT_EQ(Visible(tab), (std::vector<bool>{false, true}));
}

}  // namespace
