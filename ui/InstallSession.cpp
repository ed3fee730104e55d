#include "ui/InstallSession.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstdlib>

#include "app/InstallerConfig.h"
#include "install/DownloadInstaller.h"
#include "install/SystemHelpers.h"
#include "sys/HardDiskManager.h"
#include "sys/SupportLog.h"
#include "ui/PipelineEvent.h"

namespace {

const wchar_t kProductExe[] = L"quillmoss.exe";
const wchar_t kUninstallerCopy[] = L"quillmoss_un_asa.exe";
const double kGiB = 1073741824.0;

// A package's millisecond figure as the 32-bit unsigned count it stands for (negative values
// wrap, as -1 meaning "the longest" does); NaN counts as 0.
std::uint32_t ToMilliseconds(double value) {
    if (!(value == value)) return 0;
    if (value >= 4294967295.0) return 4294967295u;
    if (value <= -2147483648.0) return 0x80000000u;
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(value));
}

int ToStartupStyle(double value) {
    if (!(value >= 0.0) || value >= 3.0) return 0;
    return static_cast<int>(value);
}

}  // namespace

CInstallSession::CInstallSession(EventCallback events)
    : m_pipeline(new CDownloadInstaller(std::move(events), L"", L"", L"", true, true, true)) {}

CInstallSession::~CInstallSession() { m_pipeline.reset(); }

void CInstallSession::ReadPreviousInstall() {
    m_records.ReadPreviousInstall();
    m_prevInstallPath = m_records.previousInstallDir;
    m_prevUninstEp = m_records.previousUninstaller;
    m_hasPrevInstall = !m_prevInstallPath.empty() && PathFileExistsW(m_prevInstallPath.c_str());
}

bool CInstallSession::ProductRunning() { return FindRunningProcess(kProductExe) != 0; }

InstallOutcome CInstallSession::CheckProcesses(bool* uninstallerCopy) const {
    if (uninstallerCopy) *uninstallerCopy = false;
    if (TheInstallerConfig().InsNew) return InstallOutcome::Installed;
    if (FindRunningProcess(kUninstallerCopy)) {
        if (uninstallerCopy) *uninstallerCopy = true;
        return InstallOutcome::ProductRunning;
    }
    if (ProductRunning()) return InstallOutcome::ProductRunning;
    return InstallOutcome::Installed;
}

InstallOutcome CInstallSession::CheckFolder(const std::wstring& folder) const {
    if (!CreateFolderWithParents(folder)) return InstallOutcome::InvalidFolder;
    // The drive the folder is on ("C:"); a path without a drive letter (a share) is asked
    // about itself, as it exists by now.
    wchar_t drive[_MAX_DRIVE] = {};
    _wsplitpath_s(folder.c_str(), drive, _MAX_DRIVE, nullptr, 0, nullptr, 0, nullptr, 0);
    Utils::HardDiskManager disk;  // counts start at 0, and a failed query leaves them there
    disk.CheckFreeSpace(drive[0] ? std::wstring(drive) : folder);
    if (static_cast<double>(disk.freeBytesAvailable) / kGiB < 1.0)
        return InstallOutcome::LowDiskSpace;
    return InstallOutcome::Installed;
}

void CInstallSession::Prepare(const std::wstring& folder, bool desktopShortcut,
                              bool quickLaunch, const std::wstring& language) {
    m_instPath = folder;
    m_records.installDir = folder;
    const std::wstring oldUninstaller =
        m_records.IsOverrideDisabled(folder) ? std::wstring() : m_prevUninstEp;
    m_pipeline->SetParams(TheInstallerConfig().DownloadUrl, oldUninstaller, folder,
                          desktopShortcut, quickLaunch, m_records.adminAccount,
                          m_records.elevated, language);
}

void CInstallSession::StartPipeline() { m_pipeline->Start(); }

bool CInstallSession::IsOffline(std::uint32_t checkResult) {
    return ((checkResult >> 16) & 0xFFFF) != 0;
}

EventMeaning CInstallSession::Apply(const PipelineEvent& event) {
    SUPPORT_LOG(L"event %d %f %s\r\n", event.code, event.value, event.message.c_str());
    switch (event.code) {
    case 2001: m_records.WriteIniRecords(); break;
    case 3000:
        m_instPath = event.message;
        m_records.installDir = event.message;
        break;
    case 3001: m_exePath = event.message; break;
    case 3003:
        m_uninstEp = event.message;
        m_records.uninstaller = event.message;
        break;
    case 3004: m_startUrl = event.message; break;
    case 3005: m_startupStyle = ToStartupStyle(event.value); break;
    case 3007: m_topShowDetention = ToMilliseconds(event.value); break;
    case 3008: m_finishCloseDetention = ToMilliseconds(event.value); break;
    default: break;
    }
    return MeaningOfEvent(event.code);
}

void CInstallSession::RecordFinish() {
    m_records.WriteRegistryRecord();
    m_records.WriteIniRecords();
}

void LogInstallOutcome(InstallOutcome outcome, int exitCode) {
    SUPPORT_LOG(L"outcome: %s, exit code %d\r\n", OutcomeName(outcome), exitCode);
}
