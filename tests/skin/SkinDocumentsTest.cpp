// The six window documents of the skin package, read from skin/data as they are packed.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/FontElement.h"
#include "skin/ImageString.h"
#include "skin/LayoutFromMarkup.h"
#include "skin/LayoutMath.h"
#include "skin/Markup.h"
#include "skin/TabPages.h"
#include "skin/ValueSyntax.h"
#include "tests/skin/LayoutTestHelpers.h"

namespace {

using Skin::LayoutNode;
using Skin::MarkupElement;
using Skin::Rect;
using Skin::Size;

// The folder of the documents: SKIN_DATA_DIR when the build defines it, otherwise found from
// this file's own path (tests/skin/ inside the repository).
std::string DataDir() {
#ifdef SKIN_DATA_DIR
    return SKIN_DATA_DIR "/";
#else
    std::string path = __FILE__;
    for (int up = 0; up < 3; ++up) {
        const std::size_t slash = path.find_last_of("/\\");
        path = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    }
    return path + "/skin/data/";
#endif
}

// The language test skin: files laid over skin/data when its package is made.
std::string LanguageSkinDir() { return DataDir() + "../../tests/app/data/langskin/"; }

std::string ReadFile(const std::string& name, const std::string& dir = DataDir()) {
    std::ifstream in(dir + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const char* const kDocuments[] = {"mainWnd.xml",      "MessageBox1Wnd.xml",
                                  "MessageBox2Wnd.xml", "NetworkTipWnd.xml",
                                  "exitTipWnd.xml",   "InstalledPathTipWnd.xml"};

struct Document {
    Skin::MarkupParseResult markup;
    Skin::LayoutTree layout;
};

Document Load(const std::string& name, const std::string& dir = DataDir()) {
    const std::string bytes = ReadFile(name, dir);
    EXPECT_FALSE(bytes.empty()) << "cannot read " << dir << name;
    Document d;
    d.markup = Skin::ParseMarkup(bytes.data(), bytes.size());
    EXPECT_TRUE(d.markup.ok) << name << " at " << d.markup.errorOffset;
    d.layout = Skin::BuildLayoutTree(d.markup.root);
    EXPECT_TRUE(d.layout.hasRoot) << name;
    return d;
}

Size WindowSize(const Document& d) {
    const std::wstring* size = d.markup.root.FindAttribute(L"size");
    return size ? Skin::ParseSize(*size) : Size{};
}

const LayoutNode& Find(const Document& d, const std::wstring& name) {
    static const LayoutNode none;
    const LayoutNode* n = Skin::FindLayoutNode(d.layout.root, name);
    EXPECT_NE(n, nullptr) << "no control named " << std::string(name.begin(), name.end());
    return n ? *n : none;
}

bool Has(const Document& d, const std::wstring& name) {
    return Skin::FindLayoutNode(d.layout.root, name) != nullptr;
}

// Every element of the document, depth first.
void Walk(const MarkupElement& e, std::vector<const MarkupElement*>& out) {
    out.push_back(&e);
    for (const MarkupElement& c : e.children) Walk(c, out);
}

class EveryDocument : public testing::TestWithParam<const char*> {};

TEST_P(EveryDocument, ParsesIntoAWindowWithFontsAndOneRootControl) {
    const Document d = Load(GetParam());
    ASSERT_TRUE(d.markup.ok);
    EXPECT_EQ(d.markup.root.name, L"Window");
    const std::wstring face = L"\u5FAE\u8F6F\u96C5\u9ED1";  // 微软雅黑
    int fonts = 0, defaults = 0, controls = 0;
    for (const MarkupElement& child : d.markup.root.children) {
        if (child.name == L"Font") {
            const Skin::FontElement font = Skin::ReadFontElement(child);
            EXPECT_TRUE(font.valid);
            EXPECT_EQ(font.face, face);
            EXPECT_EQ(font.id, fonts);
            ++fonts;
            defaults += font.isDefault ? 1 : 0;
        } else {
            ++controls;
        }
    }
    EXPECT_GE(fonts, 2);
    EXPECT_EQ(defaults, 1);
    EXPECT_EQ(controls, 1);
    ASSERT_TRUE(d.layout.hasRoot);
    EXPECT_EQ(d.layout.root.kind, Skin::LayoutKind::Vertical);
    EXPECT_TRUE(Has(d, L"closebtn"));
    const std::wstring* shadow = d.markup.root.FindAttribute(L"shadowcolor");
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(d.markup.root.FindAttribute(L"caption") != nullptr, true);
}

TEST_P(EveryDocument, EveryElementIsKnownAndEveryImageNamesAFile) {
    const Document d = Load(GetParam());
    std::vector<const MarkupElement*> all;
    Walk(d.markup.root, all);
    const std::wstring imageKeys[] = {L"bkimage",       L"normalimage", L"hotimage",
                                      L"pushedimage",   L"disabledimage", L"selectedimage",
                                      L"foreimage",     L"sequencebkimage"};
    int images = 0;
    for (const MarkupElement* e : all) {
        Skin::LayoutKind kind;
        Skin::SizeRule rule;
        const bool isControl = Skin::ControlLayoutFor(e->name, kind, rule);
        EXPECT_TRUE(isControl || e->name == L"Window" || e->name == L"Font")
            << std::string(e->name.begin(), e->name.end());
        for (const Skin::MarkupAttribute& a : e->attributes) {
            for (const std::wstring& key : imageKeys) {
                if (a.name != key) continue;
                const Skin::ImageString image = Skin::ParseImageString(a.value);
                EXPECT_EQ(image.file.rfind(L"res", 0), 0u);
                ASSERT_GE(image.file.size(), 4u);
                EXPECT_EQ(image.file.substr(image.file.size() - 4), L".png");
                EXPECT_EQ(image.fade, 255);
                ++images;
            }
        }
    }
    EXPECT_GT(images, 0);
}

INSTANTIATE_TEST_SUITE_P(Skins, EveryDocument, testing::ValuesIn(kDocuments));

TEST(MainWindow, WindowAttributes) {
    const Document d = Load("mainWnd.xml");
    EXPECT_EQ(WindowSize(d), (Size{600, 400}));
    EXPECT_EQ(Skin::ParseRect(*d.markup.root.FindAttribute(L"caption")), (Rect{0, 0, 0, 35}));
    EXPECT_EQ(Skin::ParseSize(*d.markup.root.FindAttribute(L"roundcorner")), (Size{1, 0}));
    EXPECT_EQ(Skin::ParseColour(*d.markup.root.FindAttribute(L"shadowcolor")), 0x26003B76u);
    EXPECT_EQ(*d.markup.root.FindAttribute(L"showshadow"), L"true");
    ASSERT_GE(d.markup.root.children.size(), 7u);
    EXPECT_EQ(Skin::ReadFontElement(d.markup.root.children[5]).size, 32);
}

TEST(MainWindow, NamedControls) {
    const Document d = Load("mainWnd.xml");
    for (const wchar_t* name :
         {L"winCtn", L"titleTabLt", L"backBtn", L"titleGrpCtn", L"minbtn", L"closebtn",
          L"mainTabLt", L"defaultInstallBtn", L"tipLbl", L"treatyCb", L"treatyBtn", L"customeBtn",
          L"installDirEdit", L"chDirBtn", L"createDSCb", L"createQSCb", L"customeInstallBtn",
          L"progressAnLb", L"progressLb", L"installPrg", L"openProduceBtn"}) {
        EXPECT_TRUE(Has(d, name)) << std::wstring(name).size();
    }
    EXPECT_FALSE(Has(d, L"okBtn"));
    EXPECT_EQ(Find(d, L"mainTabLt").children.size(), 4u);
    EXPECT_EQ(Find(d, L"titleTabLt").children.size(), 3u);
    EXPECT_EQ(Find(d, L"defaultInstallBtn").text, L"\u7ACB\u5373\u5B89\u88C5");  // 立即安装
    EXPECT_EQ(Find(d, L"progressAnLb").sizeRule, Skin::SizeRule::Text);
    EXPECT_FALSE(Find(d, L"tipLbl").visible);
}

TEST(MainWindow, AttributeDetails) {
    const Document d = Load("mainWnd.xml");
    std::vector<const MarkupElement*> all;
    Walk(d.markup.root, all);
    const MarkupElement* progress = nullptr;
    const MarkupElement* logo = nullptr;
    for (const MarkupElement* e : all) {
        const std::wstring* name = e->FindAttribute(L"name");
        if (name && *name == L"installPrg") progress = e;
        if (!logo && e->name == L"Label" && e->FindAttribute(L"pos")) logo = e;
    }
    ASSERT_NE(progress, nullptr);
    const Skin::ImageString fill = Skin::ParseImageString(*progress->FindAttribute(L"foreimage"));
    EXPECT_EQ(fill.file, L"res\\mainWnd\\installPrg2.png");
    EXPECT_EQ(fill.corner, (Rect{2, 2, 2, 2}));
    EXPECT_EQ(fill.mask, 0x00FF0000u);
    EXPECT_EQ(*progress->FindAttribute(L"isstretchfore"), L"false");
    ASSERT_NE(logo, nullptr);
    // width="377" stands before pos="0,0,377,0"
    ASSERT_EQ(logo->attributes.size(), 4u);
    EXPECT_EQ(logo->attributes[0].name, L"width");
    EXPECT_EQ(logo->attributes[3].name, L"pos");
    EXPECT_EQ(logo->attributes[3].value, L"0,0,377,0");
}

TEST(MainWindow, LayoutOfTheQuickInstallPage) {
    Document d = Load("mainWnd.xml");
    const SkinTest::FakeMeasure measure;
    LayoutNode& root = d.layout.root;
    EXPECT_EQ(root.fixedWidth, 480);
    EXPECT_EQ(root.fixedHeight, 100);
    Skin::ArrangeWindow(root, 600, 400, &measure);
    EXPECT_EQ(root.rect, (Rect{0, 0, 600, 400}));  // root fills the client area
    EXPECT_EQ(Find(d, L"titleTabLt").rect, (Rect{10, 0, 210, 45}));
    EXPECT_EQ(Find(d, L"titleGrpCtn").rect, (Rect{514, 12, 586, 36}));
    EXPECT_EQ(Find(d, L"minbtn").rect, (Rect{514, 12, 538, 36}));
    EXPECT_EQ(Find(d, L"closebtn").rect, (Rect{562, 12, 586, 36}));
    EXPECT_EQ(Find(d, L"mainTabLt").rect, (Rect{1, 45, 599, 400}));
    EXPECT_EQ(Find(d, L"mainTabLt").currentPage, 0);
    EXPECT_EQ(Find(d, L"titleTabLt").currentPage, 0);
    EXPECT_EQ(Find(d, L"backBtn").rect, (Rect{}));  // on a hidden page
    EXPECT_EQ(Find(d, L"defaultInstallBtn").rect, (Rect{200, 215, 400, 261}));
    EXPECT_EQ(Find(d, L"customeBtn").rect, (Rect{489, 361, 589, 379}));
    EXPECT_EQ(Find(d, L"tipLbl").rect, (Rect{}));    // hidden
    EXPECT_EQ(Find(d, L"treatyCb").rect, (Rect{}));  // its row is hidden
    EXPECT_EQ(Find(d, L"installDirEdit").rect, (Rect{}));
    // The logo: width 377 then pos 0,0,377,0, centred by the spacers around it.
    const LayoutNode& page0 = Find(d, L"mainTabLt").children[0];
    const LayoutNode& logo = page0.children[1].children[1].children[1];
    EXPECT_EQ(logo.element, L"Label");
    EXPECT_EQ(logo.fixedWidth, 377);
    EXPECT_EQ(logo.fixedHeight, 0);
    EXPECT_EQ(logo.rect, (Rect{111, 105, 488, 165}));
    // The arrow image of the custom-install link sits at the right end of the button.
    const Skin::ImageString arrow =
        Skin::ParseImageString(L"file='res\\mainWnd\\customeBtn1.png' dest='84,2,100,18'");
    EXPECT_EQ(Skin::ImageDestination(arrow, Find(d, L"customeBtn").rect),
              (Rect{573, 363, 589, 379}));
}

TEST(MainWindow, LayoutOfTheOtherPages) {
    Document d = Load("mainWnd.xml");
    const SkinTest::FakeMeasure measure;
    LayoutNode& root = d.layout.root;
    LayoutNode& tabs = *Skin::FindLayoutNode(root, L"mainTabLt");
    LayoutNode& title = *Skin::FindLayoutNode(root, L"titleTabLt");

    EXPECT_EQ(Skin::SelectTabPage(tabs, 0), Skin::PageSelection::AlreadyCurrent);
    EXPECT_EQ(Skin::SelectTabPage(tabs, 4), Skin::PageSelection::OutOfRange);

    ASSERT_EQ(Skin::SelectTabPage(tabs, 1), Skin::PageSelection::Changed);
    ASSERT_EQ(Skin::SelectTabPage(title, 1), Skin::PageSelection::Changed);
    Skin::ArrangeWindow(root, 600, 400, &measure);
    EXPECT_EQ(Find(d, L"backBtn").rect, (Rect{10, 11, 74, 41}));
    EXPECT_EQ(Find(d, L"installDirEdit").rect, (Rect{129, 179, 469, 215}));
    EXPECT_EQ(Find(d, L"chDirBtn").rect, (Rect{479, 179, 560, 215}));
    EXPECT_EQ(Find(d, L"createDSCb").rect, (Rect{125, 235, 263, 253}));
    EXPECT_EQ(Find(d, L"createQSCb").rect, (Rect{283, 235, 421, 253}));
    EXPECT_EQ(Find(d, L"customeInstallBtn").rect, (Rect{200, 302, 400, 348}));
    EXPECT_EQ(Find(d, L"defaultInstallBtn").rect, (Rect{}));

    ASSERT_EQ(Skin::SelectTabPage(tabs, 2), Skin::PageSelection::Changed);
    Skin::ArrangeWindow(root, 600, 400, &measure);
    EXPECT_EQ(Find(d, L"progressAnLb").rect, (Rect{220, 78, 380, 238}));
    EXPECT_EQ(Find(d, L"progressLb").rect, (Rect{120, 300, 480, 324}));
    EXPECT_EQ(Find(d, L"installPrg").rect, (Rect{40, 344, 560, 352}));
    EXPECT_EQ(Find(d, L"installDirEdit").rect, (Rect{}));

    ASSERT_EQ(Skin::SelectTabPage(tabs, 3), Skin::PageSelection::Changed);
    Skin::ArrangeWindow(root, 600, 400, &measure);
    EXPECT_EQ(Find(d, L"openProduceBtn").rect, (Rect{200, 292, 400, 338}));
}

TEST(MessageBoxes, NoOkOrCancelButton) {
    for (const char* name : {"MessageBox1Wnd.xml", "MessageBox2Wnd.xml"}) {
        const Document d = Load(name);
        EXPECT_EQ(WindowSize(d), (Size{360, 180}));
        EXPECT_TRUE(Has(d, L"captionLbl"));
        EXPECT_TRUE(Has(d, L"textLbl"));
        EXPECT_TRUE(Has(d, L"closebtn"));
        EXPECT_FALSE(Has(d, L"okBtn"));
        EXPECT_FALSE(Has(d, L"cancelBtn"));
        EXPECT_EQ(Find(d, L"captionLbl").text, L"CAPTION");
        EXPECT_EQ(Find(d, L"textLbl").text, L"TEXT");
        EXPECT_TRUE(Find(d, L"textLbl").multiline);
    }
}

TEST(MessageBoxes, Layout) {
    const SkinTest::FakeMeasure measure;
    Document one = Load("MessageBox1Wnd.xml");
    Skin::ArrangeWindow(one.layout.root, 360, 180, &measure);
    EXPECT_EQ(Find(one, L"captionLbl").rect, (Rect{10, 0, 80, 30}));  // "CAPTION": 70 wide
    EXPECT_EQ(Find(one, L"closebtn").rect, (Rect{328, 3, 352, 27}));
    EXPECT_EQ(Find(one, L"textLbl").rect, (Rect{1, 30, 359, 180}));

    Document two = Load("MessageBox2Wnd.xml");
    Skin::ArrangeWindow(two.layout.root, 360, 180, &measure);
    EXPECT_EQ(Find(two, L"captionLbl").padding, (Rect{10, 0, 0, 0}));
    EXPECT_EQ(Find(two, L"captionLbl").rect, (Rect{10, 0, 80, 30}));
    EXPECT_EQ(Find(two, L"closebtn").rect, (Rect{324, 3, 348, 27}));
    EXPECT_EQ(Find(two, L"textLbl").rect, (Rect{1, 31, 359, 179}));
}

TEST(NetworkTip, SpacerWithAWidthTakesTheLeftoverHeight) {
    const SkinTest::FakeMeasure measure;
    Document d = Load("NetworkTipWnd.xml");
    EXPECT_EQ(WindowSize(d), (Size{360, 180}));
    Skin::ArrangeWindow(d.layout.root, 360, 180, &measure);
    const LayoutNode& column = d.layout.root.children[1].children[1];
    ASSERT_EQ(column.children.size(), 5u);
    const LayoutNode& spacer = column.children[2];
    EXPECT_EQ(spacer.fixedWidth, 30);
    EXPECT_EQ(spacer.fixedHeight, 0);
    EXPECT_EQ(spacer.rect, (Rect{1, 100, 31, 130}));
    // Buttons 32 high in a row 30 high are cut to the row.
    EXPECT_EQ(Find(d, L"cancelBtn").rect, (Rect{182, 130, 258, 160}));
    EXPECT_EQ(Find(d, L"okBtn").rect, (Rect{268, 130, 344, 160}));
}

TEST(ExitTip, NamedControls) {
    const SkinTest::FakeMeasure measure;
    Document d = Load("exitTipWnd.xml");
    EXPECT_EQ(WindowSize(d), (Size{360, 180}));
    EXPECT_EQ(d.layout.root.name, L"VerticalLayoutUI1");
    EXPECT_TRUE(Has(d, L"abcc"));
    Skin::ArrangeWindow(d.layout.root, 360, 180, &measure);
    // okBtn left, cancelBtn right
    EXPECT_LT(Find(d, L"okBtn").rect.left, Find(d, L"cancelBtn").rect.left);
    EXPECT_EQ(Find(d, L"okBtn").rect.Width(), 76);
    EXPECT_EQ(Find(d, L"cancelBtn").rect.Height(), 32);
    EXPECT_EQ(Find(d, L"cancelBtn").rect.right, 339);  // 20 + 1 from the right edge
}

TEST(InstalledPathTip, RootFillsTheWiderWindow) {
    const SkinTest::FakeMeasure measure;
    Document d = Load("InstalledPathTipWnd.xml");
    EXPECT_EQ(WindowSize(d), (Size{400, 180}));
    EXPECT_EQ(d.layout.root.fixedWidth, 360);
    Skin::ArrangeWindow(d.layout.root, 400, 180, &measure);
    EXPECT_EQ(d.layout.root.rect, (Rect{0, 0, 400, 180}));
    EXPECT_EQ(Find(d, L"closebtn").rect.right, 388);
    // cancelBtn left, okBtn right
    EXPECT_LT(Find(d, L"cancelBtn").rect.left, Find(d, L"okBtn").rect.left);
    EXPECT_EQ(Find(d, L"okBtn").rect.Width(), 110);
}

TEST(LanguageSkin, MainWindowWithALanguageBoxOnTheQuickInstallPage) {
    Document d = Load("mainWnd.xml", LanguageSkinDir());
    ASSERT_TRUE(d.markup.ok);
    ASSERT_TRUE(d.layout.hasRoot);
    std::vector<const MarkupElement*> all;
    Walk(d.markup.root, all);
    const MarkupElement* combo = nullptr;
    for (const MarkupElement* e : all) {
        Skin::LayoutKind kind;
        Skin::SizeRule rule;
        EXPECT_TRUE(Skin::ControlLayoutFor(e->name, kind, rule) || e->name == L"Window" ||
                    e->name == L"Font")
            << std::string(e->name.begin(), e->name.end());
        const std::wstring* name = e->FindAttribute(L"name");
        if (name && *name == L"languageCombo") combo = e;
    }
    // The combo's items, in the order of the language indexes.
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->name, L"Combo");
    const std::wstring items[] = {
        L"English", L"\u7B80\u4F53\u4E2D\u6587", L"\u7E41\u9AD4\u4E2D\u6587",
        L"Bahasa Indonesia", L"T\u00FCrk\u00E7e", L"Deutsch", L"Fran\u00E7ais",
        L"Espa\u00F1ol", L"Portugu\u00EAs", L"\u65E5\u672C\u8A9E", L"\uD55C\uAD6D\uC5B4",
        L"Polski", L"Nederlands", L"Italiano", L"\u0420\u0443\u0441\u0441\u043A\u0438\u0439"};
    ASSERT_EQ(combo->children.size(), 15u);
    for (size_t i = 0; i < 15; ++i) {
        EXPECT_EQ(combo->children[i].name, L"ListLabelElement") << i;
        const std::wstring* text = combo->children[i].FindAttribute(L"text");
        ASSERT_NE(text, nullptr) << i;
        EXPECT_EQ(*text, items[i]) << i;
    }
    EXPECT_EQ(Find(d, L"lbLanguage").text, L"%{1}");
    EXPECT_EQ(Find(d, L"defaultInstallBtn").text, L"%{2}");
    EXPECT_TRUE(Find(d, L"languageCombo").children.empty());  // items are not laid out
    EXPECT_EQ(Find(d, L"languageCombo").sizeRule, Skin::SizeRule::Button);

    // Every control of the main window is still there.
    const Document original = Load("mainWnd.xml");
    std::vector<const MarkupElement*> before;
    Walk(original.markup.root, before);
    for (const MarkupElement* e : before) {
        const std::wstring* name = e->FindAttribute(L"name");
        if (name && e->name != L"Font") {
            EXPECT_TRUE(Has(d, *name)) << std::string(name->begin(), name->end());
        }
    }

    // The row sits between the install button and the tip, the page below keeps its place.
    const SkinTest::FakeMeasure measure;
    Skin::ArrangeWindow(d.layout.root, 600, 400, &measure);
    EXPECT_EQ(Find(d, L"defaultInstallBtn").rect, (Rect{200, 215, 400, 261}));
    EXPECT_EQ(Find(d, L"languageRow").rect, (Rect{1, 273, 599, 297}));
    EXPECT_EQ(Find(d, L"lbLanguage").rect, (Rect{175, 273, 265, 297}));
    EXPECT_EQ(Find(d, L"languageCombo").rect, (Rect{265, 273, 425, 297}));
    EXPECT_EQ(Find(d, L"customeBtn").rect, (Rect{489, 361, 589, 379}));
}

}  // namespace
