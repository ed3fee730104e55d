#include "skin/UIRender.h"

#include "skin/ImageDraw.h"
#include "skin/UIManager.h"

namespace Skin {
namespace {

Rect ToRect(const RECT& r) { return Rect{r.left, r.top, r.right, r.bottom}; }

void Blend(HDC dc, const RECT& rect, HDC source, int sx, int sy, int sw, int sh, BYTE alpha) {
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    AlphaBlend(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source,
               sx, sy, sw, sh, blend);
}

}  // namespace

COLORREF ToColorRef(std::uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

HBITMAP CreateArgbBitmap(int width, int height, void** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    if (bitmap && !*bits) {
        DeleteObject(bitmap);
        return nullptr;
    }
    return bitmap;
}

void FillColor(HDC dc, const RECT& rect, std::uint32_t argb) {
    if (argb == 0 || rect.right <= rect.left || rect.bottom <= rect.top) return;
    const BYTE alpha = static_cast<BYTE>(argb >> 24);
    if (alpha == 255) {
        HBRUSH brush = CreateSolidBrush(ToColorRef(argb));
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        return;
    }
    if (alpha == 0) return;
    // One pre-multiplied pixel stretched over the rectangle.
    void* bits = nullptr;
    HBITMAP pixel = CreateArgbBitmap(1, 1, &bits);
    if (!pixel) return;
    const std::uint32_t r = (argb >> 16 & 0xFF) * alpha / 255, g = (argb >> 8 & 0xFF) * alpha / 255,
                        b = (argb & 0xFF) * alpha / 255;
    *static_cast<std::uint32_t*>(bits) = std::uint32_t{alpha} << 24 | r << 16 | g << 8 | b;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, pixel);
    Blend(dc, rect, source, 0, 0, 1, 1, 255);
    SelectObject(source, old);
    DeleteDC(source);
    DeleteObject(pixel);
}

void DrawBorder(HDC dc, const RECT& rect, const RECT& widths, std::uint32_t argb, SIZE round) {
    if (argb == 0) return;
    if (round.cx > 0 || round.cy > 0) {
        if (widths.left <= 0) return;
        HPEN pen = CreatePen(PS_SOLID, widths.left, ToColorRef(argb));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, round.cx, round.cy);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
        return;
    }
    const RECT sides[] = {
        {rect.left, rect.top, rect.left + widths.left, rect.bottom},
        {rect.left, rect.top, rect.right, rect.top + widths.top},
        {rect.right - widths.right, rect.top, rect.right, rect.bottom},
        {rect.left, rect.bottom - widths.bottom, rect.right, rect.bottom}};
    for (const RECT& side : sides) FillColor(dc, side, argb | 0xFF000000u);
}

bool DrawParsedImage(HDC dc, CUIManager& manager, const ImageString& image, const RECT& control) {
    if (image.file.empty()) return false;
    const UIImage* decoded = manager.GetImage(image.file, image.hasMask, image.mask);
    if (!decoded || !decoded->dib) return false;
    RECT clip;
    if (GetClipBox(dc, &clip) == ERROR) clip = control;
    const std::vector<BlitOp> ops =
        PlanImageBlits(image, ToRect(control), Size{decoded->bitmap.width, decoded->bitmap.height},
                       ToRect(clip));
    if (ops.empty()) return true;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, decoded->dib);
    for (const BlitOp& op : ops) {
        const RECT dest = {op.dest.left, op.dest.top, op.dest.right, op.dest.bottom};
        Blend(dc, dest, source, op.source.left, op.source.top, op.source.right - op.source.left,
              op.source.bottom - op.source.top, op.alpha);
    }
    SelectObject(source, old);
    DeleteDC(source);
    return true;
}

bool DrawImageString(HDC dc, CUIManager& manager, const std::wstring& image, const RECT& control) {
    if (image.empty()) return false;
    return DrawParsedImage(dc, manager, ParseImageString(image), control);
}

}  // namespace Skin
