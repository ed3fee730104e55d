#include "skin/ImageString.h"

#include "skin/ValueSyntax.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace Skin {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

void ApplyKey(ImageString& image, const std::wstring& key, const std::wstring& value) {
    if (key == L"file") {
        image.file = value;
    } else if (key == L"res") {
        image.res = value;
    } else if (key == L"restype") {
        image.restype = value;
    } else if (key == L"dest") {
        image.dest = ParseRect(value);
    } else if (key == L"source") {
        image.source = ParseRect(value);
    } else if (key == L"corner" || key == L"scale9") {
        image.corner = ParseRect(value);
    } else if (key == L"mask") {
        image.hasMask = true;
        image.mask = ParseColour(value);
    } else if (key == L"color") {
        image.hasColour = true;
        image.colour = ParseColour(value);
    } else if (key == L"fade") {
        image.fade = std::clamp(ParseInteger(value), 0, 255);
    } else if (key == L"hole") {
        image.hole = ParseBoolean(value);
    } else if (key == L"xtiled") {
        image.xtiled = ParseBoolean(value);
    } else if (key == L"ytiled") {
        image.ytiled = ParseBoolean(value);
    } else if (key == L"hsl") {
        image.hsl = ParseBoolean(value);
    }
}

}  // namespace

ImageString ParseImageString(const std::wstring& value) {
    ImageString image;
    const std::size_t n = value.size();
    std::size_t pos = 0;
    bool anyPair = false;
    while (pos < n) {
        while (pos < n && IsBlank(value[pos])) ++pos;
        if (pos >= n) break;
        const std::size_t keyStart = pos;
        while (pos < n && value[pos] != L'=' && !IsBlank(value[pos])) ++pos;
        const std::wstring key = value.substr(keyStart, pos - keyStart);
        while (pos < n && IsBlank(value[pos])) ++pos;
        if (pos >= n || value[pos] != L'=') break;
        ++pos;
        while (pos < n && IsBlank(value[pos])) ++pos;
        if (pos >= n || value[pos] != L'\'') break;
        ++pos;
        const std::size_t valueStart = pos;
        while (pos < n && value[pos] != L'\'') ++pos;
        if (pos >= n) break;
        const std::wstring keyValue = value.substr(valueStart, pos - valueStart);
        ++pos;
        if (!anyPair) {
            anyPair = true;
            image.file.clear();
        }
        ApplyKey(image, key, keyValue);
        if (pos >= n) break;
        if (value[pos] != L' ') break;
        ++pos;
    }
    if (!anyPair) image.file = value;
    return image;
}

Rect ImageDestination(const ImageString& image, const Rect& control) {
    if (image.dest.IsZero()) return control;
    const long long left = static_cast<long long>(control.left) + image.dest.left;
    const long long top = static_cast<long long>(control.top) + image.dest.top;
    const long long right = std::min<long long>(
        control.right, static_cast<long long>(control.left) + image.dest.right);
    const long long bottom = std::min<long long>(
        control.bottom, static_cast<long long>(control.top) + image.dest.bottom);
    auto fit = [](long long v) {
        return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min(),
                                                      std::numeric_limits<int>::max()));
    };
    return Rect{fit(left), fit(top), fit(right), fit(bottom)};
}

Rect ImageSourceRect(const ImageString& image, int imageWidth, int imageHeight) {
    const int w = std::max(imageWidth, 0);
    const int h = std::max(imageHeight, 0);
    if (image.source.IsZero()) return Rect{0, 0, w, h};
    Rect r;
    r.left = std::clamp(image.source.left, 0, w);
    r.top = std::clamp(image.source.top, 0, h);
    r.right = std::clamp(image.source.right, r.left, w);
    r.bottom = std::clamp(image.source.bottom, r.top, h);
    return r;
}

}  // namespace Skin
