#pragma once
#include <string>

#include "skin/UIControl.h"

namespace Skin {

class CUIManager;

// Asked for every element name the toolkit does not know; returns a new control or null.
class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    virtual CControlUI* CreateControl(const wchar_t* className) = 0;
};

// Builds a window's control tree from a skin file of the package: fonts and the Window
// element's attributes go to the manager, the controls are created depth first in document
// order. Returns the root control (owned by the caller until attached) or null.
class CMarkupBuilder {
public:
    CControlUI* Create(const std::wstring& skinFile, IDialogBuilderCallback* callback,
                       CUIManager* manager);
    // The same from the bytes of a document.
    CControlUI* CreateFromBytes(const std::string& bytes, IDialogBuilderCallback* callback,
                                CUIManager* manager);
    // Why the last Create returned null (a loading or parse error text), or empty.
    const std::wstring& GetLastErrorMessage() const { return m_error; }

private:
    std::wstring m_error;
};

// A control of a class the toolkit knows (element names compared ignoring case), or null.
CControlUI* CreateKnownControl(const std::wstring& elementName);

}  // namespace Skin
