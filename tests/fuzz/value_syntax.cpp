// Attribute values of the window documents read as numbers, sizes, rectangles, colours and
// booleans; each line of the input is read every way. Numbers are checked against the C
// library they imitate, and what is written plainly reads back.
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>

#include "skin/ValueSyntax.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// wcstol with base 10, cut to the range of int; *pos moves past what it read.
int ReferenceInteger(const std::wstring& s, std::size_t& pos) {
    const wchar_t* begin = s.c_str() + pos;
    wchar_t* end = nullptr;
    errno = 0;
    long value = std::wcstol(begin, &end, 10);
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    pos += static_cast<std::size_t>(end - begin);
    return static_cast<int>(value);
}

void ReferenceNumbers(const std::wstring& s, int* out, int count) {
    std::size_t pos = 0;
    for (int n = 0; n < count; ++n) {
        if (n > 0 && pos < s.size()) ++pos;
        out[n] = ReferenceInteger(s, pos);
    }
}


void CheckText(const std::wstring& value) {
    std::size_t pos = 0;
    FUZZ_CHECK(Skin::ParseInteger(value) == ReferenceInteger(value, pos));
    int n[4];
    ReferenceNumbers(value, n, 2);
    FUZZ_CHECK(Skin::ParseSize(value) == (Skin::Size{n[0], n[1]}));
    ReferenceNumbers(value, n, 4);
    FUZZ_CHECK(Skin::ParseRect(value) == (Skin::Rect{n[0], n[1], n[2], n[3]}));
    FUZZ_CHECK(Skin::ParseBoolean(value) == (value == L"true"));
    // A colour written with "#" and without reads the same unless the text starts with "#".
    if (value.empty() || value[0] != L'#')
        FUZZ_CHECK(Skin::ParseColour(L"#" + value) == Skin::ParseColour(value));
}

void CheckRoundTrips(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    const int l = static_cast<int>(a), t = static_cast<int>(b), r = static_cast<int>(c),
              bo = static_cast<int>(d);
    FUZZ_CHECK(Skin::ParseInteger(std::to_wstring(l)) == l);
    const std::wstring rect = std::to_wstring(l) + L"," + std::to_wstring(t) + L"," +
                              std::to_wstring(r) + L"," + std::to_wstring(bo);
    FUZZ_CHECK(Skin::ParseRect(rect) == (Skin::Rect{l, t, r, bo}));
    FUZZ_CHECK(Skin::ParseSize(std::to_wstring(l) + L"," + std::to_wstring(t)) ==
               (Skin::Size{l, t}));
    FUZZ_CHECK(Skin::ParseColour(L"#" + FuzzInput::HexDigits(a, 8)) == a);
    FUZZ_CHECK(Skin::ParseColour(L"0x" + FuzzInput::HexDigits(a, 1)) == a);
    FUZZ_CHECK(Skin::ParseColour(L"#" + FuzzInput::HexDigits(a, 1)) == a);
    FUZZ_CHECK(Skin::ParseColour(L"-" + FuzzInput::HexDigits(a, 1)) ==
               static_cast<std::uint32_t>(0u - a));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint32_t words[4] = {};
    for (std::size_t i = 0; i < 16 && i < size; ++i)
        words[i / 4] = words[i / 4] << 8 | data[i];
    CheckRoundTrips(words[0], words[1], words[2], words[3]);

    const std::wstring text = FuzzInput::Wide(data, size);
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        CheckText(text.substr(start, end - start));
        start = end + 1;
    }
    return 0;
}
