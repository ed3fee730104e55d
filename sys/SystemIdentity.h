#pragma once
#include <string>

namespace Utils {

// Family ("Windows") and short version name of the running system.
struct OSVersionName {
    std::wstring family;
    std::wstring name;
};
OSVersionName GetOSVersionName();

// The calling thread's effective token is a member of the built-in Administrators group.
bool IsProcessAdmin();

// The local account userName has administrator privilege (false for unknown or empty names).
bool IsAdminAccount(const std::wstring& userName);

// User name of the active console session; userName is left unchanged on failure.
bool GetActiveSessionUserName(std::wstring& userName);

// A fresh 32-digit device identifier.
std::wstring NewDeviceId();

}  // namespace Utils
