#pragma once
#include <string>

#include "skin/Markup.h"

// A Font element of a window document: one entry of the window's font table.
namespace Skin {

struct FontElement {
    bool valid = false;         // false without a name attribute: the element is ignored
    int id = -1;                // -1: not added to the font table
    std::wstring face;          // as written; the window side cuts it to what a font takes
    int size = 12;              // character height in pixels
    bool bold = false;
    bool underline = false;
    bool italic = false;
    bool isDefault = false;     // also becomes the window's default font
};

// Reads the attributes id, name, size, bold, underline, italic and default (names compared
// exactly, later ones override earlier ones, unknown ones ignored).
FontElement ReadFontElement(const MarkupElement& element);

}  // namespace Skin
