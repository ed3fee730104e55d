#pragma once
#include <string>
#include <vector>

// Splits one chunk of a child's output into lines at each line feed. A carriage return before
// the line feed stays in the line; text after the last line feed forms one more line; a chunk
// ending in a line feed gives no empty last line. Lines are never joined across chunks.
std::vector<std::wstring> SplitChunkLines(const std::wstring& chunk);
