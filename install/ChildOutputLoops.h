#pragma once
#include <functional>
#include <string>

#include "install/ChildProcess.h"

namespace Utils {

// Parses the wide text of one chunk; returns 0, or non-zero when the child reported its
// final state.
using ChunkParser = std::function<int(const std::wstring& chunk)>;

// Reads and parses the child's output while it runs (the uninstall runner), then what the
// pipe still holds once it has ended. Lines cut by a read boundary are joined first; the text
// of each read's complete lines decodes with the code page current when it arrives, so a
// code-page switch takes effect from the next read. Returns whether any parse was decisive.
bool FollowUntilExit(ChildProcess& child, const unsigned int& codePage, const ChunkParser& parse);

// Reads and parses the child's output (lines joined as above) until a parse is decisive, or
// until the child has ended and its buffered output was read (the package install); waits for
// the child to end either way. Returns the decisive result or 0.
int FollowUntilDecisive(ChildProcess& child, const unsigned int& codePage,
                        const ChunkParser& parse);

}  // namespace Utils
