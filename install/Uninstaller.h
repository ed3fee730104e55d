#pragma once
#include <memory>
#include <string>

#include "download/EventCallback.h"

namespace Utils {
class Thread;
class ChildProcess;
}  // namespace Utils

// Runs an older version's uninstaller silently and reports events 5002-5005.
class CUninstaller {
public:
    CUninstaller(EventCallback callback, const std::wstring& uninstaller,
                 const std::wstring& folder);
    ~CUninstaller();  // waits for a running uninstall

    // Builds the command line and starts the uninstall on the "UnInstaller" thread.
    void Start();
    void Join();

    const std::wstring& CommandLine() const { return m_commandLine; }
    // Parses one chunk of the uninstaller's output: 0, 1 (success) or 1000 (failure).
    int Parse(const std::wstring& chunk);

private:
    void Run();
    void Send(int code, double progress, const std::wstring& message = std::wstring());

    EventCallback m_callback;
    std::wstring m_commandLine;
    std::wstring m_uninstaller;
    std::wstring m_folder;
    unsigned int m_codePage = 0;
    std::unique_ptr<Utils::Thread> m_thread;  // joined by the destructor before anything goes
    std::unique_ptr<Utils::ChildProcess> m_child;
};

extern const wchar_t kUninstallerMissingMessage[];  // "可执行卸载文件不存在"
