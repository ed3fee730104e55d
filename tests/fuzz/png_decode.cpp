// PNG files through the skin's image reader (stb_image), with and without a colour mask: a
// decoded bitmap keeps within the limits, its pixels are pre-multiplied, and the reader's
// "translucent" answer agrees with the pixels.
#include <cstdint>

#include "skin/ImageDecode.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

void CheckBitmap(const Skin::DecodedImage& image) {
    const Skin::Bitmap& b = image.bitmap;
    if (b.Empty()) {
        FUZZ_CHECK(!image.translucent);
        return;
    }
    FUZZ_CHECK(b.Valid());
    FUZZ_CHECK(b.width <= Skin::kMaxImageSide && b.height <= Skin::kMaxImageSide);
    for (std::uint32_t p : b.pixels) {
        const std::uint8_t a = Skin::PixelAlpha(p);
        FUZZ_CHECK(Skin::PixelRed(p) <= a && Skin::PixelGreen(p) <= a && Skin::PixelBlue(p) <= a);
    }
    FUZZ_CHECK(image.translucent == Skin::HasTranslucentPixels(b));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Skin::DecodedImage plain = Skin::DecodePng(data, size);
    CheckBitmap(plain);
    if (plain.bitmap.Empty()) return 0;

    // Masking the colour of the first pixel clears exactly the pixels of that value.
    Skin::ImageDecodeOptions options;
    options.applyMask = true;
    options.mask = plain.bitmap.pixels[0];
    const Skin::DecodedImage masked = Skin::DecodePng(data, size, options);
    CheckBitmap(masked);
    FUZZ_CHECK(masked.bitmap.width == plain.bitmap.width &&
               masked.bitmap.height == plain.bitmap.height);
    for (std::size_t i = 0; i < plain.bitmap.pixels.size(); ++i) {
        const std::uint32_t before = plain.bitmap.pixels[i];
        FUZZ_CHECK(masked.bitmap.pixels[i] == (before == options.mask ? 0u : before));
    }
    Skin::Bitmap copy = plain.bitmap;
    Skin::ApplyMask(copy, options.mask);
    FUZZ_CHECK(copy.pixels == masked.bitmap.pixels);
    return 0;
}
