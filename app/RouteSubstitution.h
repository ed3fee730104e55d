#pragma once
#include <functional>
#include <string>

// Replaces every "${ROUTE}" in text with the download route for the running system:
// "download_silent_xp" when the Windows version name contains "XP", else "download_silent".
// osVersionName is asked only when the text holds the placeholder.
std::wstring SubstituteRoute(const std::wstring& text,
                             const std::function<std::wstring()>& osVersionName);
