#include "install/PrivateFolder.h"

// clang-format off
#include <windows.h>
#include <ntsecapi.h>
#include <sddl.h>
#include <shlobj.h>
// clang-format on

#include "download/FileChecksum.h"
#include "sys/DebugLog.h"

namespace {

std::wstring RandomName() {
    unsigned char bytes[8] = {};
    if (!RtlGenRandom(bytes, sizeof bytes)) return std::wstring();
    static const wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring name;
    for (unsigned char b : bytes) {
        name += kHex[b >> 4];
        name += kHex[b & 15];
    }
    return name;
}

std::wstring ProgramFilesX86() {
    wchar_t* folder = nullptr;
    std::wstring path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_ProgramFilesX86, 0, nullptr, &folder)))
        path = folder;
    CoTaskMemFree(folder);
    return path;
}

// A parent of the private folders: made protected when missing; an existing one is used
// only when it is a real folder (not a junction or other reparse point).
bool EnsureParent(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return CreateProtectedFolder(path);
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
    WIN32_FILE_ATTRIBUTE_DATA da = {}, db = {};
    if (!GetFileAttributesExW(a.c_str(), GetFileExInfoStandard, &da) ||
        !GetFileAttributesExW(b.c_str(), GetFileExInfoStandard, &db))
        return false;
    if (da.nFileSizeHigh != db.nFileSizeHigh || da.nFileSizeLow != db.nFileSizeLow) return false;
    const std::string ha = GetFileMd5(a);
    return !ha.empty() && ha == GetFileMd5(b);
}

}  // namespace

// SYSTEM and Administrators: full control; Users: read and execute; protected from
// inheritance, passed on to what is created inside.
const wchar_t kProtectedFolderAccess[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;GRGX;;;BU)";

bool CreateProtectedFolder(const std::wstring& path) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kProtectedFolderAccess, SDDL_REVISION_1,
                                                              &descriptor, nullptr))
        return false;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
    const bool created = CreateDirectoryW(path.c_str(), &attributes) != FALSE;
    LocalFree(descriptor);
    return created;
}

std::unique_ptr<PrivateFolder> PrivateFolder::Create(bool elevated) {
    const std::wstring name = RandomName();
    if (name.empty()) return nullptr;
    if (elevated) {
        const std::wstring programFiles = ProgramFilesX86();
        if (programFiles.empty()) return nullptr;
        const std::wstring company = programFiles + L"\\RavellSoft";
        const std::wstring temp = company + L"\\Temp";
        if (!EnsureParent(company) || !EnsureParent(temp)) return nullptr;
        const std::wstring path = temp + L"\\" + name;
        if (!CreateProtectedFolder(path)) return nullptr;
        return std::unique_ptr<PrivateFolder>(new PrivateFolder(path));
    }
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(temp) + L"~Ravell." + name;
    if (!CreateDirectoryW(path.c_str(), nullptr)) return nullptr;
    return std::unique_ptr<PrivateFolder>(new PrivateFolder(path));
}

PrivateFolder::~PrivateFolder() {
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((m_path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((m_path + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    if (!RemoveDirectoryW(m_path.c_str()))
        DEBUG_LOG(L"cannot remove %s: %lu\r\n", m_path.c_str(), GetLastError());
}

bool CopyVerified(const std::wstring& source, const std::wstring& target) {
    if (!CopyFileW(source.c_str(), target.c_str(), TRUE)) return false;
    if (SameFile(source, target)) return true;
    DeleteFileW(target.c_str());
    return false;
}
