#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/SkinFiles.h"
#include "skin/WndShadow.h"

// What every main-window test starts from: the toolkit prepared as the entry point does it,
// with this program's own skin package, no earlier installation recorded, and a timer that
// closes every prompt the window opens (their modal loops run the thread's timers).
class MainWindowFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Skin::SkinResources().SetInstance(GetModuleHandleW(nullptr));
        Skin::SetSevenZipPackages(true);
        Skin::CWndShadow::Initialize(GetModuleHandleW(nullptr));
    }
    void SetUp() override {
        ClosedPrompts().clear();
        RegDeleteTreeW(HKEY_CURRENT_USER, kRecordKey);
        m_promptTimer = SetTimer(nullptr, 0, 200, &ClosePrompts);
    }
    void TearDown() override {
        KillTimer(nullptr, m_promptTimer);
        RegDeleteTreeW(HKEY_CURRENT_USER, kRecordKey);
    }

    static constexpr const wchar_t* kRecordKey = L"Software\\RavellSoft\\quillmoss";

    // The window classes of the prompts closed so far, in order.
    static std::vector<std::wstring>& ClosedPrompts() {
        static std::vector<std::wstring> closed;
        return closed;
    }
    // Runs the thread's messages for a while.
    static void Pump(DWORD ms) {
        const DWORD start = GetTickCount();
        MSG msg;
        while (GetTickCount() - start < ms) {
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            Sleep(10);
        }
    }

private:
    static void CALLBACK ClosePrompts(HWND, UINT, UINT_PTR, DWORD) {
        for (const wchar_t* name : {L"MessageBox1Wnd", L"MessageBox2Wnd", L"NetworkTipWnd",
                                    L"ExitTipWnd", L"InstalledPathTipWnd"}) {
            if (HWND prompt = FindWindowW(name, nullptr)) {
                ClosedPrompts().push_back(name);
                PostMessageW(prompt, WM_CLOSE, 1, 0);
            }
        }
    }
    UINT_PTR m_promptTimer = 0;
};
