#include "skin/FontElement.h"

#include <gtest/gtest.h>

namespace {

Skin::FontElement Read(const std::wstring& element) {
    const Skin::MarkupParseResult r = Skin::ParseMarkupText(element);
    EXPECT_TRUE(r.ok);
    return Skin::ReadFontElement(r.root);
}

TEST(FontElement, AllAttributes) {
    const Skin::FontElement f = Read(
        L"<Font id=\"3\" name=\"\u5FAE\u8F6F\u96C5\u9ED1\" underline=\"true\" size=\"14\" "
        L"bold=\"true\" italic=\"true\" default=\"true\"/>");
    EXPECT_TRUE(f.valid);
    EXPECT_EQ(f.id, 3);
    EXPECT_EQ(f.face, L"\u5FAE\u8F6F\u96C5\u9ED1");
    EXPECT_EQ(f.size, 14);
    EXPECT_TRUE(f.underline);
    EXPECT_TRUE(f.bold);
    EXPECT_TRUE(f.italic);
    EXPECT_TRUE(f.isDefault);
}

TEST(FontElement, Defaults) {
    const Skin::FontElement f = Read(L"<Font name=\"Arial\"/>");
    EXPECT_TRUE(f.valid);
    EXPECT_EQ(f.id, -1);
    EXPECT_EQ(f.size, 12);
    EXPECT_FALSE(f.underline);
    EXPECT_FALSE(f.bold);
    EXPECT_FALSE(f.italic);
    EXPECT_FALSE(f.isDefault);
}

TEST(FontElement, WithoutNameIsIgnored) {
    EXPECT_FALSE(Read(L"<Font id=\"0\" size=\"14\"/>").valid);
    EXPECT_TRUE(Read(L"<Font name=\"\"/>").valid);  // present, even if empty
}

TEST(FontElement, LaterAttributesOverride) {
    const Skin::FontElement f =
        Read(L"<Font name=\"a\" size=\"14\" size=\"16\" default=\"True\"/>");
    EXPECT_EQ(f.size, 16);
    EXPECT_FALSE(f.isDefault);
}

}  // namespace
