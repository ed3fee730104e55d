#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin/LayoutNode.h"

namespace Skin {

class CControlUI;
class CUIManager;

// One notification of the window's controls, delivered synchronously to the window's
// notifiers ("click" also to OnClick).
struct UINotification {
    std::wstring sType;
    CControlUI* pSender = nullptr;
    DWORD dwTimestamp = 0;  // milliseconds since the system started
    POINT ptMouse = {0, 0};  // last mouse position, client coordinates
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(UINotification& msg) = 0;
};

// What a control sees of the mouse and keyboard, translated by its window's manager.
enum class UIEvent { MouseEnter, MouseLeave, ButtonDown, ButtonUp, Key, SetFocus, KillFocus, Timer };
struct UIEventArgs {
    UIEvent type;
    POINT pt = {0, 0};
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The base of every control: name, text, size attributes (kept as its layout node),
// background colour and image, border, visibility, enabled state, user data and the
// attributes no class knows. Draws background colour, background image, state image, text
// and border, in that order.
class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual const wchar_t* GetClass() const { return L"Control"; }
    virtual LayoutKind Kind() const { return LayoutKind::Control; }
    virtual SizeRule Rule() const { return SizeRule::Fixed; }

    const std::wstring& GetName() const { return m_layout.name; }
    void SetName(const std::wstring& name) { m_layout.name = name; }
    virtual std::wstring GetText() const { return m_layout.text; }
    virtual void SetText(const std::wstring& text);
    bool IsVisible() const { return m_layout.visible; }
    virtual void SetVisible(bool visible);
    bool IsEnabled() const { return m_enabled; }
    virtual void SetEnabled(bool enabled);
    const std::wstring& GetBkImage() const { return m_bkImage; }
    void SetBkImage(const std::wstring& image);
    void SetFixedWidth(int width);
    void SetFocus();
    void Invalidate();
    const std::wstring& GetUserData() const { return m_userData; }
    // The value of an attribute that no class knew, or empty.
    std::wstring GetCustomAttribute(const std::wstring& name) const;

    // One attribute of the control's element; unknown ones are kept as custom attributes.
    virtual void SetAttribute(const std::wstring& name, const std::wstring& value);

    CControlUI* GetParent() const { return m_parent; }
    void SetParent(CControlUI* parent) { m_parent = parent; }
    CUIManager* GetManager() const { return m_manager; }
    virtual void SetManager(CUIManager* manager) { m_manager = manager; }

    const RECT& GetPos() const { return m_rect; }
    virtual void SetPos(const RECT& rect) { m_rect = rect; }
    const LayoutNode& Layout() const { return m_layout; }
    LayoutNode& Layout() { return m_layout; }

    // Children (containers only).
    virtual int GetCount() const { return 0; }
    virtual CControlUI* GetItemAt(int) const { return nullptr; }

    // Called once the control's window has its tree (the sequence controls start here).
    virtual void DoInit() {}

    // Whether the control takes the mouse at all (plain controls and labels do not).
    virtual bool WantsMouse() const { return false; }
    virtual void Event(const UIEventArgs& event);

    void DoPaint(HDC dc, const RECT& paint);

protected:
    virtual void PaintBkColor(HDC dc);
    virtual void PaintBkImage(HDC dc);
    virtual void PaintStatusImage(HDC dc) {}
    virtual void PaintText(HDC dc) {}
    virtual void PaintBorder(HDC dc);
    virtual void PaintChildren(HDC dc, const RECT& paint) {}
    // Draws an image string over the control; false when the image could not be drawn.
    bool DrawImage(HDC dc, const std::wstring& image);
    void NeedParentUpdate();

    LayoutNode m_layout;  // size attributes, visibility, text; children stay empty here
    RECT m_rect = {0, 0, 0, 0};
    CUIManager* m_manager = nullptr;
    CControlUI* m_parent = nullptr;
    bool m_enabled = true;
    std::uint32_t m_bkColor = 0;
    std::wstring m_bkImage;
    RECT m_borderSize = {0, 0, 0, 0};
    std::uint32_t m_borderColor = 0;
    SIZE m_borderRound = {0, 0};
    std::wstring m_userData;
    std::map<std::wstring, std::wstring> m_custom;
};

}  // namespace Skin
