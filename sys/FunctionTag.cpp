#include "sys/FunctionTag.h"

#include <cstring>

namespace Utils {
namespace {

bool EndsWith(const std::string& text, const char* suffix) {
    const size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

// Index of the bracket that opens the group closed at text[close].
size_t MatchingOpen(const std::string& text, size_t close) {
    const char closer = text[close];
    const char opener = closer == ')' ? '(' : '<';
    int depth = 0;
    for (size_t i = close + 1; i-- > 0;) {
        if (text[i] == closer) ++depth;
        else if (text[i] == opener && --depth == 0) return i;
    }
    return std::string::npos;
}

// The last space-separated token of text, spaces inside brackets not counting.
std::string LastToken(const std::string& text) {
    int depth = 0;
    for (size_t i = text.size(); i-- > 0;) {
        const char c = text[i];
        if (c == ')' || c == '>' || c == ']') ++depth;
        else if (c == '(' || c == '<' || c == '[') --depth;
        else if (c == ' ' && depth == 0) return text.substr(i + 1);
    }
    return text;
}

// Drops the parameter lists of enclosing functions: "A::Start()::<lambda>" -> "A::Start::<lambda>".
std::string DropScopeParameters(const std::string& name) {
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '(' && i > 0 && name[i - 1] != ' ') {
            int depth = 0;
            size_t j = i;
            for (; j < name.size(); ++j) {
                if (name[j] == '(') ++depth;
                else if (name[j] == ')' && --depth == 0) break;
            }
            if (j + 2 < name.size() && name.compare(j + 1, 2, "::") == 0) {
                i = j;
                continue;
            }
        }
        out += name[i];
    }
    return out;
}

}  // namespace

std::string FunctionTagFromSignature(const char* signature) {
    std::string text = signature ? signature : "";
    const size_t with = text.find(" [with ");
    if (with != std::string::npos && text.back() == ']') text.erase(with);
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (const char* suffix : {" const", " volatile", " &&", " &", " noexcept"}) {
            if (EndsWith(text, suffix)) {
                text.erase(text.size() - std::strlen(suffix));
                trimmed = true;
            }
        }
    }
    if (!text.empty() && text.back() == '>' && text.find("<lambda") != std::string::npos) {
        const size_t open = MatchingOpen(text, text.size() - 1);
        if (open != std::string::npos)
            return DropScopeParameters(LastToken(text.substr(0, open))) +
                   "<lambda>::operator ()";
    }
    if (!text.empty() && text.back() == ')') {
        const size_t open = MatchingOpen(text, text.size() - 1);
        if (open != std::string::npos) text.erase(open);
    }
    return DropScopeParameters(LastToken(text));
}

}  // namespace Utils
