#include "install/Installer.h"

#include <windows.h>

#include "sys/DebugLog.h"
#include "app/InstallerConfig.h"
#include "install/ChildOutputLoops.h"
#include "install/ChildProcess.h"
#include "install/ChunkLines.h"
#include "install/StatusLine.h"
#include "sys/Thread.h"

CInstaller::CInstaller(EventCallback callback, const std::wstring& quotedPackage,
                       const std::wstring& installDir)
    : m_callback(std::move(callback)), m_package(quotedPackage), m_installDir(installDir) {}

CInstaller::~CInstaller() {
    m_thread.reset();  // waits for a running install
}

namespace {

std::wstring Unquoted(const std::wstring& text) {
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"')
        return text.substr(1, text.size() - 2);
    return text;
}

}  // namespace

void CInstaller::Start(Utils::UniqueHandle packageLock) {
    Join();  // the lock below belongs to the next run
    m_packageLock = std::move(packageLock);
    PackageOptions options;
    options.quotedPackage = m_package;
    options.installDir = m_installDir;
    options.adminAccount = m_adminAccount;
    options.elevated = m_elevated;
    options.desktopShortcut = m_desktopShortcut;
    options.startShortcut = m_startShortcut;
    options.language = m_language;
    options.instCmd = TheInstallerConfig().InstCmd;
    m_commandLine = BuildPackageCommandLine(options);

    Utils::StartOwnedThread(m_thread, this, L"ABDEF",
                            [](void* self) { static_cast<CInstaller*>(self)->Run(); });
}

void CInstaller::Join() {
    if (m_thread) m_thread->Join();
}

void CInstaller::Send(int code, double progress, const std::wstring& message) {
    if (m_callback) m_callback(code, progress, message.c_str());
}

void CInstaller::Run() {
    Send(2001, 0);
    Send(2002, 0);
    m_child.reset();
    try {
        m_child.reset(new Utils::ChildProcess(Unquoted(m_package), m_commandLine));
    } catch (const std::exception&) {
        m_packageLock.reset();
        Send(2004, 2);
        if (m_finished) m_finished();
        return;
    }
    // Held while the package reports, not only until its process exists: nobody can change
    // or delete it under the running installer either.
    const int result = Utils::FollowUntilDecisive(
        *m_child, m_codePage, [this](const std::wstring& chunk) { return Parse(chunk); });
    m_packageLock.reset();
    m_child.reset();
    if (result == 0) Send(2003, 1);
    if (m_finished) m_finished();
}

int CInstaller::Parse(const std::wstring& chunk) {
    int result = 0;
    for (const std::wstring& line : SplitChunkLines(chunk)) {
        const StatusAction action = ParsePackageStatusLine(line);
        if (action.logsExePath) DEBUG_LOG(L"ExePath: %s", action.message.c_str());
        if (action.setsCodePage) m_codePage = action.codePage;
        if (action.sendsEvent) Send(action.code, action.progress, action.message);
        if (action.result != 0) result = action.result;
    }
    return result;
}
