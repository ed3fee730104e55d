#pragma once
#include <string>

// The align and valign attributes of labels and everything derived from them.
namespace Skin {

enum class HorizontalAlign { Left, Center, Right };
enum class VerticalAlign { Top, Center, Bottom };

// Defaults: a label is left-aligned, a button and a progress bar centred; all of them are
// vertically centred.
//
// align: the value is searched for "left", "center" and "right", in this order, and the last
// word found wins ("leftright" is Right, "vcenter" is Center). Without any of them the current
// alignment stays.
HorizontalAlign ReadAlign(const std::wstring& value, HorizontalAlign current);

// valign: the words are "top", "vcenter" and "bottom" (last found wins). "center" alone is not
// one of them and keeps the current alignment.
VerticalAlign ReadVerticalAlign(const std::wstring& value, VerticalAlign current);

}  // namespace Skin
