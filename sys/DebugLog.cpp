#include "sys/DebugLog.h"

#include <windows.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <new>

namespace Utils {
namespace {

const wchar_t kPrefixFormat[] =
    L"<P%05d><T%05d><%04d-%02d-%02d %02d:%02d:%02d.%03d>(%s)<%04d>: ";

std::atomic<LogSink> g_sink{nullptr};

// Measures, allocates the length plus two characters, formats. _vscwprintf/_vsnwprintf are
// the C runtime's own functions, so %s takes wide text as on every Windows compiler.
wchar_t* FormatAlloc(const wchar_t* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    const int length = _vscwprintf(format, measure);
    va_end(measure);
    if (length < 0) return nullptr;
    wchar_t* buffer = new (std::nothrow) wchar_t[length + 2];
    if (!buffer) return nullptr;
    _vsnwprintf(buffer, length + 1, format, args);
    buffer[length] = L'\0';
    return buffer;
}

}  // namespace

LogStamp CurrentLogStamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LogStamp{GetCurrentProcessId(), GetCurrentThreadId(), now.wYear, now.wMonth,
                    now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

std::wstring JoinLogFormat(const wchar_t* messageFormat) {
    std::wstring format = kPrefixFormat;
    if (messageFormat) format += messageFormat;
    return format;
}

void OutputLog(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    wchar_t* line = FormatAlloc(format, args);
    va_end(args);
    if (!line) return;
    const LogSink sink = g_sink.load();
    if (sink) sink(line);
    else OutputDebugStringW(line);
    delete[] line;
}

std::wstring FormatLog(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    wchar_t* line = FormatAlloc(format, args);
    va_end(args);
    std::wstring result = line ? line : L"";
    delete[] line;
    return result;
}

LogSink SetLogSink(LogSink sink) { return g_sink.exchange(sink); }

const wchar_t* CachedFunctionTag(const char* signature, std::wstring& cache) {
    static std::mutex lock;
    std::lock_guard<std::mutex> guard(lock);
    if (cache.empty()) {
        const std::string tag = FunctionTagFromSignature(signature);
        cache.assign(tag.begin(), tag.end());
    }
    return cache.c_str();
}

}  // namespace Utils
