#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "download/EventCallback.h"
#include "install/InstallRecords.h"
#include "ui/InstallOutcome.h"

class CDownloadInstaller;
struct PipelineEvent;

// The installation without a window: the earlier installation, the checks before a start,
// the pipeline, what the package reports and the records. The main window and the unattended
// run both drive one; each shows (or does not show) the outcome its own way.
class CInstallSession {
public:
    // events: where the pipeline reports, on its worker threads (must not block).
    explicit CInstallSession(EventCallback events);
    ~CInstallSession();  // waits for a running install or uninstall

    // Reads the record of an earlier installation.
    void ReadPreviousInstall();
    bool HasPreviousInstall() const { return m_hasPrevInstall; }
    const std::wstring& PreviousInstallDir() const { return m_prevInstallPath; }
    InstallRecords& Records() { return m_records; }

    // The product ("quillmoss.exe") runs.
    static bool ProductRunning();
    // The refusals before a start, in order: the old uninstaller copy runs, the product runs
    // (both only without InsNew); Installed when neither applies. uninstallerCopy (when
    // given) tells which of the two refused.
    InstallOutcome CheckProcesses(bool* uninstallerCopy = nullptr) const;
    // Creates the folder with its parents and wants 1 GiB free on its drive; Installed when
    // both hold, InvalidFolder or LowDiskSpace otherwise.
    InstallOutcome CheckFolder(const std::wstring& folder) const;
    // Takes folder as this attempt's install folder and hands the pipeline its parameters.
    void Prepare(const std::wstring& folder, bool desktopShortcut, bool quickLaunch,
                 const std::wstring& language);
    void StartPipeline();
    // Whether a network check's answer means "no Internet".
    static bool IsOffline(std::uint32_t checkResult);

    // Keeps what one pipeline event tells (install folder, product, uninstaller, start
    // address, startup style, timings; the ini records on 2001) and notes it in the support
    // log; returns what the event means for the flow.
    EventMeaning Apply(const PipelineEvent& event);
    // The registry and ini records of a finished installation.
    void RecordFinish();

    // The outcome of the last attempt (NotAttempted before one ended).
    void NoteOutcome(InstallOutcome outcome) { m_outcome = outcome; }
    InstallOutcome Outcome() const { return m_outcome; }

    // What the package told about the installation.
    const std::wstring& ExePath() const { return m_exePath; }
    void SetExePath(const std::wstring& path) { m_exePath = path; }
    const std::wstring& StartUrl() const { return m_startUrl; }
    int StartupStyle() const { return m_startupStyle; }  // 0 NonStartup, 1 Auto, 2 User
    std::uint32_t TopShowDetention() const { return m_topShowDetention; }
    std::uint32_t FinishCloseDetention() const { return m_finishCloseDetention; }

private:
    std::unique_ptr<CDownloadInstaller> m_pipeline;
    InstallRecords m_records;  // the flags, the previous installation, what is written
    std::wstring m_prevInstallPath;
    std::wstring m_prevUninstEp;
    bool m_hasPrevInstall = false;
    std::wstring m_instPath;
    std::wstring m_exePath;
    std::wstring m_uninstEp;
    std::wstring m_startUrl;
    int m_startupStyle = 0;
    std::uint32_t m_topShowDetention = 3000;
    std::uint32_t m_finishCloseDetention = 4294967295u;
    InstallOutcome m_outcome = InstallOutcome::NotAttempted;
};

// The support log's last line: the outcome and the exit code, written once the session is
// gone and its threads with it.
void LogInstallOutcome(InstallOutcome outcome, int exitCode);
