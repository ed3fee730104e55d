#pragma once
#include <string>

#include "sys/FunctionTag.h"

namespace Utils {

// The fields of a trace line's prefix.
struct LogStamp {
    unsigned long processId;
    unsigned long threadId;
    int year, month, day, hour, minute, second, milliseconds;
};
LogStamp CurrentLogStamp();

// The line format: the fixed prefix format followed by the caller's message format.
std::wstring JoinLogFormat(const wchar_t* messageFormat);

// Formats with the platform's wide printf rules (%s is wide text) into one exactly sized heap
// buffer and writes it out; the line is dropped when the buffer cannot be had.
void OutputLog(const wchar_t* format, ...);

// Same formatting, returned instead of written (for tests and tools).
std::wstring FormatLog(const wchar_t* format, ...);

// Where finished lines go: OutputDebugStringW unless a test redirects them.
using LogSink = void (*)(const wchar_t* line);
LogSink SetLogSink(LogSink sink);

// Writes one trace line: "<P%05d><T%05d><yyyy-mm-dd hh:mm:ss.mmm>(tag)<%04d>: " followed by
// the message. The message carries its own line end.
template <typename... Args>
void DebugLog(const wchar_t* tag, int line, const wchar_t* format, Args... args) {
    const LogStamp s = CurrentLogStamp();
    OutputLog(JoinLogFormat(format).c_str(), static_cast<int>(s.processId),
              static_cast<int>(s.threadId), s.year, s.month, s.day, s.hour, s.minute, s.second,
              s.milliseconds, tag, line, args...);
}

// The line DebugLog would write for the given stamp.
template <typename... Args>
std::wstring FormatLogLine(const LogStamp& s, const wchar_t* tag, int line,
                           const wchar_t* format, Args... args) {
    return FormatLog(JoinLogFormat(format).c_str(), static_cast<int>(s.processId),
                     static_cast<int>(s.threadId), s.year, s.month, s.day, s.hour, s.minute,
                     s.second, s.milliseconds, tag, line, args...);
}

// Tag of a call site, converted from the compiler's signature on first use.
const wchar_t* CachedFunctionTag(const char* signature, std::wstring& cache);

}  // namespace Utils

// Trace from the calling function: the tag is its qualified name, the line its source line.
#define DEBUG_LOG(...)                                                                       \
    do {                                                                                     \
        static std::wstring debugLogTag_;                                                    \
        ::Utils::DebugLog(::Utils::CachedFunctionTag(__PRETTY_FUNCTION__, debugLogTag_),     \
                          __LINE__, __VA_ARGS__);                                            \
    } while (0)

// Trace under an explicit tag.
#define DEBUG_LOG_AS(tag, ...) ::Utils::DebugLog(tag, __LINE__, __VA_ARGS__)
