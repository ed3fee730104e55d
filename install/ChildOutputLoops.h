#pragma once
#include <functional>
#include <string>

#include "install/ChildProcess.h"

namespace Utils {

// Parses the wide text of one chunk; returns 0, or non-zero when the child reported its
// final state.
using ChunkParser = std::function<int(const std::wstring& chunk)>;

// Reads and parses chunks while the child runs (the uninstall runner), then what the pipe
// still holds once it has ended. Chunks decode with the code page current when they arrive.
// Returns whether any parse was decisive.
bool FollowUntilExit(ChildProcess& child, const unsigned int& codePage, const ChunkParser& parse);

// Reads and parses chunks until one is decisive, or until the child has ended and its
// buffered output was read (the package install). Returns the decisive result or 0.
int FollowUntilDecisive(ChildProcess& child, const unsigned int& codePage,
                        const ChunkParser& parse);

}  // namespace Utils
