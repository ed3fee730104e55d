#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The window documents of the skin: a small XML dialect read into a tree of elements.
//
// Syntax: UTF-8 text (a leading byte-order mark is skipped); "<?...?>" and "<!...-->" are
// skipped wherever markup may stand (before, between and inside elements); one root element;
// start and end tags or self-closed "/>" tags; names of ASCII letters, digits, "_", ":" and
// any non-ASCII character; attribute values in double quotes only, with the entities &amp;
// &lt; &gt; &quot; &apos; replaced and any other "&" kept as written. The text between
// elements is not kept. Whatever follows the root element is ignored.
namespace Skin {

struct MarkupAttribute {
    std::wstring name;
    std::wstring value;
};

struct MarkupElement {
    std::wstring name;
    std::vector<MarkupAttribute> attributes;  // in document order, repeats kept
    std::vector<MarkupElement> children;      // in document order

    // The value of the last attribute with exactly this name (a later one overrides an
    // earlier one), or null.
    const std::wstring* FindAttribute(const std::wstring& attributeName) const;
};

enum class MarkupError {
    None,
    ExpectedStartTag,         // no root element (empty text, text before it, "</" first)
    ElementName,              // "<" not followed by a name
    StartTagClosing,          // start tag not ended by ">" or "/>" (also at the end of the text)
    EndTagStart,              // the text ends inside an element, or nesting exceeds the limit
    UnmatchedClosingTag,      // "</name>" with another name, or with junk before its ">"
    Attributes,               // something other than a name where an attribute may start,
                              // or a name not followed by "="
    AttributeValue,           // "=" not followed by a double quote
    AttributeString,          // the value's closing quote is missing
};

// The error texts the toolkit keeps on a document that does not parse; empty for None.
const wchar_t* MarkupErrorText(MarkupError error);

// Elements nest at most this deep (the root is level 1). A start tag one level deeper fails
// with MarkupError::EndTagStart: at the limit only the end tag may follow.
constexpr std::size_t kMaxMarkupDepth = 256;

struct MarkupParseResult {
    bool ok = false;
    MarkupElement root;                       // empty unless ok
    MarkupError error = MarkupError::None;
    std::wstring errorText;                   // MarkupErrorText(error)
    std::size_t errorOffset = 0;              // position in the wide text where parsing stopped
};

// Parses a document from its UTF-8 bytes. Never reads outside [bytes, bytes + size); time and
// memory are linear in the size.
MarkupParseResult ParseMarkup(const char* bytes, std::size_t size);
// Parses text already converted to wide characters (no byte-order mark is skipped).
MarkupParseResult ParseMarkupText(const std::wstring& text);

// Element and attribute names of the toolkit compare ignoring the case of ASCII letters.
bool SameNameIgnoringCase(const std::wstring& a, const std::wstring& b);

}  // namespace Skin
