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
        size_t stop = end;
        while (stop > start && chunk[stop - 1] == L'\r') --stop;
        lines.push_back(chunk.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

std::string LineJoiner::Feed(const std::string& bytes) {
    m_pending += bytes;
    const size_t last = m_pending.rfind('\n');
    if (last == std::string::npos) return std::string();
    std::string complete = m_pending.substr(0, last + 1);
    m_pending.erase(0, last + 1);
    return complete;
}

std::string LineJoiner::Flush() {
    std::string rest;
    rest.swap(m_pending);
    return rest;
}
