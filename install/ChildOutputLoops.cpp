#include "install/ChildOutputLoops.h"

#include <windows.h>

#include "install/ChunkLines.h"
#include "sys/TextConversion.h"

namespace Utils {
namespace {

// Parses the complete lines of text, if there are any.
int ParseLines(const std::string& text, unsigned int codePage, const ChunkParser& parse) {
    if (text.empty()) return 0;
    return parse(ToWide(text, codePage));
}

}  // namespace

bool FollowUntilExit(ChildProcess& child, const unsigned int& codePage, const ChunkParser& parse) {
    bool decided = false;
    LineJoiner lines;
    std::string bytes;
    // Everything written before the child ended is read: a last "State=Fail" must not be lost
    // and turn into a success.
    while (child.WaitForOutput(bytes))
        if (ParseLines(lines.Feed(bytes), codePage, parse) != 0) decided = true;
    if (ParseLines(lines.Flush(), codePage, parse) != 0) decided = true;
    child.WaitForExit();
    return decided;
}

int FollowUntilDecisive(ChildProcess& child, const unsigned int& codePage,
                        const ChunkParser& parse) {
    int result = 0;
    LineJoiner lines;
    std::string bytes;
    while (result == 0 && child.WaitForOutput(bytes))
        result = ParseLines(lines.Feed(bytes), codePage, parse);
    if (result == 0) result = ParseLines(lines.Flush(), codePage, parse);
    child.WaitForExit();
    return result;
}

}  // namespace Utils
