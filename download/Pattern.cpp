#include "download/Pattern.h"

#include <cwctype>
#include <functional>
#include <memory>

namespace {

wchar_t Lower(wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); }

struct Node;
using Sequence = std::vector<std::unique_ptr<Node>>;

struct Node {
    enum Kind { Char, Any, Set, Group, Repeat } kind;
    wchar_t ch = 0;                                // Char (lower case)
    std::vector<std::pair<wchar_t, wchar_t>> ranges;  // Set (lower case)
    bool negated = false;                          // Set
    int capture = -1;                              // Group: capture index or -1
    std::vector<Sequence> alternatives;            // Group
    std::unique_ptr<Node> child;                   // Repeat
    int min = 0, max = 1;                          // Repeat; max -1 is unbounded
    bool greedy = true;                            // Repeat
    explicit Node(Kind k) : kind(k) {}
};

const wchar_t* Expansion(wchar_t letter) {
    switch (letter) {
    case L'a': return L"([a-zA-Z0-9])";
    case L'b': return L"([ \\t])";
    case L'c': return L"([a-zA-Z])";
    case L'd': return L"([0-9])";
    case L'h': return L"([0-9a-fA-F])";
    case L'n': return L"(\r|(\r?\n))";
    case L'q': return L"((\"[^\"]*\")|('[^']*'))";
    case L'w': return L"([a-zA-Z]+)";
    case L'z': return L"([0-9]+)";
    default: return nullptr;
    }
}

class Parser {
public:
    Parser(const std::wstring& text, int& groups) : m_text(text), m_groups(groups) {}

    // Parses the whole text as alternatives of a non-capturing group.
    std::unique_ptr<Node> ParseAll() {
        auto group = std::make_unique<Node>(Node::Group);
        if (!ParseAlternatives(group->alternatives) || m_pos != m_text.size()) return nullptr;
        return group;
    }

private:
    bool ParseAlternatives(std::vector<Sequence>& alternatives) {
        for (;;) {
            alternatives.emplace_back();
            if (!ParseSequence(alternatives.back())) return false;
            if (m_pos < m_text.size() && m_text[m_pos] == L'|') {
                ++m_pos;
                continue;
            }
            return true;
        }
    }

    bool ParseSequence(Sequence& sequence) {
        while (m_pos < m_text.size()) {
            const wchar_t c = m_text[m_pos];
            if (c == L'|' || c == L')' || c == L'}') return true;
            std::unique_ptr<Node> atom = ParseAtom();
            if (!atom) return false;
            if (m_pos < m_text.size() &&
                (m_text[m_pos] == L'*' || m_text[m_pos] == L'+' || m_text[m_pos] == L'?')) {
                auto repeat = std::make_unique<Node>(Node::Repeat);
                const wchar_t q = m_text[m_pos++];
                repeat->min = q == L'+' ? 1 : 0;
                repeat->max = q == L'?' ? 1 : -1;
                if (m_pos < m_text.size() && m_text[m_pos] == L'?') {
                    repeat->greedy = false;
                    ++m_pos;
                }
                repeat->child = std::move(atom);
                atom = std::move(repeat);
            }
            sequence.push_back(std::move(atom));
        }
        return true;
    }

    std::unique_ptr<Node> ParseGroup(wchar_t close, int capture) {
        auto group = std::make_unique<Node>(Node::Group);
        group->capture = capture;
        if (!ParseAlternatives(group->alternatives)) return nullptr;
        if (m_pos >= m_text.size() || m_text[m_pos] != close) return nullptr;
        ++m_pos;
        return group;
    }

    std::unique_ptr<Node> ParseAtom() {
        const wchar_t c = m_text[m_pos++];
        switch (c) {
        case L'{':
            return ParseGroup(L'}', m_groups++);
        case L'(':
            return ParseGroup(L')', -1);
        case L'[':
            return ParseSet();
        case L'.':
            return std::make_unique<Node>(Node::Any);
        case L'*': case L'+': case L'?': case L']':
            return nullptr;
        case L'\\': {
            if (m_pos >= m_text.size()) return nullptr;
            const wchar_t e = m_text[m_pos++];
            if (std::iswdigit(e)) return nullptr;
            if (const wchar_t* sub = Expansion(e)) {
                int noGroups = 0;
                Parser inner(sub, noGroups);
                return inner.ParseAll();
            }
            return Literal(e);
        }
        default:
            return Literal(c);
        }
    }

    static std::unique_ptr<Node> Literal(wchar_t c) {
        auto node = std::make_unique<Node>(Node::Char);
        node->ch = Lower(c);
        return node;
    }

    bool SetChar(wchar_t& c) {
        if (m_pos >= m_text.size()) return false;
        c = m_text[m_pos++];
        if (c == L'\\') {
            if (m_pos >= m_text.size()) return false;
            c = m_text[m_pos++];
            if (c == L't') c = L'\t';
        }
        return true;
    }

    std::unique_ptr<Node> ParseSet() {
        auto set = std::make_unique<Node>(Node::Set);
        if (m_pos < m_text.size() && m_text[m_pos] == L'^') {
            set->negated = true;
            ++m_pos;
        }
        for (;;) {
            if (m_pos >= m_text.size()) return nullptr;
            if (m_text[m_pos] == L']') {
                ++m_pos;
                return set;
            }
            wchar_t first;
            if (!SetChar(first)) return nullptr;
            wchar_t last = first;
            if (m_pos + 1 < m_text.size() && m_text[m_pos] == L'-' && m_text[m_pos + 1] != L']') {
                ++m_pos;
                if (!SetChar(last) || last < first) return nullptr;
            }
            // Compared in lower case: a range of capitals also admits its small letters.
            set->ranges.emplace_back(first, last);
        }
    }

    const std::wstring m_text;
    size_t m_pos = 0;
    int& m_groups;
};

class Matcher {
public:
    Matcher(const std::wstring& lowered, int groups)
        : m_text(lowered), m_captures(groups, {std::wstring::npos, 0}) {}

    using Next = std::function<bool(size_t)>;

    bool Match(const Node& node, size_t pos, const Next& next) {
        switch (node.kind) {
        case Node::Char:
            return pos < m_text.size() && m_text[pos] == node.ch && next(pos + 1);
        case Node::Any:
            return pos < m_text.size() && next(pos + 1);
        case Node::Set:
            return pos < m_text.size() && InSet(node, m_text[pos]) && next(pos + 1);
        case Node::Group:
            for (const Sequence& alternative : node.alternatives) {
                const bool ok = MatchSequence(alternative, 0, pos, [&](size_t end) {
                    if (node.capture < 0) return next(end);
                    const auto saved = m_captures[node.capture];
                    m_captures[node.capture] = {pos, end};
                    if (next(end)) return true;
                    m_captures[node.capture] = saved;
                    return false;
                });
                if (ok) return true;
            }
            return false;
        case Node::Repeat:
            return MatchRepeat(node, 0, pos, next);
        }
        return false;
    }

    bool MatchSequence(const Sequence& sequence, size_t index, size_t pos, const Next& next) {
        if (index == sequence.size()) return next(pos);
        return Match(*sequence[index], pos,
                     [&](size_t end) { return MatchSequence(sequence, index + 1, end, next); });
    }

    std::pair<size_t, size_t> Capture(int index) const { return m_captures[index]; }

private:
    bool MatchRepeat(const Node& node, int count, size_t pos, const Next& next) {
        const bool more = node.max < 0 || count < node.max;
        auto another = [&]() {
            return more && Match(*node.child, pos, [&](size_t end) {
                       return end != pos && MatchRepeat(node, count + 1, end, next);
                   });
        };
        if (node.greedy) {
            if (another()) return true;
            return count >= node.min && next(pos);
        }
        if (count >= node.min && next(pos)) return true;
        return another();
    }

    static bool InSet(const Node& node, wchar_t c) {
        bool found = false;
        for (const auto& range : node.ranges) {
            if ((c >= range.first && c <= range.second) ||
                (c >= Lower(range.first) && c <= Lower(range.second))) {
                found = true;
                break;
            }
        }
        return found != node.negated;
    }

    const std::wstring& m_text;
    std::vector<std::pair<size_t, size_t>> m_captures;
};

}  // namespace

bool ParseRegExp(const std::wstring& pattern, const std::wstring& text,
                 std::vector<std::wstring>& captures) {
    captures.clear();
    if (pattern.empty() || text.empty()) return false;
    int groups = 0;
    Parser parser(pattern, groups);
    const std::unique_ptr<Node> root = parser.ParseAll();
    if (!root) return false;
    std::wstring lowered = text;
    for (wchar_t& c : lowered) c = Lower(c);
    std::vector<std::wstring> seenLower;
    size_t start = 0;
    while (start <= lowered.size()) {
        Matcher matcher(lowered, groups);
        size_t matchEnd = std::wstring::npos;
        size_t at = start;
        for (; at <= lowered.size(); ++at) {
            if (matcher.Match(*root, at, [&](size_t end) {
                    matchEnd = end;
                    return true;
                }))
                break;
        }
        if (matchEnd == std::wstring::npos) break;
        if (groups > 0) {
            const auto capture = matcher.Capture(0);
            if (capture.first != std::wstring::npos) {
                const std::wstring value = text.substr(capture.first, capture.second - capture.first);
                const std::wstring key = lowered.substr(capture.first, capture.second - capture.first);
                bool seen = false;
                for (const std::wstring& s : seenLower) seen = seen || s == key;
                if (!seen) {
                    seenLower.push_back(key);
                    captures.push_back(value);
                }
            }
        }
        start = matchEnd > at ? matchEnd : at + 1;
    }
    return true;
}
