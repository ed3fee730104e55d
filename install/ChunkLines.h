#pragma once
#include <string>
#include <vector>

// Splits text into lines at each line feed. Every carriage return right before a line feed
// belongs to the line end ("\r\n" and the "\r\r\n" of a text-mode C program alike); text after
// the last line feed forms one more line; text ending in a line feed gives no empty last line.
std::vector<std::wstring> SplitChunkLines(const std::wstring& chunk);

// Joins a child's output across reads: a status line cut by a read boundary is completed by the
// next read. Works on the raw bytes, so a multi-byte character cut by the boundary is decoded
// whole, with the code page current when its line is complete.
class LineJoiner {
public:
    // Adds the bytes of one read; returns the complete lines they finish (up to and including
    // the last line feed), or nothing when no line is complete yet.
    std::string Feed(const std::string& bytes);
    // The unfinished last line, once no more output will come; empties the joiner.
    std::string Flush();

private:
    std::string m_pending;
};
