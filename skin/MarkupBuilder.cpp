#include "skin/MarkupBuilder.h"

#include "skin/FontElement.h"
#include "skin/Markup.h"
#include "skin/SkinFiles.h"
#include "skin/UIButton.h"
#include "skin/UICombo.h"
#include "skin/UIContainer.h"
#include "skin/UIEdit.h"
#include "skin/UIManager.h"
#include "skin/UIProgress.h"

namespace Skin {
namespace {

bool Is(const std::wstring& name, const wchar_t* known) { return _wcsicmp(name.c_str(), known) == 0; }

// Creates the control of an element, builds its children into it first, then binds it to the
// manager and applies its attributes in document order. Null when the element is no control.
CControlUI* BuildControl(const MarkupElement& element, IDialogBuilderCallback* callback,
                         CUIManager* manager) {
    CControlUI* control = CreateKnownControl(element.name);
    if (!control && callback) control = callback->CreateControl(element.name.c_str());
    if (!control) return nullptr;  // skipped together with everything inside it
    auto* container = dynamic_cast<IContainerUI*>(control);
    for (const MarkupElement& child : element.children) {
        CControlUI* item = BuildControl(child, callback, manager);
        if (!item) continue;
        if (!container || !container->Add(item)) delete item;
    }
    control->SetManager(manager);
    for (const MarkupAttribute& attribute : element.attributes)
        control->SetAttribute(attribute.name, attribute.value);
    if (auto* tab = dynamic_cast<CTabLayoutUI*>(control)) tab->InitPages();
    return control;
}

}  // namespace

CControlUI* CreateKnownControl(const std::wstring& name) {
    if (Is(name, L"Control")) return new CControlUI;
    if (Is(name, L"Label")) return new CLabelUI;
    if (Is(name, L"Button")) return new CButtonUI;
    if (Is(name, L"Option")) return new COptionUI;
    if (Is(name, L"CheckBox")) return new CCheckBoxUI;
    if (Is(name, L"Edit")) return new CEditUI;
    if (Is(name, L"Progress")) return new CProgressUI;
    if (Is(name, L"Combo")) return new CComboUI;
    if (Is(name, L"ListLabelElement")) return new CListLabelElementUI;
    if (Is(name, L"Container")) return new CContainerUI;
    if (Is(name, L"VerticalLayout")) return new CVerticalLayoutUI;
    if (Is(name, L"HorizontalLayout")) return new CHorizontalLayoutUI;
    if (Is(name, L"TabLayout")) return new CTabLayoutUI;
    return nullptr;
}

CControlUI* CMarkupBuilder::Create(const std::wstring& skinFile, IDialogBuilderCallback* callback,
                                   CUIManager* manager) {
    const SkinMarkupFile file = ReadSkinMarkupFile(skinFile.c_str());
    if (!file.ok) {
        m_error = file.error;
        return nullptr;
    }
    return CreateFromBytes(std::string(file.bytes.begin(), file.bytes.end()), callback, manager);
}

CControlUI* CMarkupBuilder::CreateFromBytes(const std::string& bytes,
                                            IDialogBuilderCallback* callback,
                                            CUIManager* manager) {
    m_error.clear();
    const MarkupParseResult parsed = ParseMarkup(bytes.data(), bytes.size());
    if (!parsed.ok) {
        m_error = parsed.errorText;
        return nullptr;
    }
    const MarkupElement& root = parsed.root;
    if (manager) {
        for (const MarkupElement& child : root.children)
            if (Is(child.name, L"Font")) manager->AddFont(ReadFontElement(child));
        if (Is(root.name, L"Window"))
            for (const MarkupAttribute& attribute : root.attributes)
                manager->SetWindowAttribute(attribute.name, attribute.value);
    }
    CControlUI* first = nullptr;
    for (const MarkupElement& child : root.children) {
        if (Is(child.name, L"Font")) continue;
        CControlUI* control = BuildControl(child, callback, manager);
        if (!control) continue;
        if (first) delete control;  // one root control only
        else first = control;
    }
    if (!first) m_error = L"No control in the document";
    return first;
}

}  // namespace Skin
