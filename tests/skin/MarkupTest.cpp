#include "skin/Markup.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using Skin::MarkupError;
using Skin::MarkupParseResult;
using Skin::ParseMarkup;
using Skin::ParseMarkupText;

MarkupParseResult Parse(const std::string& utf8) { return ParseMarkup(utf8.data(), utf8.size()); }

struct ErrorCase {
    std::string document;
    MarkupError error;
    const wchar_t* text;
};

class MarkupErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(MarkupErrors, ReportTheirText) {
    const ErrorCase& c = GetParam();
    const MarkupParseResult r = Parse(c.document);
    EXPECT_FALSE(r.ok) << c.document;
    EXPECT_EQ(r.error, c.error) << c.document;
    EXPECT_EQ(r.errorText, c.text) << c.document;
    EXPECT_EQ(r.errorText, Skin::MarkupErrorText(c.error));
    EXPECT_TRUE(r.root.name.empty());
}

const wchar_t* const kStart = L"Expected start tag";
const wchar_t* const kName = L"Error parsing element name";
const wchar_t* const kClosing = L"Expected start-tag closing";
const wchar_t* const kEndTag = L"Expected end-tag start";
const wchar_t* const kUnmatched = L"Unmatched closing tag";
const wchar_t* const kAttributes = L"Error while parsing attributes";
const wchar_t* const kValue = L"Expected attribute value";
const wchar_t* const kString = L"Error while parsing attribute string";

INSTANTIATE_TEST_SUITE_P(
    Table, MarkupErrors,
    testing::Values(
        // no root element
        ErrorCase{"", MarkupError::ExpectedStartTag, kStart},
        ErrorCase{" \r\n\t ", MarkupError::ExpectedStartTag, kStart},
        ErrorCase{"Window", MarkupError::ExpectedStartTag, kStart},
        ErrorCase{"x<Window/>", MarkupError::ExpectedStartTag, kStart},
        ErrorCase{"<!-- only a comment -->", MarkupError::ExpectedStartTag, kStart},
        ErrorCase{"<?xml version=\"1.0\"", MarkupError::ExpectedStartTag, kStart},
        ErrorCase{"<!-- unterminated <Window/>", MarkupError::ExpectedStartTag, kStart},
        ErrorCase{"<!DOCTYPE w><Window/>", MarkupError::ExpectedStartTag, kStart},
        ErrorCase{"</Window>", MarkupError::ExpectedStartTag, kStart},
        ErrorCase{"\xEF\xBB\xBF", MarkupError::ExpectedStartTag, kStart},
        // element names
        ErrorCase{"<", MarkupError::ElementName, kName},
        ErrorCase{"<>", MarkupError::ElementName, kName},
        ErrorCase{"< Window/>", MarkupError::ElementName, kName},
        ErrorCase{"<-a/>", MarkupError::ElementName, kName},
        ErrorCase{"<a><=b/></a>", MarkupError::ElementName, kName},
        ErrorCase{"<a>< b/></a>", MarkupError::ElementName, kName},
        // start tags
        ErrorCase{"<a", MarkupError::StartTagClosing, kClosing},
        ErrorCase{"<a ", MarkupError::StartTagClosing, kClosing},
        ErrorCase{"<a x=\"1\"", MarkupError::StartTagClosing, kClosing},
        ErrorCase{"<a /x>", MarkupError::StartTagClosing, kClosing},
        ErrorCase{"<a/ >", MarkupError::StartTagClosing, kClosing},
        ErrorCase{"<a/", MarkupError::StartTagClosing, kClosing},
        ErrorCase{"<a><b/</a>", MarkupError::StartTagClosing, kClosing},
        // content that ends before the end tag
        ErrorCase{"<a>", MarkupError::EndTagStart, kEndTag},
        ErrorCase{"<a>text", MarkupError::EndTagStart, kEndTag},
        ErrorCase{"<a><b></b>", MarkupError::EndTagStart, kEndTag},
        ErrorCase{"<a><b/>", MarkupError::EndTagStart, kEndTag},
        ErrorCase{"<a><!-- x --", MarkupError::EndTagStart, kEndTag},
        ErrorCase{"<a><?pi", MarkupError::EndTagStart, kEndTag},
        // end tags
        ErrorCase{"<a></b>", MarkupError::UnmatchedClosingTag, kUnmatched},
        ErrorCase{"<a></A>", MarkupError::UnmatchedClosingTag, kUnmatched},
        ErrorCase{"<ab></a>", MarkupError::UnmatchedClosingTag, kUnmatched},
        ErrorCase{"<a></ab>", MarkupError::UnmatchedClosingTag, kUnmatched},
        ErrorCase{"<a></>", MarkupError::UnmatchedClosingTag, kUnmatched},
        ErrorCase{"<a></a x>", MarkupError::UnmatchedClosingTag, kUnmatched},
        ErrorCase{"<a></a", MarkupError::UnmatchedClosingTag, kUnmatched},
        ErrorCase{"<a><b></a></b>", MarkupError::UnmatchedClosingTag, kUnmatched},
        // attributes
        ErrorCase{"<a x/>", MarkupError::Attributes, kAttributes},
        ErrorCase{"<a x>", MarkupError::Attributes, kAttributes},
        ErrorCase{"<a x", MarkupError::Attributes, kAttributes},
        ErrorCase{"<a =\"1\"/>", MarkupError::Attributes, kAttributes},
        ErrorCase{"<a x=\"1\" -y=\"2\"/>", MarkupError::Attributes, kAttributes},
        ErrorCase{"<a \"1\"/>", MarkupError::Attributes, kAttributes},
        ErrorCase{"<a x y=\"1\"/>", MarkupError::Attributes, kAttributes},
        // attribute values
        ErrorCase{"<a x=1/>", MarkupError::AttributeValue, kValue},
        ErrorCase{"<a x='1'/>", MarkupError::AttributeValue, kValue},
        ErrorCase{"<a x=/>", MarkupError::AttributeValue, kValue},
        ErrorCase{"<a x=", MarkupError::AttributeValue, kValue},
        ErrorCase{"<a x= ", MarkupError::AttributeValue, kValue},
        // unclosed values
        ErrorCase{"<a x=\"1/>", MarkupError::AttributeString, kString},
        ErrorCase{"<a x=\"", MarkupError::AttributeString, kString},
        ErrorCase{"<a x=\"1\" y=\"2/></a>", MarkupError::AttributeString, kString}));

TEST(Markup, ErrorOffsetPointsAtTheProblem) {
    const MarkupParseResult r = ParseMarkupText(L"<a><b></c></a>");
    EXPECT_EQ(r.error, MarkupError::UnmatchedClosingTag);
    EXPECT_EQ(r.errorOffset, 8u);  // the name in "</c>"
    EXPECT_EQ(ParseMarkupText(L"<a>").errorOffset, 3u);
}

TEST(Markup, NoErrorText) {
    EXPECT_STREQ(Skin::MarkupErrorText(MarkupError::None), L"");
    const MarkupParseResult r = ParseMarkupText(L"<a/>");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.error, MarkupError::None);
    EXPECT_EQ(r.errorText, L"");
}

TEST(Markup, TreeInDocumentOrder) {
    const MarkupParseResult r = Parse(
        "<Window size=\"600,400\" caption=\"0,0,0,35\">\n"
        "  <Font id=\"0\" name=\"a\"/>\n"
        "  <VerticalLayout name=\"winCtn\">\n"
        "    <Control width=\"10\" />\n"
        "    <HorizontalLayout><Label text=\"x\"></Label></HorizontalLayout>\n"
        "  </VerticalLayout>\n"
        "</Window>\n");
    ASSERT_TRUE(r.ok) << r.errorOffset;
    EXPECT_EQ(r.root.name, L"Window");
    ASSERT_EQ(r.root.attributes.size(), 2u);
    EXPECT_EQ(r.root.attributes[0].name, L"size");
    EXPECT_EQ(r.root.attributes[0].value, L"600,400");
    EXPECT_EQ(r.root.attributes[1].name, L"caption");
    ASSERT_EQ(r.root.children.size(), 2u);
    EXPECT_EQ(r.root.children[0].name, L"Font");
    const auto& layout = r.root.children[1];
    EXPECT_EQ(layout.name, L"VerticalLayout");
    ASSERT_EQ(layout.children.size(), 2u);
    EXPECT_EQ(layout.children[0].name, L"Control");
    EXPECT_TRUE(layout.children[0].children.empty());
    ASSERT_EQ(layout.children[1].children.size(), 1u);
    EXPECT_EQ(layout.children[1].children[0].name, L"Label");
    EXPECT_EQ(*layout.children[1].children[0].FindAttribute(L"text"), L"x");
}

TEST(Markup, AttributesKeepOrderAndRepeats) {
    const MarkupParseResult r = ParseMarkupText(
        L"<Label width=\"377\" valign = \"center\"\tpos=\"0,0,377,0\" width=\"5\"/>");
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.root.attributes.size(), 4u);
    EXPECT_EQ(r.root.attributes[0].name, L"width");
    EXPECT_EQ(r.root.attributes[1].name, L"valign");
    EXPECT_EQ(r.root.attributes[1].value, L"center");
    EXPECT_EQ(r.root.attributes[2].name, L"pos");
    EXPECT_EQ(r.root.attributes[3].value, L"5");
    // The last one wins for a lookup; names compare exactly.
    EXPECT_EQ(*r.root.FindAttribute(L"width"), L"5");
    EXPECT_EQ(r.root.FindAttribute(L"Width"), nullptr);
    EXPECT_EQ(r.root.FindAttribute(L"none"), nullptr);
}

TEST(Markup, AttributesNeedNoBlankBetweenThem) {
    const MarkupParseResult r = ParseMarkupText(L"<a x=\"1\"y=\"2\"/>");
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.root.attributes.size(), 2u);
    EXPECT_EQ(r.root.attributes[1].name, L"y");
}

struct EntityCase {
    std::wstring written;
    std::wstring value;
};

class MarkupEntities : public testing::TestWithParam<EntityCase> {};

TEST_P(MarkupEntities, AreReplacedInValues) {
    const MarkupParseResult r = ParseMarkupText(L"<a v=\"" + GetParam().written + L"\"/>");
    ASSERT_TRUE(r.ok) << r.errorOffset;
    EXPECT_EQ(*r.root.FindAttribute(L"v"), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MarkupEntities,
    testing::Values(EntityCase{L"&amp;", L"&"}, EntityCase{L"&lt;", L"<"},
                    EntityCase{L"&gt;", L">"}, EntityCase{L"&quot;", L"\""},
                    EntityCase{L"&apos;", L"'"},
                    EntityCase{L"a&lt;b&gt;c&amp;d&quot;e&apos;f", L"a<b>c&d\"e'f"},
                    EntityCase{L"&amp;lt;", L"&lt;"},       // replaced once, not again
                    EntityCase{L"&nbsp;", L"&nbsp;"},       // unknown entity stays
                    EntityCase{L"&#65;", L"&#65;"},         // character references too
                    EntityCase{L"&", L"&"}, EntityCase{L"&amp", L"&amp"},
                    EntityCase{L"&AMP;", L"&AMP;"}, EntityCase{L"x&", L"x&"},
                    EntityCase{L"file='a.png' fade='255'", L"file='a.png' fade='255'"},
                    EntityCase{L"<b>", L"<b>"}, EntityCase{L"", L""}));

TEST(Markup, DeclarationAndCommentsAreSkipped) {
    const MarkupParseResult r = Parse(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- first -->\n<!-- second -->"
        "<Window><!-- inside <Fake/> -->"
        "<?pi <Fake/> ?><A/><!----><B></B><!-- after --></Window>"
        "<!-- trailing -->");
    ASSERT_TRUE(r.ok) << r.errorText.size();
    EXPECT_EQ(r.root.name, L"Window");
    ASSERT_EQ(r.root.children.size(), 2u);
    EXPECT_EQ(r.root.children[0].name, L"A");
    EXPECT_EQ(r.root.children[1].name, L"B");
}

TEST(Markup, BangConstructsEndAtTheNextCommentEnd) {
    // "<!" runs to the next "-->", whatever it starts with.
    const MarkupParseResult r = ParseMarkupText(L"<!DOCTYPE x --><a><![CDATA[ <b> ]]-->text</a>");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.root.name, L"a");
    EXPECT_TRUE(r.root.children.empty());
}

TEST(Markup, ByteOrderMarkIsSkipped) {
    const MarkupParseResult r = Parse("\xEF\xBB\xBF<Window/>");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.root.name, L"Window");
    // A mark in the middle is ordinary text (between elements, not kept).
    EXPECT_TRUE(Parse("<a>\xEF\xBB\xBF</a>").ok);
    // Only one mark is skipped.
    EXPECT_EQ(Parse("\xEF\xBB\xBF\xEF\xBB\xBF<a/>").error, MarkupError::ExpectedStartTag);
}

TEST(Markup, Utf8TextInValuesAndNames) {
    // text="立即安装" and a name with a non-ASCII letter
    const MarkupParseResult r = Parse(
        "<Button text=\"\xE7\xAB\x8B\xE5\x8D\xB3\xE5\xAE\x89\xE8\xA3\x85\" n\xC3\xA9=\"1\"/>");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(*r.root.FindAttribute(L"text"), L"\u7ACB\u5373\u5B89\u88C5");
    EXPECT_EQ(r.root.attributes[1].name, L"n\u00E9");
}

TEST(Markup, NameCharacters) {
    const MarkupParseResult r = ParseMarkupText(L"<a_1:B9 x:y_2=\"v\"></a_1:B9>");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.root.name, L"a_1:B9");
    EXPECT_EQ(r.root.attributes[0].name, L"x:y_2");
    EXPECT_FALSE(ParseMarkupText(L"<a.b/>").ok);
    EXPECT_FALSE(ParseMarkupText(L"<a-b/>").ok);
}

TEST(Markup, BlanksInEndTagAndTextBetweenElements) {
    const MarkupParseResult r = ParseMarkupText(L"<a>\n  some text\n  <b/> more </a \n>");
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.root.children.size(), 1u);
}

TEST(Markup, WhatFollowsTheRootIsIgnored) {
    EXPECT_TRUE(ParseMarkupText(L"<a/>junk").ok);
    EXPECT_TRUE(ParseMarkupText(L"<a></a><b>").ok);
    EXPECT_EQ(ParseMarkupText(L"<a></a><b/>").root.name, L"a");
}

TEST(Markup, ZeroCharactersAreOrdinary) {
    const std::string doc("<a v=\"x\0y\"/>", 12);
    const MarkupParseResult r = Parse(doc);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(*r.root.FindAttribute(L"v"), std::wstring(L"x\0y", 3));
}

std::wstring Nested(std::size_t depth) {
    std::wstring s;
    for (std::size_t i = 0; i < depth; ++i) s += L"<e>";
    for (std::size_t i = 0; i < depth; ++i) s += L"</e>";
    return s;
}

TEST(Markup, NestingIsLimited) {
    const MarkupParseResult ok = ParseMarkupText(Nested(Skin::kMaxMarkupDepth));
    ASSERT_TRUE(ok.ok);
    std::size_t depth = 1;
    const Skin::MarkupElement* e = &ok.root;
    while (!e->children.empty()) {
        e = &e->children[0];
        ++depth;
    }
    EXPECT_EQ(depth, Skin::kMaxMarkupDepth);

    const MarkupParseResult deep = ParseMarkupText(Nested(Skin::kMaxMarkupDepth + 1));
    EXPECT_FALSE(deep.ok);
    EXPECT_EQ(deep.errorText, L"Expected end-tag start");
    // Also a self-closed element one level too deep.
    std::wstring s;
    for (std::size_t i = 0; i < Skin::kMaxMarkupDepth; ++i) s += L"<e>";
    EXPECT_EQ(ParseMarkupText(s + L"<f/>").error, MarkupError::EndTagStart);
    // A huge unclosed nesting fails quickly, without deep recursion.
    EXPECT_EQ(ParseMarkupText(std::wstring(1000000, L'<').replace(0, 1, L"<a>")).error,
              MarkupError::ElementName);
}

TEST(Markup, LargeDocumentsAreLinear) {
    std::wstring doc = L"<Window>";
    const int kSiblings = 200000;
    for (int i = 0; i < kSiblings; ++i) doc += L"<Control width=\"10\" text=\"&amp;&lt;\"/>";
    doc += L"<!--" + std::wstring(1000000, L'-') + L"-->";
    doc += L"</Window>";
    const MarkupParseResult r = ParseMarkupText(doc);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.root.children.size(), static_cast<std::size_t>(kSiblings));
    EXPECT_EQ(r.root.children.back().attributes[1].value, L"&<");
    // Many ampersands that are no entity.
    EXPECT_TRUE(ParseMarkupText(L"<a v=\"" + std::wstring(1000000, L'&') + L"\"/>").ok);
}

TEST(Markup, SameNameIgnoringCase) {
    EXPECT_TRUE(Skin::SameNameIgnoringCase(L"VerticalLayout", L"verticallayout"));
    EXPECT_TRUE(Skin::SameNameIgnoringCase(L"CHECKBOX", L"CheckBox"));
    EXPECT_TRUE(Skin::SameNameIgnoringCase(L"", L""));
    EXPECT_FALSE(Skin::SameNameIgnoringCase(L"Label", L"Labe"));
    EXPECT_FALSE(Skin::SameNameIgnoringCase(L"Label", L"Lab_l"));
    EXPECT_FALSE(Skin::SameNameIgnoringCase(L"[", L"{"));  // not letters: no case
}

// Random damage to a real-looking document must never crash or read out of bounds (the
// sanitizers watch); the result is either a tree or one of the error texts.
TEST(Markup, DamagedDocumentsFailCleanly) {
    const std::string base =
        "\xEF\xBB\xBF<?xml version=\"1.0\"?><!-- c --><Window size=\"600,400\">"
        "<Font id=\"0\" name=\"\xE5\xBE\xAE\" size=\"14\"/><VerticalLayout name=\"w\">"
        "<Button text=\"a&amp;b\" normalimage=\"file='x.png' fade='255'\"/></VerticalLayout>"
        "</Window>";
    std::mt19937 random(12345);
    const char alphabet[] = "<>/=\"'&;!?- \xEF\xBB\xBF\xE5\x80\xFF" "aZ";
    for (int round = 0; round < 20000; ++round) {
        std::string doc = base;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % (doc.size() + 1);
            switch (random() % 3) {
                case 0: doc.insert(at, 1, alphabet[random() % (sizeof(alphabet) - 1)]); break;
                case 1: if (at < doc.size()) doc.erase(at, 1); break;
                default: doc.resize(at); break;
            }
        }
        const MarkupParseResult r = Parse(doc);
        if (r.ok) {
            EXPECT_FALSE(r.root.name.empty());
        } else {
            EXPECT_NE(r.error, MarkupError::None);
            EXPECT_FALSE(r.errorText.empty());
            EXPECT_LE(r.errorOffset, doc.size());
        }
    }
}

}  // namespace
