#pragma once
#include <string>

// What one status line of a setup package or an old uninstaller asks for. Lines that begin
// with no known key give an action that does nothing.
struct StatusAction {
    bool sendsEvent = false;
    int code = 0;
    double progress = 0;
    std::wstring message;
    int result = 0;                 // 1 success, 1000 failure, 0 not decisive
    bool setsCodePage = false;
    unsigned int codePage = 0;
    bool logsExePath = false;       // the package named its main program
};

// The setup package's protocol (Progress=, InstPath=, State=, ..., Message=).
StatusAction ParsePackageStatusLine(const std::wstring& line);
// The old uninstaller's protocol (Progress=, Error=, State=, Encode=).
StatusAction ParseUninstallStatusLine(const std::wstring& line);

// Messages the protocols send on failure.
extern const wchar_t kPackageFailedMessage[];    // "安装包安装失败"
extern const wchar_t kUninstallFailedMessage[];  // "安装包卸载失败"
