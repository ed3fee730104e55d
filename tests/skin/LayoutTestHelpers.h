#pragma once
#include <string>

#include "skin/LayoutMath.h"

// Shared by the layout tests: nodes built in one line and a text measure with simple numbers.
namespace SkinTest {

inline Skin::LayoutNode Node(Skin::LayoutKind kind, int width = 0, int height = 0) {
    Skin::LayoutNode n;
    n.kind = kind;
    n.fixedWidth = width;
    n.fixedHeight = height;
    return n;
}

inline Skin::LayoutNode Spacer(int width = 0, int height = 0) {
    return Node(Skin::LayoutKind::Control, width, height);
}

// Every character is 10 pixels wide; fonts are 16 pixels high plus their id; wrapped lines
// are 20 pixels apart.
class FakeMeasure : public Skin::TextMeasure {
public:
    int CharHeight(int font) const override { return 16 + (font > 0 ? font : 0); }
    Skin::Size LineExtent(const std::wstring& text, int) const override {
        return Skin::Size{static_cast<int>(text.size()) * 10, 20};
    }
    int WrappedHeight(const std::wstring& text, int, int width) const override {
        const int total = static_cast<int>(text.size()) * 10;
        if (total == 0) return 0;
        if (width <= 0) return static_cast<int>(text.size()) * 20;
        return (total + width - 1) / width * 20;
    }
};

}  // namespace SkinTest
