#include "skin/ImageDecode.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "skin/ImageString.h"

namespace {

using Skin::Bitmap;
using Skin::DecodedImage;
using Skin::DecodePng;

// --- A tiny PNG writer, so that the tests can say exactly which pixels go in ----------------
// Rows are stored unfiltered and the zlib stream uses stored blocks only.

std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char ch : bytes) {
        crc ^= static_cast<unsigned char>(ch);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(v >> shift));
}

void PutChunk(std::string& png, const char* type, const std::string& data) {
    PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
    const std::string body = std::string(type, 4) + data;
    png += body;
    PutBigEndian(png, Crc32(body));
}

std::string StoredZlib(const std::string& raw) {
    std::string z = "\x78\x01";
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - pos, 65535);
        const bool last = pos + n == raw.size();
        z.push_back(static_cast<char>(last ? 1 : 0));
        z.push_back(static_cast<char>(n & 0xFF));
        z.push_back(static_cast<char>(n >> 8));
        z.push_back(static_cast<char>(~n & 0xFF));
        z.push_back(static_cast<char>((~n >> 8) & 0xFF));
        z += raw.substr(pos, n);
        pos += n;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (const char ch : raw) {
        a = (a + static_cast<unsigned char>(ch)) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(z, (b << 16) | a);
    return z;
}

struct PngImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 8;
    int colourType = 6;        // 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
    std::string rows;          // samples of every row, without filter bytes
    std::string palette;       // PLTE: r,g,b per entry
    std::string transparency;  // tRNS
};

std::string EncodePng(const PngImage& image) {
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBigEndian(header, image.width);
    PutBigEndian(header, image.height);
    header += {static_cast<char>(image.bitDepth), static_cast<char>(image.colourType), 0, 0, 0};
    PutChunk(png, "IHDR", header);
    if (!image.palette.empty()) PutChunk(png, "PLTE", image.palette);
    if (!image.transparency.empty()) PutChunk(png, "tRNS", image.transparency);
    // Rows that do not divide evenly (the damaged headers below) go in as they are.
    std::string raw = image.rows;
    if (image.height > 0 && image.rows.size() >= image.height &&
        image.rows.size() % image.height == 0) {
        const std::size_t stride = image.rows.size() / image.height;
        raw.clear();
        for (std::uint32_t y = 0; y < image.height; ++y) {
            raw.push_back('\0');
            raw += image.rows.substr(y * stride, stride);
        }
    }
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", "");
    return png;
}

using Rgba = std::array<std::uint8_t, 4>;

std::string RgbaPng(std::uint32_t width, std::uint32_t height, const std::vector<Rgba>& pixels) {
    PngImage image;
    image.width = width;
    image.height = height;
    for (const Rgba& p : pixels) image.rows.append(reinterpret_cast<const char*>(p.data()), 4);
    return EncodePng(image);
}

DecodedImage Decode(const std::string& bytes, const Skin::ImageDecodeOptions& options = {}) {
    return DecodePng(bytes.data(), bytes.size(), options);
}

// --- The skin's own images ----------------------------------------------------------------------

std::string ResDir() {
    std::string path = __FILE__;
    for (int up = 0; up < 3; ++up) {
        const std::size_t slash = path.find_last_of("/\\");
        path = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    }
    return path + "/skin/data/res/";
}

std::string ReadRes(const std::string& name) {
    std::ifstream in(ResDir() + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A running hash over every pixel in order, to compare whole images with values computed
// by an independent decoder.
std::uint32_t PixelHash(const Bitmap& bitmap) {
    std::uint32_t h = 0;
    for (const std::uint32_t p : bitmap.pixels) h = h * 31 + p;
    return h;
}

struct ProbePixel {
    int x;
    int y;
    std::uint32_t value;
};

struct SkinImageCase {
    const char* file;
    int width;
    int height;
    bool translucent;
    std::uint32_t hash;
    std::vector<ProbePixel> probes;
};

TEST(ImageDecode, SkinImages) {
    const SkinImageCase cases[] = {
        // Palette image with a tRNS chunk: the transparency table gives the alpha.
        {"mainWnd/customeBtn1.png", 16, 16, true, 0x36de5fd1u,
         {{0, 0, 0x00000000u}, {3, 8, 0x00000000u}, {8, 8, 0x9e3d3e4du}}},
        // RGBA progress track and fill, with translucent rounded ends.
        {"mainWnd/installPrg1.png", 410, 8, true, 0x696fa903u,
         {{0, 0, 0x3d303336u}, {1, 1, 0xffe2ebf8u}, {200, 4, 0xffe0e7f2u}}},
        {"mainWnd/installPrg2.png", 305, 8, true, 0x7f1b1ea3u,
         {{0, 0, 0x3d1d2c3du}, {1, 1, 0xff74bdffu}, {200, 4, 0xff1f6ef7u}}},
        // Fully opaque background.
        {"mainWnd/bg1.png", 600, 400, false, 0xfd1181e3u,
         {{0, 0, 0xff2d4d84u}, {300, 200, 0xfffbfdffu}}},
        {"common/closebtn1.png", 24, 24, true, 0xf4fa8a20u,
         {{0, 0, 0x00000000u}, {12, 12, 0xffffffffu}}},
    };
    for (const SkinImageCase& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string bytes = ReadRes(c.file);
        ASSERT_FALSE(bytes.empty()) << "cannot read " << ResDir() << c.file;
        const DecodedImage image = Decode(bytes);
        ASSERT_EQ(image.bitmap.width, c.width);
        ASSERT_EQ(image.bitmap.height, c.height);
        ASSERT_TRUE(image.bitmap.Valid());
        EXPECT_EQ(image.translucent, c.translucent);
        EXPECT_EQ(PixelHash(image.bitmap), c.hash);
        for (const ProbePixel& p : c.probes) {
            EXPECT_EQ(image.bitmap.At(p.x, p.y), p.value) << p.x << "," << p.y;
        }
    }
}

TEST(ImageDecode, EverySkinImageDecodes) {
    const char* const files[] = {
        "MessageBoxWnd/icoNetwork.png", "MessageBoxWnd/icoQuest.png", "MessageBoxWnd/icoWarn.png",
        "common/closebtn2.png",         "common/closebtnM_1.png",     "common/minbtn3.png",
        "mainWnd/Cb1.png",              "mainWnd/customeBtn2.png",    "mainWnd/logo.png",
        "mainWnd/installDirEdit.png",   "mainWnd/installBtnAnimate/000.png",
        "mainWnd/installBtnAnimate/025.png"};
    for (const char* file : files) {
        const std::string bytes = ReadRes(file);
        ASSERT_FALSE(bytes.empty()) << "cannot read " << ResDir() << file;
        const DecodedImage image = Decode(bytes);
        EXPECT_TRUE(image.bitmap.Valid() && !image.bitmap.Empty()) << file;
        // Pre-multiplied: no colour channel above alpha.
        for (const std::uint32_t p : image.bitmap.pixels) {
            const auto a = Skin::PixelAlpha(p);
            ASSERT_TRUE(Skin::PixelRed(p) <= a && Skin::PixelGreen(p) <= a &&
                        Skin::PixelBlue(p) <= a)
                << file << std::hex << " 0x" << p;
        }
    }
}

// --- Pre-multiplication ------------------------------------------------------------------------

struct PremultiplyCase {
    Rgba in;
    std::uint32_t out;
};

const PremultiplyCase kPremultiply[] = {
    {{255, 128, 0, 255}, 0xFFFF8000u},    // opaque: colour kept
    {{255, 255, 255, 128}, 0x80808080u},  // 255 * 128 / 255
    {{200, 100, 50, 0}, 0x00000000u},     // transparent: colour gone
    {{255, 0, 0, 1}, 0x01010000u},
    {{10, 20, 30, 254}, 0xFE09131Du},     // rounded down: 9.96, 19.92, 29.88
    {{100, 150, 200, 127}, 0x7F314A63u},  // 49.8, 74.7, 99.6
};

TEST(ImageDecode, PremultiplyPixel) {
    for (const PremultiplyCase& c : kPremultiply) {
        EXPECT_EQ(Skin::PremultiplyPixel(c.in[0], c.in[1], c.in[2], c.in[3]), c.out);
    }
}

TEST(ImageDecode, PremultipliesInRowOrder) {
    // One row per case, two pixels per row: the case's pixel, then opaque black.
    std::vector<Rgba> pixels;
    for (const PremultiplyCase& c : kPremultiply) {
        pixels.push_back(c.in);
        pixels.push_back({0, 0, 0, 255});
    }
    const auto rows = static_cast<std::uint32_t>(std::size(kPremultiply));
    const DecodedImage image = Decode(RgbaPng(2, rows, pixels));
    ASSERT_EQ(image.bitmap.width, 2);
    ASSERT_EQ(image.bitmap.height, static_cast<int>(rows));
    EXPECT_TRUE(image.translucent);
    for (int y = 0; y < static_cast<int>(rows); ++y) {
        EXPECT_EQ(image.bitmap.At(0, y), kPremultiply[y].out) << "row " << y;
        EXPECT_EQ(image.bitmap.At(1, y), 0xFF000000u) << "row " << y;
    }
    // Bytes in memory: blue, green, red, alpha.
    const auto* bytes = reinterpret_cast<const unsigned char*>(image.bitmap.pixels.data());
    const std::uint32_t first = image.bitmap.pixels[0];
    const unsigned char expected[4] = {Skin::PixelBlue(first), Skin::PixelGreen(first),
                                       Skin::PixelRed(first), Skin::PixelAlpha(first)};
    if (bytes[3] == expected[3]) {  // little-endian hosts, all the installer runs on
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes), 4),
                  std::string(reinterpret_cast<const char*>(expected), 4));
    }
}

struct FormatCase {
    const char* name;
    PngImage png;
    bool translucent;
    std::vector<std::uint32_t> pixels;
};

TEST(ImageDecode, OtherPngFormats) {
    const FormatCase cases[] = {
        {"palette with tRNS",
         {2, 1, 8, 3, std::string("\x00\x01", 2), std::string("\xFF\x00\x00\x00\x00\xFF", 6),
          std::string("\x80", 1)},
         true,
         {0x80800000u, 0xFF0000FFu}},  // entry 1 has no alpha entry: opaque
        {"RGB without alpha", {2, 1, 8, 2, std::string("\x10\x20\x30\xFF\xFE\xFD", 6), "", ""},
         false,
         {0xFF102030u, 0xFFFFFEFDu}},
        {"grey", {2, 1, 8, 0, std::string("\x00\x7F", 2), "", ""}, false,
         {0xFF000000u, 0xFF7F7F7Fu}},
        {"grey with alpha", {1, 1, 8, 4, std::string("\xFF\x33", 2), "", ""}, true,
         {0x33333333u}},
        {"16-bit RGBA", {1, 1, 16, 6, std::string("\xFF\xFF\x80\x00\x00\x00\xFF\xFF", 8), "", ""},
         false,
         {0xFFFF8000u}},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        const DecodedImage image = Decode(EncodePng(c.png));
        ASSERT_EQ(image.bitmap.width, static_cast<int>(c.png.width));
        ASSERT_EQ(image.bitmap.height, static_cast<int>(c.png.height));
        EXPECT_EQ(image.bitmap.pixels, c.pixels);
        EXPECT_EQ(image.translucent, c.translucent);
    }
}

// --- The mask ----------------------------------------------------------------------------------

struct MaskCase {
    const wchar_t* imageString;
    std::vector<std::uint32_t> after;
    bool translucent;
};

TEST(ImageDecode, MaskComparesThePremultipliedValue) {
    // Opaque red, opaque green, half-transparent white (0x80808080 once converted).
    const std::string png =
        RgbaPng(3, 1, {{255, 0, 0, 255}, {0, 255, 0, 255}, {255, 255, 255, 128}});
    const MaskCase cases[] = {
        // "#FF0000" carries alpha 0: no converted pixel can equal it.
        {L"file='a.png' mask='#FF0000'", {0xFFFF0000u, 0xFF00FF00u, 0x80808080u}, true},
        {L"file='a.png' mask='#FFFF0000'", {0x00000000u, 0xFF00FF00u, 0x80808080u}, true},
        {L"file='a.png' mask='0xFF00FF00'", {0xFFFF0000u, 0x00000000u, 0x80808080u}, true},
        // Compared after pre-multiplication, not with the file's straight colour.
        {L"file='a.png' mask='#80808080'", {0xFFFF0000u, 0xFF00FF00u, 0x00000000u}, true},
        {L"file='a.png' mask='#80FFFFFF'", {0xFFFF0000u, 0xFF00FF00u, 0x80808080u}, true},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const MaskCase& c = cases[i];
        SCOPED_TRACE(testing::Message() << "case " << i);
        const Skin::ImageString image = Skin::ParseImageString(c.imageString);
        ASSERT_TRUE(image.hasMask);
        const DecodedImage decoded = Decode(png, {image.hasMask, image.mask});
        EXPECT_EQ(decoded.bitmap.pixels, c.after);
        EXPECT_EQ(decoded.translucent, c.translucent);
    }
}

TEST(ImageDecode, MaskMakesAnOpaqueImageTranslucent) {
    const std::string png = RgbaPng(2, 1, {{255, 0, 0, 255}, {0, 0, 255, 255}});
    EXPECT_FALSE(Decode(png).translucent);
    const DecodedImage masked = Decode(png, {true, 0xFF0000FFu});
    EXPECT_EQ(masked.bitmap.pixels, (std::vector<std::uint32_t>{0xFFFF0000u, 0u}));
    EXPECT_TRUE(masked.translucent);

    Bitmap bitmap = Decode(png).bitmap;
    EXPECT_EQ(Skin::ApplyMask(bitmap, 0xFFFF0000u), 1u);
    EXPECT_EQ(Skin::ApplyMask(bitmap, 0xFFFF0000u), 0u);
    EXPECT_EQ(Skin::ApplyMask(bitmap, 0u), 0u);
    EXPECT_TRUE(Skin::HasTranslucentPixels(bitmap));
}

TEST(ImageDecode, ProgressBarMaskChangesNothing) {
    const std::string bytes = ReadRes("mainWnd/installPrg1.png");
    ASSERT_FALSE(bytes.empty());
    const Skin::ImageString image = Skin::ParseImageString(
        L"file='res\\mainWnd\\installPrg1.png' corner='2,2,2,2' mask='#FF0000' fade='255' "
        L"hole='false' xtiled='false' ytiled='false'");
    EXPECT_EQ(Decode(bytes, {image.hasMask, image.mask}).bitmap.pixels,
              Decode(bytes).bitmap.pixels);
}

// --- Bad input ---------------------------------------------------------------------------------

std::string WithHeaderSize(std::uint32_t width, std::uint32_t height) {
    PngImage image;
    image.width = width;
    image.height = height;
    image.rows = std::string(4, '\x7F');  // far too little data, whatever the size
    return EncodePng(image);
}

TEST(ImageDecode, BadDataGivesAnEmptyBitmap) {
    const std::string good =
        RgbaPng(2, 2, {{1, 2, 3, 255}, {4, 5, 6, 255}, {7, 8, 9, 255}, {0, 0, 0, 0}});
    std::string badIdat = good;
    badIdat[good.find("IDAT") + 4] = '\x7F';  // zlib header that is not one
    const std::string cases[] = {
        "",
        "not a png at all",
        "\x89PNG\r\n\x1a\n",
        std::string(good.data(), 33),  // signature and header chunk only
        badIdat,
        WithHeaderSize(0, 1),
        WithHeaderSize(1, 0),
        WithHeaderSize(16385, 1),                 // beyond the decoder's side limit
        WithHeaderSize(1, 0x7FFFFFFFu),
        WithHeaderSize(0xFFFFFFFFu, 0xFFFFFFFFu),
        WithHeaderSize(16384, 16384),             // sides allowed, pixel count not
        WithHeaderSize(2, 2),                     // rows missing
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const DecodedImage image = Decode(cases[i]);
        EXPECT_TRUE(image.bitmap.Empty()) << "case " << i;
        EXPECT_TRUE(image.bitmap.Valid()) << "case " << i;
        EXPECT_EQ(image.bitmap.width, 0) << "case " << i;
        EXPECT_FALSE(image.translucent) << "case " << i;
    }
    EXPECT_TRUE(DecodePng(nullptr, 100).bitmap.Empty());
    EXPECT_EQ(Decode(good).bitmap.width, 2);
    EXPECT_EQ(Decode(good + "trailing bytes").bitmap.width, 2);
}

TEST(ImageDecode, EveryTruncationIsRefused) {
    for (const std::string& file :
         {ReadRes("mainWnd/customeBtn1.png"), ReadRes("common/minbtn1.png")}) {
        ASSERT_FALSE(file.empty());
        for (std::size_t n = 0; n < file.size(); ++n) {
            // Without its end chunk the file is refused as well: only whole files decode.
            const std::string cut = file.substr(0, n);
            EXPECT_TRUE(DecodePng(cut.data(), cut.size()).bitmap.Empty()) << n;
        }
    }
}

TEST(ImageDecode, DamagedBytesNeverCrash) {
    // Each byte of a real file in turn flipped: whatever comes out is a consistent bitmap.
    const std::string file = ReadRes("mainWnd/Cb1.png");
    ASSERT_FALSE(file.empty());
    for (std::size_t i = 0; i < file.size(); ++i) {
        std::string damaged = file;
        damaged[i] = static_cast<char>(damaged[i] ^ 0xA5);
        const DecodedImage image = Decode(damaged);
        ASSERT_TRUE(image.bitmap.Valid()) << i;
        if (!image.bitmap.Empty()) {
            EXPECT_EQ(image.bitmap.width, 15) << i;
            EXPECT_EQ(image.bitmap.height, 14) << i;
        }
    }
}

TEST(ImageDecode, MakeBitmap) {
    const Bitmap b = Skin::MakeBitmap(3, 2, 0xFF102030u);
    EXPECT_EQ(b.width, 3);
    EXPECT_EQ(b.height, 2);
    EXPECT_EQ(b.pixels, std::vector<std::uint32_t>(6, 0xFF102030u));
    EXPECT_TRUE(Skin::MakeBitmap(0, 5).Empty());
    EXPECT_TRUE(Skin::MakeBitmap(-1, 5).Empty());
    EXPECT_TRUE(Skin::MakeBitmap(Skin::kMaxImageSide + 1, 1).Empty());
    Bitmap wrong = b;
    wrong.pixels.pop_back();
    EXPECT_FALSE(wrong.Valid());
}

}  // namespace
