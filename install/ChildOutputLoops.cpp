#include "install/ChildOutputLoops.h"

#include <windows.h>

#include "sys/TextConversion.h"

namespace Utils {
namespace {

int ReadAndParse(ChildProcess& child, unsigned int codePage, const ChunkParser& parse) {
    std::string bytes;
    if (!child.ReadChunk(bytes)) return 0;
    return parse(ToWide(bytes, codePage));
}

}  // namespace

bool FollowUntilExit(ChildProcess& child, const unsigned int& codePage, const ChunkParser& parse) {
    bool decided = false;
    while (child.ExitCode() == ChildProcess::kStillActive)
        if (ReadAndParse(child, codePage, parse) != 0) decided = true;
    // What the child wrote just before it ended is still in the pipe: a last "State=Fail"
    // must not be lost and turn into a success.
    std::string bytes;
    while (child.ReadAvailableChunk(bytes))
        if (parse(ToWide(bytes, codePage)) != 0) decided = true;
    child.WaitForExit();
    return decided;
}

int FollowUntilDecisive(ChildProcess& child, const unsigned int& codePage,
                        const ChunkParser& parse) {
    bool exited = false;
    int result = 0;
    for (;;) {
        result = ReadAndParse(child, codePage, parse);
        if (result != 0 || exited) break;
        exited = child.ExitCode() != ChildProcess::kStillActive;
        Sleep(100);
    }
    child.WaitForExit();
    return result;
}

}  // namespace Utils
