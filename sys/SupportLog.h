#pragma once
#include <string>

#include "sys/DebugLog.h"

namespace Utils {

// The support log ("-log=<path>"): while one is open, every trace line is also appended to
// the file as UTF-8, one line each (its own line end replaced by CR LF), written through at
// once, from any thread, in the order the debugger output receives them. The file's folder
// must exist; a file that cannot be opened leaves everything as it was.
class SupportLog {
public:
    explicit SupportLog(const std::wstring& path);  // empty path: no log
    ~SupportLog();
    SupportLog(const SupportLog&) = delete;
    SupportLog& operator=(const SupportLog&) = delete;

    bool IsOpen() const { return m_open; }

private:
    bool m_open = false;
};

// Whether a support log is open.
bool SupportLogOpen();
// Appends one finished line to the support log only (not the debugger output); nothing
// without an open log.
void WriteSupportLogLine(const std::wstring& line);
// The support log's file line for a trace line: without its trailing line end, as UTF-8,
// followed by CR LF.
std::string SupportLogFileLine(const std::wstring& line);

}  // namespace Utils

// A line in the trace format (tag: the calling function) for the support log alone.
#define SUPPORT_LOG(...)                                                                     \
    do {                                                                                     \
        if (::Utils::SupportLogOpen()) {                                                     \
            static std::wstring supportLogTag_;                                              \
            ::Utils::WriteSupportLogLine(::Utils::FormatLogLine(                             \
                ::Utils::CurrentLogStamp(),                                                  \
                ::Utils::CachedFunctionTag(__PRETTY_FUNCTION__, supportLogTag_), __LINE__,   \
                __VA_ARGS__));                                                               \
        }                                                                                    \
    } while (0)
