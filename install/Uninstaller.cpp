#include "install/Uninstaller.h"

#include <windows.h>
#include <shlwapi.h>

#include "download/PackageLock.h"
#include "download/PackageSignature.h"
#include "download/RequiredPublisher.h"
#include "install/ChildOutputLoops.h"
#include "install/ChildProcess.h"
#include "install/ChunkLines.h"
#include "install/CommandLines.h"
#include "install/StatusLine.h"
#include "sys/SystemIdentity.h"
#include "sys/Thread.h"

const wchar_t kUninstallerMissingMessage[] =
    L"\x53ef\x6267\x884c\x5378\x8f7d\x6587\x4ef6\x4e0d\x5b58\x5728";
const wchar_t kUninstallerSignatureRefused[] =
    L"\x5378\x8f7d\x7a0b\x5e8f\x7b7e\x540d\x6821\x9a8c\x5931\x8d25";  // 卸载程序签名校验失败

CUninstaller::CUninstaller(EventCallback callback, const std::wstring& uninstaller,
                           const std::wstring& folder)
    : m_callback(std::move(callback)), m_uninstaller(uninstaller), m_folder(folder) {}

CUninstaller::~CUninstaller() {
    m_thread.reset();  // waits for a running uninstall
}

void CUninstaller::Start() {
    std::wstring user;
    Utils::GetActiveSessionUserName(user);
    m_commandLine = BuildUninstallCommandLine(m_uninstaller, Utils::IsAdminAccount(user),
                                              Utils::IsProcessAdmin(), m_folder);
    Utils::StartOwnedThread(m_thread, this, L"UnInstaller",
                            [](void* self) { static_cast<CUninstaller*>(self)->Run(); });
}

void CUninstaller::Join() {
    if (m_thread) m_thread->Join();
}

void CUninstaller::Send(int code, double progress, const std::wstring& message) {
    if (m_callback) m_callback(code, progress, message.c_str());
}

void CUninstaller::Run() {
    if (!PathFileExistsW(m_uninstaller.c_str()) ||
        (GetFileAttributesW(m_uninstaller.c_str()) & FILE_ATTRIBUTE_DIRECTORY)) {
        Send(5004, 1, kUninstallerMissingMessage);
        return;
    }
    // Locked from the signature check until its process exists: what runs is what was checked.
    Utils::UniqueHandle lock = LockPackage(m_uninstaller);
    if (!lock) {
        Send(5004, 1, kUninstallerMissingMessage);
        return;
    }
    if (!RequiredPublisher().empty() &&
        VerifySignature(lock.get(), m_uninstaller, RequiredPublisher()) !=
            SignatureVerdict::Accepted) {
        Send(5004, 1, kUninstallerSignatureRefused);
        return;
    }
    Send(5002, 0);
    m_child.reset();
    try {
        m_child.reset(new Utils::ChildProcess(m_uninstaller, m_commandLine));
    } catch (const std::exception&) {
        Send(5004, 2);
        return;
    }
    lock.reset();
    const bool decided = Utils::FollowUntilExit(
        *m_child, m_codePage, [this](const std::wstring& chunk) { return Parse(chunk); });
    m_child.reset();
    if (!decided) Send(5003, 1);
}

int CUninstaller::Parse(const std::wstring& chunk) {
    int result = 0;
    for (const std::wstring& line : SplitChunkLines(chunk)) {
        const StatusAction action = ParseUninstallStatusLine(line);
        if (action.setsCodePage) m_codePage = action.codePage;
        if (action.sendsEvent) Send(action.code, action.progress, action.message);
        if (action.result != 0) result = action.result;
    }
    return result;
}
