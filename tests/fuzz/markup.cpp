// The window documents' markup: whatever parses must write back to a document that parses to
// the same tree; whatever does not must say where and why.
#include <cstdint>
#include <string>
#include <vector>

#include "skin/Markup.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

using Skin::MarkupElement;

// The element written as markup, with every character a value needs escaped.
void Write(const MarkupElement& root, std::wstring& out) {
    struct Step {
        const MarkupElement* element;
        std::size_t next;  // next child to write
    };
    std::vector<Step> stack{{&root, 0}};
    auto open = [&out](const MarkupElement& e) {
        out += L'<';
        out += e.name;
        for (const auto& a : e.attributes) {
            out += L' ';
            out += a.name;
            out += L"=\"";
            for (wchar_t c : a.value) {
                switch (c) {
                    case L'&': out += L"&amp;"; break;
                    case L'<': out += L"&lt;"; break;
                    case L'>': out += L"&gt;"; break;
                    case L'"': out += L"&quot;"; break;
                    default: out += c;
                }
            }
            out += L'"';
        }
        out += e.children.empty() ? L"/>" : L">";
    };
    open(root);
    while (!stack.empty()) {
        Step& top = stack.back();
        if (top.next < top.element->children.size()) {
            const MarkupElement& child = top.element->children[top.next++];
            open(child);
            if (!child.children.empty()) stack.push_back({&child, 0});
            continue;
        }
        if (!top.element->children.empty()) {
            out += L"</";
            out += top.element->name;
            out += L'>';
        }
        stack.pop_back();
    }
}

bool Same(const MarkupElement& a, const MarkupElement& b) {
    std::vector<std::pair<const MarkupElement*, const MarkupElement*>> pending{{&a, &b}};
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        if (x->name != y->name || x->children.size() != y->children.size() ||
            x->attributes.size() != y->attributes.size())
            return false;
        for (std::size_t i = 0; i < x->attributes.size(); ++i)
            if (x->attributes[i].name != y->attributes[i].name ||
                x->attributes[i].value != y->attributes[i].value)
                return false;
        for (std::size_t i = 0; i < x->children.size(); ++i)
            pending.push_back({&x->children[i], &y->children[i]});
    }
    return true;
}

std::size_t Depth(const MarkupElement& root) {
    std::size_t deepest = 0;
    std::vector<std::pair<const MarkupElement*, std::size_t>> pending{{&root, 1}};
    while (!pending.empty()) {
        const auto [e, depth] = pending.back();
        pending.pop_back();
        if (depth > deepest) deepest = depth;
        FUZZ_CHECK(!e->name.empty());
        for (const auto& a : e->attributes) FUZZ_CHECK(!a.name.empty());
        for (const auto& c : e->children) pending.push_back({&c, depth + 1});
    }
    return deepest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Skin::MarkupParseResult result =
        Skin::ParseMarkup(reinterpret_cast<const char*>(data), size);
    const std::wstring wide = FuzzInput::Wide(data, size);
    if (!result.ok) {
        FUZZ_CHECK(result.error != Skin::MarkupError::None);
        FUZZ_CHECK(result.errorText == Skin::MarkupErrorText(result.error));
        FUZZ_CHECK(!result.errorText.empty());
        FUZZ_CHECK(result.errorOffset <= wide.size());
        FUZZ_CHECK(result.root.name.empty() && result.root.children.empty() &&
                   result.root.attributes.empty());
        return 0;
    }
    FUZZ_CHECK(result.error == Skin::MarkupError::None && result.errorText.empty());
    FUZZ_CHECK(Depth(result.root) <= Skin::kMaxMarkupDepth);

    std::wstring written;
    Write(result.root, written);
    const Skin::MarkupParseResult reread = Skin::ParseMarkupText(written);
    FUZZ_CHECK(reread.ok);
    FUZZ_CHECK(Same(reread.root, result.root));

    // The last attribute of a name is the one found.
    for (const auto& a : result.root.attributes) {
        const std::wstring* found = result.root.FindAttribute(a.name);
        FUZZ_CHECK(found != nullptr);
    }
    return 0;
}
