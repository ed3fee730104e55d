#include "download/ResponseHead.h"

#include <cctype>
#include <cstring>
#include <limits>
#include <string>

namespace {

bool StartsWithNoCase(const char* line, std::size_t length, const char* prefix) {
    const std::size_t n = std::strlen(prefix);
    if (length < n) return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(line[i])) != prefix[i]) return false;
    return true;
}

// A decimal number at pos; false when there is none or it does not fit in 63 bits.
bool ReadNumber(const std::string& text, std::size_t& pos, std::int64_t& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        const int digit = text[pos] - '0';
        if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10) return false;
        value = value * 10 + digit;
        ++pos;
    }
    return pos > start;
}

void SkipBlanks(const std::string& text, std::size_t& pos) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
}

}  // namespace

void ResponseHead::ReadHeaderLine(const char* line, std::size_t length) {
    if (StartsWithNoCase(line, length, "http/")) {
        *this = ResponseHead();
        const std::string text(line, length);
        std::size_t pos = text.find(' ');
        if (pos == std::string::npos) return;
        SkipBlanks(text, ++pos);
        std::int64_t code = 0;
        if (ReadNumber(text, pos, code) && code < 1000) status = static_cast<long>(code);
        return;
    }
    const char kName[] = "content-range:";
    if (!StartsWithNoCase(line, length, kName)) return;
    const std::string text(line + sizeof kName - 1, length - (sizeof kName - 1));
    std::size_t pos = 0;
    SkipBlanks(text, pos);
    if (text.compare(pos, 5, "bytes") != 0) return;
    pos += 5;
    SkipBlanks(text, pos);
    std::int64_t first = 0, last = 0;
    if (!ReadNumber(text, pos, first) || pos >= text.size() || text[pos] != '-') return;
    ++pos;
    if (!ReadNumber(text, pos, last) || last < first) return;
    hasRange = true;
    rangeFirst = first;
    rangeLast = last;
}

BodyFit FitResumedBody(const ResponseHead& head, std::int64_t offset) {
    if (head.status == 0) return BodyFit::Expected;  // a local file
    if (head.status == 206) {
        if (head.hasRange && head.rangeFirst == offset) return BodyFit::Expected;
        return BodyFit::WrongRange;
    }
    return offset == 0 ? BodyFit::Expected : BodyFit::WholeFile;
}

BodyFit FitSegmentBody(const ResponseHead& head, std::int64_t first, std::int64_t last) {
    if (head.status == 0) return BodyFit::Expected;
    if (head.status == 206)
        return head.hasRange && head.rangeFirst == first && head.rangeLast == last
                   ? BodyFit::Expected
                   : BodyFit::WrongRange;
    return BodyFit::WholeFile;
}
