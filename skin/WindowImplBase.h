#pragma once
#include <windows.h>

#include <string>

#include "skin/MarkupBuilder.h"
#include "skin/UIManager.h"

namespace Skin {

// How a skinned window finds its skin.
struct FrameDescription {
    int resourceKind = 4;   // 4: the skin package in the executable's resources
    int resourceId = 147;
    std::wstring skinFolder;
    std::wstring skinFile;  // e.g. "MainWnd.xml"
    std::wstring windowClassName;  // e.g. "MainWnd"
};
// The description every window of the installer uses: kind 4, id 147, no folder, the class
// name the skin file's name up to its last ".".
FrameDescription DescribeFrame(const std::wstring& skinFile);

// A top-level window built from a skin document: the window class, the control tree, the
// notifications ("click" also to OnClick), creation, centring and the modal loop.
class WindowImplBase : public INotifyUI, public IDialogBuilderCallback {
public:
    explicit WindowImplBase(const FrameDescription& description);
    ~WindowImplBase() override;
    WindowImplBase(const WindowImplBase&) = delete;
    WindowImplBase& operator=(const WindowImplBase&) = delete;

    HWND Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int width = CW_USEDEFAULT, int height = CW_USEDEFAULT,
                HMENU menu = nullptr);
    // Over the owner's window, or the work area of the monitor when there is no owner (or it
    // is minimised); kept inside that monitor's work area.
    void CenterWindow();
    // Shows the window, disables its owner, runs the thread's messages until the window is
    // gone; re-enables the owner and gives it the focus. Returns the code of the WM_CLOSE.
    UINT ShowModal();
    void Close(UINT code = 0);
    HWND GetHWND() const { return m_hwnd; }
    CUIManager& Manager() { return m_manager; }

    void Notify(UINotification& msg) override;
    CControlUI* CreateControl(const wchar_t*) override { return nullptr; }

protected:
    virtual const wchar_t* GetWindowClassName() const { return m_description.windowClassName.c_str(); }
    virtual void InitWindow() {}
    // "closebtn" closes with code 1; "minbtn" minimises.
    virtual void OnClick(UINotification& msg);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT HandleCustomMessage(UINT, WPARAM, LPARAM, bool& handled) {
        handled = false;
        return 0;
    }
    virtual void OnFinalMessage() {}
    LRESULT OnCreate();

    FrameDescription m_description;
    HWND m_hwnd = nullptr;
    CUIManager m_manager;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    UINT m_closeCode = 0;
};

}  // namespace Skin
