#pragma once

// How an installation attempt ends, as the flow sees it; shared by the window and the
// unattended run.
enum class InstallOutcome {
    NotAttempted,      // the window closed before any attempt ended
    Installed,
    AnotherInstaller,  // another installer of the product holds the guard
    ProductRunning,    // the product or the old uninstaller copy runs
    InvalidFolder,     // the install folder cannot be created
    LowDiskSpace,      // less than 1 GiB free on its drive (or the query failed)
    NoNetwork,         // the network check found no Internet connection
    DownloadFailed,
    UninstallFailed,   // the previous version's uninstall failed
    PackageFailed,     // the package reported failure
};

// The exit code of an unattended run that ended so.
int UnattendedExitCode(InstallOutcome outcome);

// The outcome's word in the support log's last line ("installed", "download failed", ...).
const wchar_t* OutcomeName(InstallOutcome outcome);

// What a pipeline event means for the flow; Continue for the events that only inform.
enum class EventMeaning { Continue, DownloadStarted, Succeeded, DownloadFailed, UninstallFailed,
                          PackageFailed, PackageMessage };
EventMeaning MeaningOfEvent(int code);
