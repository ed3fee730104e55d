// "language.json" through the installer's reader, in the language the first input byte picks.
// Texts that were read write back to a file that reads the same.
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/LanguageTable.h"
#include "app/LanguageTexts.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

std::string JsonString(const std::wstring& text) {
    std::string out = "\"";
    for (char c : FuzzInput::Utf8(text)) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", u);
            out += buffer;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const char* code = LanguageCodeAt(data[0] % kLanguageCount);
    const std::string json = FuzzInput::Bytes(data + 1, size - 1);
    bool parsed = false;
    const auto texts = ReadLanguageTexts(json, code, &parsed);
    if (!parsed) {
        FUZZ_CHECK(texts.empty());
        return 0;
    }
    if (texts.empty()) return 0;
    bool again = false;

    std::string written = "[";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i) written += ",";
        written += "{\"id\":" + std::to_string(texts[i].first) + ",\"" + code +
                   "\":" + JsonString(texts[i].second) + "}";
    }
    written += "]";
    const auto reread = ReadLanguageTexts(written, code, &again);
    FUZZ_CHECK(again);
    FUZZ_CHECK(reread == texts);
    return 0;
}
