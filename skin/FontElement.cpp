#include "skin/FontElement.h"

#include "skin/ValueSyntax.h"

namespace Skin {

FontElement ReadFontElement(const MarkupElement& element) {
    FontElement font;
    for (const MarkupAttribute& a : element.attributes) {
        if (a.name == L"id") {
            font.id = ParseInteger(a.value);
        } else if (a.name == L"name") {
            font.valid = true;
            font.face = a.value;
        } else if (a.name == L"size") {
            font.size = ParseInteger(a.value);
        } else if (a.name == L"bold") {
            font.bold = ParseBoolean(a.value);
        } else if (a.name == L"underline") {
            font.underline = ParseBoolean(a.value);
        } else if (a.name == L"italic") {
            font.italic = ParseBoolean(a.value);
        } else if (a.name == L"default") {
            font.isDefault = ParseBoolean(a.value);
        }
    }
    return font;
}

}  // namespace Skin
