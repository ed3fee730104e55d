#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Decoding of the skin's PNG images into the 32-bit pixels that the renderer blends.
//
// A pixel is one 32-bit value: alpha in the top byte, then red, green and blue, so that in
// memory (little endian) the bytes run blue, green, red, alpha, the order of a Windows DIB.
// Colours are pre-multiplied by alpha: a pixel with alpha 255 keeps its colour, any other has
// each colour channel multiplied by alpha and divided by 255 (rounded down).
namespace Skin {

// Larger images are refused: no skin image comes near these, and they keep a hostile file
// from asking for gigabytes (the installer is a 32-bit process).
constexpr int kMaxImageSide = 16384;                          // width or height
constexpr std::size_t kMaxImagePixels = std::size_t{1} << 26;  // 64 Mi pixels, 256 MiB

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // width * height values, top row first

    bool Empty() const { return width <= 0 || height <= 0 || pixels.empty(); }
    // True when the sizes are within the limits above and the pixel vector matches them.
    bool Valid() const;
    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    std::uint32_t& At(int x, int y) {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

// A bitmap of the given size with every pixel set to `fill`; empty when a size is not
// positive or beyond the limits.
Bitmap MakeBitmap(int width, int height, std::uint32_t fill = 0);

inline std::uint32_t PackPixel(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return (std::uint32_t{a} << 24) | (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) |
           std::uint32_t{b};
}
inline std::uint8_t PixelAlpha(std::uint32_t p) { return static_cast<std::uint8_t>(p >> 24); }
inline std::uint8_t PixelRed(std::uint32_t p) { return static_cast<std::uint8_t>(p >> 16); }
inline std::uint8_t PixelGreen(std::uint32_t p) { return static_cast<std::uint8_t>(p >> 8); }
inline std::uint8_t PixelBlue(std::uint32_t p) { return static_cast<std::uint8_t>(p); }

// One straight (not pre-multiplied) RGBA pixel as the decoder stores it.
std::uint32_t PremultiplyPixel(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a);

struct ImageDecodeOptions {
    bool applyMask = false;
    std::uint32_t mask = 0;  // compared with the pre-multiplied pixel, alpha on top
};

struct DecodedImage {
    Bitmap bitmap;             // empty when the data could not be decoded
    bool translucent = false;  // some pixel has alpha below 255 (after the mask, if any):
                               // the image needs per-pixel blending, an opaque one can be
                               // copied
};

// Decodes a PNG file held in memory. Data that is not a PNG, is truncated or damaged, or
// describes an image beyond the limits gives an empty bitmap.
DecodedImage DecodePng(const void* data, std::size_t size, const ImageDecodeOptions& options = {});

// Makes every pixel whose value equals `mask` fully transparent (0). Returns how many
// pixels changed. Since pre-multiplied pixels of alpha 0 are all 0, a mask written without
// alpha ("#FF0000" is 0x00FF0000) matches nothing; "#FFFF0000" clears opaque red.
std::size_t ApplyMask(Bitmap& bitmap, std::uint32_t mask);

// Whether some pixel has alpha below 255.
bool HasTranslucentPixels(const Bitmap& bitmap);

}  // namespace Skin
