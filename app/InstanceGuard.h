#pragma once
#include <string>

// The single-instance guard of the installer: a named mutex
// "D1A547DB89C0BC61_" + name in the session's default namespace. A second installer of the
// product finds it taken and ends at once.
class InstanceGuard {
public:
    explicit InstanceGuard(const std::wstring& name = L"Installer_quillmoss") : m_name(name) {}
    ~InstanceGuard() { Release(); }
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // Takes the mutex unless this object holds it already; afterwards Held() tells whether this
    // process is the only installer.
    void Acquire();
    void Release();
    bool Held() const { return m_handle != nullptr; }
    std::wstring FullName() const { return L"D1A547DB89C0BC61_" + m_name; }

private:
    std::wstring m_name;
    void* m_handle = nullptr;
};
