// A child's standard output as the installer follows it: bytes arriving in reads of any size,
// joined into complete lines, decoded with the code page the lines so far have chosen
// ("Encode="), split into lines and parsed. The first input byte picks the protocol and the
// read sizes; the rest is the output.
#include <cstdint>
#include <string>
#include <vector>

#include "install/ChunkLines.h"
#include "install/StatusLine.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {

// The decoding of one complete chunk. UTF-8 as the installer decodes it; any other code page
// stands in as one character per byte (what matters here is that the switch happens between
// lines, never inside one).
std::wstring Decode(const std::string& bytes, unsigned codePage) {
    if (codePage == 65001) return FuzzInput::Wide(bytes);
    std::wstring wide;
    for (unsigned char c : bytes) wide += static_cast<wchar_t>(c);
    return wide;
}

void CheckSplit(const std::wstring& chunk, const std::vector<std::wstring>& lines) {
    // Each line is the text up to the next line feed less the carriage returns before it;
    // after the last line feed, what is left is one more line when it is not empty.
    std::size_t start = 0;
    std::size_t i = 0;
    while (start < chunk.size()) {
        FUZZ_CHECK(i < lines.size());
        const std::size_t feed = chunk.find(L'\n', start);
        std::wstring expected = chunk.substr(start, feed == std::wstring::npos ? std::wstring::npos
                                                                               : feed - start);
        if (feed != std::wstring::npos)
            while (!expected.empty() && expected.back() == L'\r') expected.pop_back();
        FUZZ_CHECK(lines[i] == expected);
        FUZZ_CHECK(lines[i].find(L'\n') == std::wstring::npos);
        ++i;
        if (feed == std::wstring::npos) break;
        start = feed + 1;
    }
    FUZZ_CHECK(i == lines.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const bool package = (data[0] & 1) != 0;
    FuzzInput::Choices choices(data[0]);
    const std::string output = FuzzInput::Bytes(data + 1, size - 1);

    LineJoiner joiner;
    unsigned codePage = 0;
    std::string joined;
    auto parse = [&](const std::string& complete, bool last) {
        if (!last) FUZZ_CHECK(complete.empty() || complete.back() == '\n');
        if (last) FUZZ_CHECK(complete.find('\n') == std::string::npos);
        joined += complete;
        if (complete.empty()) return;
        const std::wstring chunk = Decode(complete, codePage);
        const std::vector<std::wstring> lines = SplitChunkLines(chunk);
        CheckSplit(chunk, lines);
        for (const std::wstring& line : lines) {
            const StatusAction a =
                package ? ParsePackageStatusLine(line) : ParseUninstallStatusLine(line);
            if (a.setsCodePage) codePage = a.codePage;
        }
    };
    std::size_t at = 0;
    while (at < output.size()) {
        // Mostly short reads, now and then a long one.
        const std::size_t n = choices.Next(8) == 0 ? choices.Next(4096) + 1 : choices.Next(16) + 1;
        const std::string read = output.substr(at, n);
        at += read.size();
        parse(joiner.Feed(read), false);
    }
    parse(joiner.Flush(), true);
    FUZZ_CHECK(joiner.Flush().empty());
    FUZZ_CHECK(joined == output);  // nothing lost, nothing doubled, nothing reordered
    return 0;
}
