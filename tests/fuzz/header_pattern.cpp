// The header pattern language: the input is a pattern, a zero byte, and the header text it is
// matched against (both UTF-8).
#include <cstdint>
#include <cwctype>
#include <string>
#include <vector>

#include "download/Pattern.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

std::wstring Lowered(const std::wstring& text) {
    std::wstring out = text;
    for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(c));
    return out;
}

// ASCII letters in the other case.
std::wstring Swapped(const std::wstring& text) {
    std::wstring out = text;
    for (wchar_t& c : out) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
        else if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = FuzzInput::Bytes(data, size);
    const std::size_t zero = bytes.find('\0');
    const std::wstring pattern = FuzzInput::Wide(bytes.substr(0, zero));
    const std::wstring text =
        zero == std::string::npos ? std::wstring() : FuzzInput::Wide(bytes.substr(zero + 1));

    std::vector<std::wstring> captures{L"stale"};
    const bool matched = ParseRegExp(pattern, text, captures);
    if (!matched) FUZZ_CHECK(captures.empty());
    if (pattern.empty() || text.empty()) FUZZ_CHECK(!matched);
    std::vector<std::wstring> lowered;
    for (std::size_t i = 0; i < captures.size(); ++i) {
        FUZZ_CHECK(text.find(captures[i]) != std::wstring::npos);  // the text's own case
        lowered.push_back(Lowered(captures[i]));
        for (std::size_t j = 0; j < i; ++j) FUZZ_CHECK(lowered[i] != lowered[j]);  // distinct
    }

    // Matching ignores case: the text with its letters swapped gives the same captures, in
    // their new case. (A second match costs as much as the first: checked for every other
    // input length.)
    if (!matched || size % 2 == 0) return 0;
    std::vector<std::wstring> swapped;
    FUZZ_CHECK(ParseRegExp(pattern, Swapped(text), swapped) == matched);
    FUZZ_CHECK(swapped.size() == captures.size());
    for (std::size_t i = 0; i < captures.size(); ++i)
        FUZZ_CHECK(Lowered(swapped[i]) == lowered[i]);
    return 0;
}
