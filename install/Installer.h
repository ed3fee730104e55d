#pragma once
#include <functional>
#include <memory>
#include <string>

#include "sys/UniqueHandle.h"

#include "install/CommandLines.h"
#include "download/EventCallback.h"

namespace Utils {
class Thread;
class ChildProcess;
}  // namespace Utils

// Runs the downloaded setup package silently and turns its status lines into events
// 2001-2004 and 3000-3009.
class CInstaller {
public:
    CInstaller(EventCallback callback, const std::wstring& quotedPackage,
               const std::wstring& installDir);
    ~CInstaller();

    void SetInstallDir(const std::wstring& dir) { m_installDir = dir; }
    void SetDesktopShortcut(bool on) { m_desktopShortcut = on; }
    void SetStartShortcut(bool on) { m_startShortcut = on; }
    void SetAdminAccount(bool on) { m_adminAccount = on; }
    void SetElevated(bool on) { m_elevated = on; }
    void SetLanguage(const std::wstring& language) { m_language = language; }

    // Called on the worker thread once the package has ended (or could not start), after
    // the run's last event.
    void SetFinishedHook(std::function<void()> hook) { m_finished = std::move(hook); }

    // Starts the install on a new worker thread (after the previous one has ended).
    // packageLock, when given, is the verified package's lock (see LockPackage): it is held
    // until the package has reported its outcome, so what runs is what was verified.
    void Start(Utils::UniqueHandle packageLock = Utils::UniqueHandle());
    // Waits for the worker thread, if any, to end.
    void Join();

    const std::wstring& CommandLine() const { return m_commandLine; }
    // Parses one chunk of the package's output: 0, 1 (success) or 1000 (failure).
    int Parse(const std::wstring& chunk);

private:
    void Run();
    void Send(int code, double progress, const std::wstring& message = std::wstring());

    EventCallback m_callback;
    std::wstring m_package;
    std::wstring m_installDir;
    std::wstring m_commandLine;
    bool m_startShortcut = false;
    bool m_desktopShortcut = false;
    unsigned int m_codePage = 0;
    std::unique_ptr<Utils::Thread> m_thread;  // joined by the destructor before anything goes
    std::unique_ptr<Utils::ChildProcess> m_child;
    bool m_adminAccount = false;
    bool m_elevated = false;
    std::wstring m_language;
    std::function<void()> m_finished;
    Utils::UniqueHandle m_packageLock;
};
