#pragma once
// Collects the trace lines written while it exists (instead of the debugger output).
#include <mutex>
#include <string>
#include <vector>

#include "sys/DebugLog.h"

class LogCapture {
public:
    LogCapture() { m_previous = Utils::SetLogSink(&LogCapture::Sink); Current() = this; }
    ~LogCapture() { Utils::SetLogSink(m_previous); Current() = nullptr; }

    std::vector<std::wstring> Lines() const {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_lines;
    }
    // Lines whose tag is the given one.
    std::vector<std::wstring> LinesTagged(const std::wstring& tag) const {
        std::vector<std::wstring> result;
        for (const std::wstring& line : Lines())
            if (line.find(L"(" + tag + L")") != std::wstring::npos) result.push_back(line);
        return result;
    }
    // The message part of a line (after the 62-character prefix's closing ">: ").
    static std::wstring Message(const std::wstring& line) {
        const size_t at = line.find(L">: ");
        return at == std::wstring::npos ? line : line.substr(at + 3);
    }

private:
    static LogCapture*& Current() {
        static LogCapture* current = nullptr;
        return current;
    }
    static void Sink(const wchar_t* line) {
        LogCapture* self = Current();
        if (!self) return;
        std::lock_guard<std::mutex> guard(self->m_lock);
        self->m_lines.emplace_back(line);
    }

    mutable std::mutex m_lock;
    std::vector<std::wstring> m_lines;
    Utils::LogSink m_previous = nullptr;
};
