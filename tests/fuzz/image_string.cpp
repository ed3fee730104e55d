// Image attributes of the skin ("file='a.png' corner='2,2,2,2' ..."): each line of the input
// is read; a value read as a list writes back to a list that reads the same, and the places it
// gives stay within the image and the control.
#include <cstdint>
#include <cstdio>
#include <string>

#include "skin/ImageString.h"
#include "skin/ValueSyntax.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

using Skin::ImageString;
using Skin::Rect;

std::wstring RectText(const Rect& r) {
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
           std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom);
}

std::wstring ColourText(std::uint32_t v) { return L"#" + FuzzInput::HexDigits(v, 8); }

std::wstring Written(const ImageString& s) {
    std::wstring out = L"file='" + s.file + L"' dest='" + RectText(s.dest) + L"' source='" +
                       RectText(s.source) + L"' corner='" + RectText(s.corner) + L"' fade='" +
                       std::to_wstring(s.fade) + L"' hole='" + (s.hole ? L"true" : L"false") +
                       L"' xtiled='" + (s.xtiled ? L"true" : L"false") + L"' ytiled='" +
                       (s.ytiled ? L"true" : L"false") + L"' res='" + s.res + L"' restype='" +
                       s.restype + L"' hsl='" + (s.hsl ? L"true" : L"false") + L"'";
    if (s.hasMask) out += L" mask='" + ColourText(s.mask) + L"'";
    if (s.hasColour) out += L" color='" + ColourText(s.colour) + L"'";
    return out;
}

bool Same(const ImageString& a, const ImageString& b) {
    return a.file == b.file && a.dest == b.dest && a.source == b.source && a.corner == b.corner &&
           a.hasMask == b.hasMask && a.mask == b.mask && a.fade == b.fade && a.hole == b.hole &&
           a.xtiled == b.xtiled && a.ytiled == b.ytiled && a.res == b.res &&
           a.restype == b.restype && a.hasColour == b.hasColour && a.colour == b.colour &&
           a.hsl == b.hsl;
}

void Check(const std::wstring& value, int imageWidth, int imageHeight) {
    const ImageString s = Skin::ParseImageString(value);
    FUZZ_CHECK(s.fade >= 0 && s.fade <= 255);
    // Without any pair the whole value is the file name.
    if (value.find(L'=') == std::wstring::npos) FUZZ_CHECK(s.file == value);

    const bool quotesInside = s.file.find(L'\'') != std::wstring::npos ||
                              s.res.find(L'\'') != std::wstring::npos ||
                              s.restype.find(L'\'') != std::wstring::npos;
    if (!quotesInside) {
        const ImageString again = Skin::ParseImageString(Written(s));
        FUZZ_CHECK(Same(again, s));
    }

    const Rect source = Skin::ImageSourceRect(s, imageWidth, imageHeight);
    FUZZ_CHECK(source.left >= 0 && source.top >= 0 && source.left <= source.right &&
               source.top <= source.bottom && source.right <= imageWidth &&
               source.bottom <= imageHeight);
    if (s.source.IsZero()) FUZZ_CHECK(source == (Rect{0, 0, imageWidth, imageHeight}));

    const Rect control{10, 20, 10 + imageWidth, 20 + imageHeight};
    const Rect dest = Skin::ImageDestination(s, control);
    if (s.dest.IsZero()) FUZZ_CHECK(dest == control);
    else FUZZ_CHECK(dest.right <= control.right && dest.bottom <= control.bottom);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const int width = data[0], height = data[1];
    const std::wstring text = FuzzInput::Wide(data + 2, size - 2);
    std::size_t start = 0;
    for (int lines = 0; lines < 8 && start <= text.size(); ++lines) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        Check(text.substr(start, end - start), width, height);
        start = end + 1;
    }
    return 0;
}
