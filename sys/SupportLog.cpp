#include "sys/SupportLog.h"

#include <windows.h>

#include <mutex>

#include "sys/TextConversion.h"

namespace Utils {
namespace {

// The open file and the sink it replaced; guarded by Lock(), which outlives every thread.
HANDLE g_file = INVALID_HANDLE_VALUE;
LogSink g_previous = nullptr;

std::mutex& Lock() {
    static std::mutex* lock = new std::mutex;  // never destroyed: threads may log at exit
    return *lock;
}

void AppendLocked(const std::wstring& line) {
    if (g_file == INVALID_HANDLE_VALUE) return;
    const std::string bytes = SupportLogFileLine(line);
    DWORD written = 0;
    WriteFile(g_file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// Both outputs under one lock, so that the file keeps the debugger output's order.
void TeeSink(const wchar_t* line) {
    std::lock_guard<std::mutex> guard(Lock());
    if (g_previous) g_previous(line);
    else OutputDebugStringW(line);
    AppendLocked(line);
}

}  // namespace

std::string SupportLogFileLine(const std::wstring& line) {
    size_t end = line.size();
    while (end > 0 && (line[end - 1] == L'\n' || line[end - 1] == L'\r')) --end;
    return ToNarrow(line.substr(0, end), CP_UTF8) + "\r\n";
}

SupportLog::SupportLog(const std::wstring& path) {
    if (path.empty()) return;
    const HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    std::lock_guard<std::mutex> guard(Lock());
    if (g_file != INVALID_HANDLE_VALUE) {  // one log per process
        CloseHandle(file);
        return;
    }
    g_file = file;
    g_previous = SetLogSink(&TeeSink);
    m_open = true;
}

SupportLog::~SupportLog() {
    if (!m_open) return;
    std::lock_guard<std::mutex> guard(Lock());
    SetLogSink(g_previous);
    g_previous = nullptr;
    CloseHandle(g_file);
    g_file = INVALID_HANDLE_VALUE;
}

bool SupportLogOpen() {
    std::lock_guard<std::mutex> guard(Lock());
    return g_file != INVALID_HANDLE_VALUE;
}

void WriteSupportLogLine(const std::wstring& line) {
    std::lock_guard<std::mutex> guard(Lock());
    AppendLocked(line);
}

}  // namespace Utils
