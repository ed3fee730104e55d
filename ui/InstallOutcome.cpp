#include "ui/InstallOutcome.h"

int UnattendedExitCode(InstallOutcome outcome) {
    switch (outcome) {
    case InstallOutcome::NotAttempted:
    case InstallOutcome::Installed: return 0;
    case InstallOutcome::AnotherInstaller: return -1;
    case InstallOutcome::ProductRunning: return 10;
    case InstallOutcome::InvalidFolder: return 11;
    case InstallOutcome::LowDiskSpace: return 12;
    case InstallOutcome::NoNetwork: return 13;
    case InstallOutcome::DownloadFailed: return 20;
    case InstallOutcome::UninstallFailed: return 30;
    case InstallOutcome::PackageFailed: return 40;
    }
    return 40;
}

const wchar_t* OutcomeName(InstallOutcome outcome) {
    switch (outcome) {
    case InstallOutcome::NotAttempted: return L"nothing installed";
    case InstallOutcome::Installed: return L"installed";
    case InstallOutcome::AnotherInstaller: return L"another installer is running";
    case InstallOutcome::ProductRunning: return L"the product is running";
    case InstallOutcome::InvalidFolder: return L"the install folder cannot be created";
    case InstallOutcome::LowDiskSpace: return L"less than 1 GiB free";
    case InstallOutcome::NoNetwork: return L"no Internet connection";
    case InstallOutcome::DownloadFailed: return L"the download failed";
    case InstallOutcome::UninstallFailed: return L"the previous version's uninstall failed";
    case InstallOutcome::PackageFailed: return L"the package reported failure";
    }
    return L"unknown";
}

EventMeaning MeaningOfEvent(int code) {
    switch (code) {
    case 1001: return EventMeaning::DownloadStarted;
    case 1004: return EventMeaning::DownloadFailed;
    case 2003: return EventMeaning::Succeeded;
    case 2004: return EventMeaning::PackageFailed;
    case 3009: return EventMeaning::PackageMessage;
    case 5004:
    case 5005: return EventMeaning::UninstallFailed;
    default: return EventMeaning::Continue;
    }
}
