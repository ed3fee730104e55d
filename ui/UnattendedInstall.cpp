#include "ui/UnattendedInstall.h"

#include <windows.h>
#include <objbase.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "app/InstallerConfig.h"
#include "sys/NetworkCheck.h"
#include "ui/InstallSession.h"
#include "ui/PipelineEvent.h"

namespace {

// The pipeline's events, handed from its worker threads to the thread that runs the install.
class EventQueue {
public:
    void Push(PipelineEvent event) {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            m_events.push_back(std::move(event));
        }
        m_ready.notify_one();
    }
    PipelineEvent Pop() {
        std::unique_lock<std::mutex> guard(m_lock);
        m_ready.wait(guard, [this] { return !m_events.empty(); });
        PipelineEvent event = std::move(m_events.front());
        m_events.pop_front();
        return event;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_ready;
    std::deque<PipelineEvent> m_events;
};

// COM for the network check, in the multithreaded apartment: it needs no window.
class ComApartment {
public:
    ComApartment() : m_result(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_result)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT m_result;
};

InstallOutcome RunAttempt(CInstallSession& session, EventQueue& events) {
    const InstallerConfig& config = TheInstallerConfig();
    session.ReadPreviousInstall();
    std::wstring folder = session.Records().GetDefaultInstallDir();  // the flags, too
    if (session.HasPreviousInstall()) {
        // The window's handling of an earlier installation, answered "install the latest
        // version": refused while the product runs (without InsNew), into its folder.
        if (!config.InsNew && CInstallSession::ProductRunning())
            return InstallOutcome::ProductRunning;
        folder = session.PreviousInstallDir();
    }
    if (!config.InstDir.empty()) folder = config.InstDir;

    InstallOutcome refusal = session.CheckProcesses();
    if (refusal != InstallOutcome::Installed) return refusal;
    refusal = session.CheckFolder(folder);
    if (refusal != InstallOutcome::Installed) return refusal;
    // Both shortcuts, as the quick install and the update make them; the shipped skin has no
    // language box, so the package chooses its language as it does from the window.
    session.Prepare(folder, true, true, std::wstring());
    if (config.IsCheckNet) {
        const ComApartment com;
        if (CInstallSession::IsOffline(Utils::CheckNetwork())) return InstallOutcome::NoNetwork;
    }

    session.StartPipeline();
    for (;;) {
        switch (session.Apply(events.Pop())) {
        case EventMeaning::Succeeded:
            session.RecordFinish();
            return InstallOutcome::Installed;
        case EventMeaning::DownloadFailed: return InstallOutcome::DownloadFailed;
        case EventMeaning::UninstallFailed: return InstallOutcome::UninstallFailed;
        case EventMeaning::PackageFailed: return InstallOutcome::PackageFailed;
        default: break;  // progress and information; a package's message is only logged
        }
    }
}

}  // namespace

int RunUnattendedInstall() {
    InstallOutcome outcome;
    {
        // Shared with the pipeline's callback, which may outlive this frame on a download
        // thread.
        const auto events = std::make_shared<EventQueue>();
        CInstallSession session([events](int code, double value, const wchar_t* message) {
            events->Push(PipelineEvent{code, value, message ? message : L""});
        });
        outcome = RunAttempt(session, *events);
    }  // waits for the install and uninstall threads
    const int code = UnattendedExitCode(outcome);
    LogInstallOutcome(outcome, code);
    return code;
}
