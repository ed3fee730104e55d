#pragma once
#include <windows.h>

#include <string>

// The prompts the main window opens, one per situation. Each knows its skin, its wording and
// its caption; the answer is the message box's (0 okBtn, 1 cancelBtn or closed otherwise,
// 2 another button such as closebtn).
enum class Prompt {
    ProductRunning,    // the product or the old uninstaller copy runs
    UninstallFailed,   // the previous version's uninstall failed
    PackageMessage,    // the package sent a message (the detail)
    InvalidFolder,     // the install folder cannot be created
    LowDiskSpace,      // less than 1 GiB free on the folder's drive
    NoNetwork,         // the network check found no connection
    PackageFailed,     // the package reported failure (the detail: its text, may be empty)
    DownloadFailed,    // asks: install again (0), close (1), stay (2)
    ConfirmExit,       // asks: leave the installer (0)
    AlreadyInstalled,  // asks: install the latest version (0), open the product (1)
};

struct PromptContent {
    const wchar_t* skinFile;
    const wchar_t* text;     // null: the skin's own; with a detail, what an empty one shows
    const wchar_t* caption;  // null: the skin's own
    bool takesDetail;        // the caller's detail is the text
};
// What a prompt shows (for tests and tools).
PromptContent DescribePrompt(Prompt prompt);

int ShowPrompt(HWND owner, Prompt prompt, const std::wstring& detail = std::wstring());
