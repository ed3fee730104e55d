#include "skin/ImageDecode.h"

#include <climits>
#include <new>
#include <utility>

// stb_image, compiled here and nowhere else: PNG only, from memory only, with its functions
// kept private to this file. Its own warnings are not ours to fix.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STBI_MAX_DIMENSIONS 16384
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#elif defined(_MSC_VER)
#pragma warning(push, 0)
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#elif defined(_MSC_VER)
#pragma warning(pop)
#endif

static_assert(Skin::kMaxImageSide == STBI_MAX_DIMENSIONS, "decoder limit and ours differ");

namespace Skin {

namespace {

bool SizeAllowed(long long width, long long height) {
    if (width <= 0 || height <= 0) return false;
    if (width > kMaxImageSide || height > kMaxImageSide) return false;
    return static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) <=
           kMaxImagePixels;
}

// Whether the chunks of a PNG file run from its signature to a complete end chunk, each
// with all of its declared bytes present. The decoder itself reads missing bytes as zeros
// and so would take a file cut off inside its last chunk; only whole files are wanted here.
bool WholePngFile(const unsigned char* bytes, std::size_t size) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < sizeof kSignature) return false;
    for (std::size_t i = 0; i < sizeof kSignature; ++i) {
        if (bytes[i] != kSignature[i]) return false;
    }
    std::size_t pos = sizeof kSignature;
    while (size - pos >= 12) {  // length, type, data, CRC
        const std::uint32_t length = (std::uint32_t{bytes[pos]} << 24) |
                                     (std::uint32_t{bytes[pos + 1]} << 16) |
                                     (std::uint32_t{bytes[pos + 2]} << 8) | bytes[pos + 3];
        if (length > size - pos - 12) return false;
        const unsigned char* type = bytes + pos + 4;
        if (type[0] == 'I' && type[1] == 'E' && type[2] == 'N' && type[3] == 'D') return true;
        pos += 12 + static_cast<std::size_t>(length);
    }
    return false;
}

struct StbPixels {
    stbi_uc* data = nullptr;
    ~StbPixels() { stbi_image_free(data); }
};

}  // namespace

bool Bitmap::Valid() const {
    if (width == 0 && height == 0) return pixels.empty();
    return SizeAllowed(width, height) &&
           pixels.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

Bitmap MakeBitmap(int width, int height, std::uint32_t fill) {
    Bitmap bitmap;
    if (!SizeAllowed(width, height)) return bitmap;
    try {
        bitmap.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                             fill);
    } catch (const std::bad_alloc&) {
        return Bitmap{};
    }
    bitmap.width = width;
    bitmap.height = height;
    return bitmap;
}

std::uint32_t PremultiplyPixel(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    if (a == 255) return PackPixel(a, r, g, b);
    const unsigned alpha = a;
    return PackPixel(a, static_cast<std::uint8_t>(r * alpha / 255),
                     static_cast<std::uint8_t>(g * alpha / 255),
                     static_cast<std::uint8_t>(b * alpha / 255));
}

DecodedImage DecodePng(const void* data, std::size_t size, const ImageDecodeOptions& options) {
    DecodedImage result;
    // stb_image takes an int length; anything larger is no skin image.
    if (data == nullptr || size == 0 || size > static_cast<std::size_t>(INT_MAX)) return result;
    const auto* bytes = static_cast<const stbi_uc*>(data);
    const int length = static_cast<int>(size);
    if (!WholePngFile(bytes, size)) return result;

    // Look at the header first, so that a refused size never reaches the allocation.
    int width = 0;
    int height = 0;
    int channels = 0;
    if (stbi_info_from_memory(bytes, length, &width, &height, &channels) == 0) return result;
    if (!SizeAllowed(width, height)) return result;

    StbPixels rgba;
    rgba.data = stbi_load_from_memory(bytes, length, &width, &height, &channels, 4);
    if (rgba.data == nullptr || !SizeAllowed(width, height)) return result;

    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    Bitmap bitmap;
    try {
        bitmap.pixels.resize(count);
    } catch (const std::bad_alloc&) {
        return result;
    }
    bitmap.width = width;
    bitmap.height = height;
    const stbi_uc* in = rgba.data;
    for (std::size_t i = 0; i < count; ++i, in += 4) {
        bitmap.pixels[i] = PremultiplyPixel(in[0], in[1], in[2], in[3]);
    }
    if (options.applyMask) ApplyMask(bitmap, options.mask);
    result.translucent = HasTranslucentPixels(bitmap);
    result.bitmap = std::move(bitmap);
    return result;
}

std::size_t ApplyMask(Bitmap& bitmap, std::uint32_t mask) {
    if (mask == 0) return 0;  // a match would already be transparent
    std::size_t changed = 0;
    for (std::uint32_t& p : bitmap.pixels) {
        if (p == mask) {
            p = 0;
            ++changed;
        }
    }
    return changed;
}

bool HasTranslucentPixels(const Bitmap& bitmap) {
    for (const std::uint32_t p : bitmap.pixels) {
        if (PixelAlpha(p) != 255) return true;
    }
    return false;
}

}  // namespace Skin
