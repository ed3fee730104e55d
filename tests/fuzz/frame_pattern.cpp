// Frame-name patterns of the animation controls and progress labels ("res\a\%.3d.png"): what the
// pattern reader accepts must read as printf reads it. The first four input bytes are the
// frame number, the rest the pattern.
#include <cstdint>
#include <cstdio>
#include <string>

#include "skin/FramePattern.h"
#include "tests/fuzz/FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const std::uint32_t frame = static_cast<std::uint32_t>(data[0]) << 24 |
                                static_cast<std::uint32_t>(data[1]) << 16 |
                                static_cast<std::uint32_t>(data[2]) << 8 | data[3];
    const std::wstring pattern = FuzzInput::Wide(data + 4, size - 4);
    const std::wstring name = Skin::FormatFramePattern(pattern, frame);
    FUZZ_CHECK(name.size() <= 259);
    if (name.empty()) return 0;

    // An accepted ASCII pattern, given to the C library.
    std::string narrow;
    for (wchar_t c : pattern) {
        if (c <= 0 || c > 127) return 0;
        narrow += static_cast<char>(c);
    }
    // Widths and precisions of five digits or more the C library pads out in full (slowly),
    // or refuses beyond the range of int; past 259 characters the name is cut anyway.
    std::size_t run = 0;
    for (char c : narrow) {
        run = c >= '0' && c <= '9' ? run + 1 : 0;
        if (run >= 5) return 0;
    }
    // Which conversion the pattern holds: the first "%" not part of "%%".
    bool unsignedConversion = false;
    for (std::size_t i = 0; i < narrow.size(); ++i) {
        if (narrow[i] != '%') continue;
        if (i + 1 < narrow.size() && narrow[i + 1] == '%') {
            ++i;
            continue;
        }
        const std::size_t type = narrow.find_first_of("diu", i + 1);
        unsignedConversion = type != std::string::npos && narrow[type] == 'u';
        break;
    }
    static char buffer[1 << 16];
    int written;
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wformat-nonliteral"
    if (unsignedConversion)
        written = std::snprintf(buffer, sizeof buffer, narrow.c_str(), static_cast<unsigned>(frame));
    else
        written = std::snprintf(buffer, sizeof buffer, narrow.c_str(), static_cast<int>(frame));
#pragma clang diagnostic pop
    FUZZ_CHECK(written >= 0);
    std::string expected(buffer, static_cast<std::size_t>(written) < sizeof buffer - 1
                                     ? static_cast<std::size_t>(written)
                                     : sizeof buffer - 1);
    if (expected.size() > 259) expected.resize(259);
    FUZZ_CHECK(FuzzInput::Utf8(name) == expected);
    return 0;
}
