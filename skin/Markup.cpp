#include "skin/Markup.h"

#include "skin/Utf8Text.h"

#include <utility>

namespace Skin {

const std::wstring* MarkupElement::FindAttribute(const std::wstring& attributeName) const {
    for (auto it = attributes.rbegin(); it != attributes.rend(); ++it) {
        if (it->name == attributeName) return &it->value;
    }
    return nullptr;
}

const wchar_t* MarkupErrorText(MarkupError error) {
    switch (error) {
        case MarkupError::None: return L"";
        case MarkupError::ExpectedStartTag: return L"Expected start tag";
        case MarkupError::ElementName: return L"Error parsing element name";
        case MarkupError::StartTagClosing: return L"Expected start-tag closing";
        case MarkupError::EndTagStart: return L"Expected end-tag start";
        case MarkupError::UnmatchedClosingTag: return L"Unmatched closing tag";
        case MarkupError::Attributes: return L"Error while parsing attributes";
        case MarkupError::AttributeValue: return L"Expected attribute value";
        case MarkupError::AttributeString: return L"Error while parsing attribute string";
    }
    return L"";
}

bool SameNameIgnoringCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
        if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
        if (x != y) return false;
    }
    return true;
}

namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

bool IsNameChar(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
           c == L'_' || c == L':' || static_cast<unsigned long>(c) >= 0x80;
}

// One pass over the text with an explicit stack of open elements: no recursion per level.
class Parser {
public:
    explicit Parser(const std::wstring& text) : text_(text), size_(text.size()) {}

    MarkupParseResult Run() {
        MarkupParseResult result;
        if (Parse()) {
            result.ok = true;
            result.root = std::move(root_);
        } else {
            result.error = error_;
            result.errorText = MarkupErrorText(error_);
            result.errorOffset = errorOffset_;
        }
        return result;
    }

private:
    bool Fail(MarkupError error) {
        error_ = error;
        errorOffset_ = pos_ < size_ ? pos_ : size_;
        return false;
    }

    wchar_t At(std::size_t i) const { return i < size_ ? text_[i] : L'\0'; }
    bool StartsWith(std::size_t i, const wchar_t* s) const {
        for (; *s; ++s, ++i) {
            if (i >= size_ || text_[i] != *s) return false;
        }
        return true;
    }

    void SkipSpace() {
        while (pos_ < size_ && IsSpace(text_[pos_])) ++pos_;
    }

    // At "<?" or "<!": moves past the construct's end; false if the text ends first.
    bool SkipMisc() {
        const bool declaration = text_[pos_ + 1] == L'?';
        const wchar_t* end = declaration ? L"?>" : L"-->";
        const std::size_t endLength = declaration ? 2 : 3;
        std::size_t i = pos_ + 2;
        while (i < size_) {
            if (text_[i] == end[0] && StartsWith(i, end)) {
                pos_ = i + endLength;
                return true;
            }
            ++i;
        }
        pos_ = size_;
        return false;
    }

    bool AtMisc() const {
        return At(pos_) == L'<' && (At(pos_ + 1) == L'?' || At(pos_ + 1) == L'!');
    }

    std::wstring ReadName() {
        const std::size_t start = pos_;
        while (pos_ < size_ && IsNameChar(text_[pos_])) ++pos_;
        return text_.substr(start, pos_ - start);
    }

    // At the opening quote; reads the value with its entities replaced.
    bool ReadValue(std::wstring& value) {
        ++pos_;
        const std::size_t start = pos_;
        while (pos_ < size_ && text_[pos_] != L'"') ++pos_;
        if (pos_ >= size_) return Fail(MarkupError::AttributeString);
        const std::size_t end = pos_;
        ++pos_;
        value.clear();
        value.reserve(end - start);
        static const struct {
            const wchar_t* name;
            std::size_t length;
            wchar_t ch;
        } kEntities[] = {{L"&amp;", 5, L'&'},
                         {L"&lt;", 4, L'<'},
                         {L"&gt;", 4, L'>'},
                         {L"&quot;", 6, L'"'},
                         {L"&apos;", 6, L'\''}};
        for (std::size_t i = start; i < end;) {
            if (text_[i] == L'&') {
                bool replaced = false;
                for (const auto& e : kEntities) {
                    if (i + e.length <= end && StartsWith(i, e.name)) {
                        value.push_back(e.ch);
                        i += e.length;
                        replaced = true;
                        break;
                    }
                }
                if (replaced) continue;
            }
            value.push_back(text_[i]);
            ++i;
        }
        return true;
    }

    // At "<" of a start tag. Reads name and attributes; sets selfClosed for "/>".
    bool ReadStartTag(MarkupElement& element, bool& selfClosed) {
        ++pos_;
        element.name = ReadName();
        if (element.name.empty()) return Fail(MarkupError::ElementName);
        for (;;) {
            SkipSpace();
            if (pos_ >= size_) return Fail(MarkupError::StartTagClosing);
            const wchar_t c = text_[pos_];
            if (c == L'/') {
                ++pos_;
                if (At(pos_) != L'>') return Fail(MarkupError::StartTagClosing);
                ++pos_;
                selfClosed = true;
                return true;
            }
            if (c == L'>') {
                ++pos_;
                selfClosed = false;
                return true;
            }
            MarkupAttribute attribute;
            attribute.name = ReadName();
            if (attribute.name.empty()) return Fail(MarkupError::Attributes);
            SkipSpace();
            if (At(pos_) != L'=') return Fail(MarkupError::Attributes);
            ++pos_;
            SkipSpace();
            if (At(pos_) != L'"') return Fail(MarkupError::AttributeValue);
            if (!ReadValue(attribute.value)) return false;
            element.attributes.push_back(std::move(attribute));
        }
    }

    // At "</": the end tag of `open`.
    bool ReadEndTag(const MarkupElement& open) {
        pos_ += 2;
        const std::size_t nameStart = pos_;
        const std::wstring name = ReadName();
        if (name != open.name) {
            pos_ = nameStart;
            return Fail(MarkupError::UnmatchedClosingTag);
        }
        SkipSpace();
        if (At(pos_) != L'>') return Fail(MarkupError::UnmatchedClosingTag);
        ++pos_;
        return true;
    }

    bool Parse() {
        // Prolog: declaration, comments, blanks.
        for (;;) {
            SkipSpace();
            if (!AtMisc()) break;
            if (!SkipMisc()) return Fail(MarkupError::ExpectedStartTag);
        }
        if (At(pos_) != L'<' || At(pos_ + 1) == L'/') return Fail(MarkupError::ExpectedStartTag);

        std::vector<MarkupElement> open;  // open[0] is the root
        {
            MarkupElement root;
            bool selfClosed = false;
            if (!ReadStartTag(root, selfClosed)) return false;
            if (selfClosed) {
                root_ = std::move(root);
                return true;
            }
            open.push_back(std::move(root));
        }
        while (!open.empty()) {
            // Content: everything up to the next "<" is text and is not kept.
            while (pos_ < size_ && text_[pos_] != L'<') ++pos_;
            if (pos_ >= size_) return Fail(MarkupError::EndTagStart);
            if (AtMisc()) {
                if (!SkipMisc()) return Fail(MarkupError::EndTagStart);
                continue;
            }
            if (At(pos_ + 1) == L'/') {
                if (!ReadEndTag(open.back())) return false;
                MarkupElement done = std::move(open.back());
                open.pop_back();
                if (open.empty()) {
                    root_ = std::move(done);
                } else {
                    open.back().children.push_back(std::move(done));
                }
                continue;
            }
            if (open.size() >= kMaxMarkupDepth) return Fail(MarkupError::EndTagStart);
            MarkupElement child;
            bool selfClosed = false;
            if (!ReadStartTag(child, selfClosed)) return false;
            if (selfClosed) {
                open.back().children.push_back(std::move(child));
            } else {
                open.push_back(std::move(child));
            }
        }
        return true;
    }

    const std::wstring& text_;
    const std::size_t size_;
    std::size_t pos_ = 0;
    MarkupElement root_;
    MarkupError error_ = MarkupError::None;
    std::size_t errorOffset_ = 0;
};

}  // namespace

MarkupParseResult ParseMarkupText(const std::wstring& text) { return Parser(text).Run(); }

MarkupParseResult ParseMarkup(const char* bytes, std::size_t size) {
    if (!bytes) size = 0;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    if (size >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        bytes += 3;
        size -= 3;
    }
    return ParseMarkupText(WideFromUtf8(bytes, size));
}

}  // namespace Skin
