#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "skin/ImageString.h"

namespace Skin {

class CUIManager;

// Drawing into a window's back buffer (a 32-bit DIB section).
COLORREF ToColorRef(std::uint32_t argb);
// A 32-bit top-down DIB section (pre-multiplied BGRA, top row first) and its pixels; null when
// the system refuses it.
HBITMAP CreateArgbBitmap(int width, int height, void** bits);
// Fills the rectangle with an ARGB colour, blending when its alpha is below 255; 0 draws
// nothing.
void FillColor(HDC dc, const RECT& rect, std::uint32_t argb);
// A border of the given widths per side in an ARGB colour; with a corner ellipse the border
// follows the rounded outline.
void DrawBorder(HDC dc, const RECT& rect, const RECT& widths, std::uint32_t argb, SIZE round);
// Draws an image string (a file name, or key='value' pairs) over the control's rectangle with
// the window's images; false when the image could not be loaded or drawn.
bool DrawImageString(HDC dc, CUIManager& manager, const std::wstring& image, const RECT& control);
bool DrawParsedImage(HDC dc, CUIManager& manager, const ImageString& image, const RECT& control);

}  // namespace Skin
