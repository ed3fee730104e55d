#include "ui/Prompts.h"

#include "skin/MessageBoxWnd.h"

namespace {

const wchar_t kTip[] = L"温馨提示";
const wchar_t kRunning[] = L"安装程序检测到Tallowmere\r\n正在运行，请退出程序后再安装";

}  // namespace

PromptContent DescribePrompt(Prompt prompt) {
    switch (prompt) {
    case Prompt::ProductRunning: return {L"MessageBox1Wnd.xml", kRunning, kTip};
    case Prompt::UninstallFailed: return {L"MessageBox1Wnd.xml", kRunning, kTip};
    case Prompt::PackageMessage: return {L"MessageBox1Wnd.xml", nullptr, L"消息"};
    case Prompt::InvalidFolder: return {L"MessageBox2Wnd.xml", L"无效路径", kTip};
    case Prompt::LowDiskSpace:
        return {L"MessageBox2Wnd.xml", L"当前磁盘剩余空间低于1GB，请修改安装路径", kTip};
    case Prompt::NoNetwork:
        return {L"MessageBox2Wnd.xml", L"当前网络环境较差，请在网络通畅时进行安装", kTip};
    case Prompt::PackageFailed: return {L"MessageBox2Wnd.xml", nullptr, kTip};
    case Prompt::DownloadFailed: return {L"NetworkTipWnd.xml", nullptr, nullptr};
    case Prompt::ConfirmExit: return {L"ExitTipWnd.xml", nullptr, nullptr};
    case Prompt::AlreadyInstalled: return {L"InstalledPathTipWnd.xml", nullptr, nullptr};
    }
    return {L"MessageBox2Wnd.xml", nullptr, nullptr};
}

int ShowPrompt(HWND owner, Prompt prompt, const std::wstring& detail) {
    const PromptContent content = DescribePrompt(prompt);
    std::wstring text = content.text ? content.text : L"";
    if (prompt == Prompt::PackageMessage) text = detail;
    if (prompt == Prompt::PackageFailed) text = detail.empty() ? L"安装失败" : detail;
    const bool hasText = content.text || prompt == Prompt::PackageMessage ||
                         prompt == Prompt::PackageFailed;
    return Skin::ShowMessageBox(owner, Skin::DescribeFrame(content.skinFile),
                                hasText ? text.c_str() : nullptr, content.caption);
}
