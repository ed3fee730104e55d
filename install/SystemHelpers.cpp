#include "install/SystemHelpers.h"

#include <windows.h>
#include <tlhelp32.h>

unsigned long FindRunningProcess(const std::wstring& name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry)) {
        const wchar_t* slash = wcsrchr(entry.szExeFile, L'\\');
        if (name == (slash ? slash + 1 : entry.szExeFile)) found = entry.th32ProcessID;
    }
    CloseHandle(snapshot);
    return found;
}

namespace {
bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
}  // namespace

bool CreateFolderWithParents(const std::wstring& path) {
    if (path.size() > MAX_PATH) return false;
    for (size_t at = path.find(L'\\'); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
        const std::wstring prefix = path.substr(0, at + 1);
        if (prefix.size() <= 3 && prefix.find(L':') != std::wstring::npos) continue;  // "C:\"
        if (!Exists(prefix) && !CreateDirectoryW(prefix.c_str(), nullptr)) return false;
    }
    return Exists(path) || CreateDirectoryW(path.c_str(), nullptr);
}
