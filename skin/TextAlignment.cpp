#include "skin/TextAlignment.h"

namespace Skin {

namespace {

bool Contains(const std::wstring& value, const wchar_t* word) {
    return value.find(word) != std::wstring::npos;
}

}  // namespace

HorizontalAlign ReadAlign(const std::wstring& value, HorizontalAlign current) {
    if (Contains(value, L"left")) current = HorizontalAlign::Left;
    if (Contains(value, L"center")) current = HorizontalAlign::Center;
    if (Contains(value, L"right")) current = HorizontalAlign::Right;
    return current;
}

VerticalAlign ReadVerticalAlign(const std::wstring& value, VerticalAlign current) {
    if (Contains(value, L"top")) current = VerticalAlign::Top;
    if (Contains(value, L"vcenter")) current = VerticalAlign::Center;
    if (Contains(value, L"bottom")) current = VerticalAlign::Bottom;
    return current;
}

}  // namespace Skin
