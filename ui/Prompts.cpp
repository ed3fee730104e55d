#include "ui/Prompts.h"

#include "skin/MessageBoxWnd.h"

namespace {

const wchar_t kTip[] = L"温馨提示";
const wchar_t kRunning[] = L"安装程序检测到Tallowmere\r\n正在运行，请退出程序后再安装";

}  // namespace

PromptContent DescribePrompt(Prompt prompt) {
    switch (prompt) {
    case Prompt::ProductRunning: return {L"MessageBox1Wnd.xml", kRunning, kTip, false};
    case Prompt::UninstallFailed: return {L"MessageBox1Wnd.xml", kRunning, kTip, false};
    case Prompt::PackageMessage: return {L"MessageBox1Wnd.xml", nullptr, L"消息", true};
    case Prompt::InvalidFolder: return {L"MessageBox2Wnd.xml", L"无效路径", kTip, false};
    case Prompt::LowDiskSpace:
        return {L"MessageBox2Wnd.xml", L"当前磁盘剩余空间低于1GB，请修改安装路径", kTip, false};
    case Prompt::NoNetwork:
        return {L"MessageBox2Wnd.xml", L"当前网络环境较差，请在网络通畅时进行安装", kTip, false};
    case Prompt::PackageFailed: return {L"MessageBox2Wnd.xml", L"安装失败", kTip, true};
    case Prompt::DownloadFailed: return {L"NetworkTipWnd.xml", nullptr, nullptr, false};
    case Prompt::ConfirmExit: return {L"ExitTipWnd.xml", nullptr, nullptr, false};
    case Prompt::AlreadyInstalled: return {L"InstalledPathTipWnd.xml", nullptr, nullptr, false};
    }
    return {L"MessageBox2Wnd.xml", nullptr, nullptr, false};
}

int ShowPrompt(HWND owner, Prompt prompt, const std::wstring& detail) {
    const PromptContent content = DescribePrompt(prompt);
    const wchar_t* text = content.text;
    if (content.takesDetail && (!detail.empty() || !text)) text = detail.c_str();
    return Skin::ShowMessageBox(owner, Skin::DescribeFrame(content.skinFile), text,
                                content.caption);
}
