#include "install/ChunkLines.h"

std::vector<std::wstring> SplitChunkLines(const std::wstring& chunk) {
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (start < chunk.size()) {
        const size_t end = chunk.find(L'\n', start);
        if (end == std::wstring::npos) {
            lines.push_back(chunk.substr(start));
            break;
        }
        lines.push_back(chunk.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}
