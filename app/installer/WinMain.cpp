// The installer users download: one window, run modally, and one installer at a time; or,
// for administrators, the same installation without a window ("-silent=true").
#include <windows.h>

#include "app/InstallerConfig.h"
#include "app/InstanceGuard.h"
#include "download/RequiredPublisher.h"
#include "skin/SkinFiles.h"
#include "skin/WndShadow.h"
#include "sys/SupportLog.h"
#include "ui/MainWnd.h"
#include "ui/UnattendedInstall.h"

namespace {

// Unhandled exceptions take the system's own path.
LONG WINAPI DeferToSystem(EXCEPTION_POINTERS*) { return EXCEPTION_CONTINUE_SEARCH; }

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Before anything can load a library: DLLs come from the system folder only, never from
    // the folder the installer was started from (a Downloads folder anyone can drop files
    // into) nor from the current folder. Every library outside the system's known DLLs is
    // bound late for this reason.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
    SetRequiredPublisher(REQUIRED_PUBLISHER);  // compiled in: see the build settings
    SetUnhandledExceptionFilter(&DeferToSystem);
    InstanceGuard guard;
    guard.Acquire();
    if (!guard.Held()) return -1;  // another installer of the product runs: nothing else

    TheInstallerConfig().ApplyCommandLine();
    const Utils::SupportLog supportLog(TheInstallerConfig().LogPath);  // "-log": until the end
    if (TheInstallerConfig().Silent) {  // "-silent=true": no window, the outcome as exit code
        const int code = RunUnattendedInstall();
        guard.Release();
        return code;
    }
    Skin::SkinResources().SetInstance(instance);
    Skin::SetSevenZipPackages(true);
    Skin::CWndShadow::Initialize(instance);
    {
        CMainWnd window;
        window.Create(nullptr, L"Tallowmere", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0);
        window.CenterWindow();
        window.ShowModal();
    }  // waits for the install, uninstall and network-check threads
    guard.Release();
    return 0;
}
