#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <vector>
#include <string>

#include "install/PrivateFolder.h"
#include "sys/UniqueHandle.h"

namespace {

struct Ace {
    std::wstring sid;  // string form
    ACCESS_MASK mask;
    BYTE flags;
};

std::vector<Ace> AcesOf(PSECURITY_DESCRIPTOR descriptor, bool& isProtected) {
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    isProtected = (control & SE_DACL_PROTECTED) != 0;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
    std::vector<Ace> aces;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace))) continue;
        EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
        wchar_t* sid = nullptr;
        ConvertSidToStringSidW(&ace->SidStart, &sid);
        aces.push_back({sid ? sid : L"?", ace->Mask, ace->Header.AceFlags});
        LocalFree(sid);
    }
    return aces;
}

// The folder's access list as the system reports it, and whether it is protected.
std::vector<Ace> ReadAccess(const std::wstring& path, bool& isProtected) {
    HANDLE folder = CreateFileW(path.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    EXPECT_NE(folder, INVALID_HANDLE_VALUE);
    Utils::UniqueHandle owner(folder);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    EXPECT_EQ(GetSecurityInfo(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, nullptr, nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    std::vector<Ace> aces = AcesOf(descriptor, isProtected);
    LocalFree(descriptor);
    return aces;
}

// Wine keeps no security descriptors for files: it makes one up from the Unix permission bits
// (owner and SYSTEM full control, everyone read), whatever was asked for at creation.
bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The protected list: exactly SYSTEM and Administrators with full control and Users with
// reading and running, inherited by what is created inside, nothing from the parent.
void ExpectProtectedList(const std::vector<Ace>& aces, bool isProtected) {
    EXPECT_TRUE(isProtected);
    ASSERT_EQ(aces.size(), 3u);
    const BYTE inherit = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    EXPECT_EQ(aces[0].sid, L"S-1-5-18");      // SYSTEM
    EXPECT_EQ(aces[0].mask, static_cast<ACCESS_MASK>(FILE_ALL_ACCESS));
    EXPECT_EQ(aces[1].sid, L"S-1-5-32-544");  // Administrators
    EXPECT_EQ(aces[1].mask, static_cast<ACCESS_MASK>(FILE_ALL_ACCESS));
    EXPECT_EQ(aces[2].sid, L"S-1-5-32-545");  // Users: reading and running only
    EXPECT_EQ(aces[2].mask & (FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA |
                              FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC | WRITE_OWNER |
                              GENERIC_WRITE | GENERIC_ALL),
              0u);
    EXPECT_NE(aces[2].mask & (GENERIC_READ | FILE_READ_DATA), 0u);
    EXPECT_NE(aces[2].mask & (GENERIC_EXECUTE | FILE_EXECUTE), 0u);
    for (const Ace& ace : aces) EXPECT_EQ(ace.flags & inherit, inherit) << ace.sid;
}

std::wstring TempPath(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

}  // namespace

TEST(PrivateFolderTest, ProtectedFolderHasExactlyItsOwnAccessList) {
    PSECURITY_DESCRIPTOR requested = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        kProtectedFolderAccess, SDDL_REVISION_1, &requested, nullptr));
    bool isProtected = false;
    const std::vector<Ace> asked = AcesOf(requested, isProtected);
    ExpectProtectedList(asked, isProtected);
    LocalFree(requested);

    const std::wstring path = TempPath(L"protected-folder-test");
    RemoveDirectoryW(path.c_str());
    ASSERT_TRUE(CreateProtectedFolder(path));
    const std::vector<Ace> stored = ReadAccess(path, isProtected);
    if (UnderWine())
        std::printf("Wine keeps no descriptor: %u entries read back\n",
                    static_cast<unsigned>(stored.size()));
    else
        ExpectProtectedList(stored, isProtected);

    // A name that exists already is never taken over: not a folder, not a file.
    EXPECT_FALSE(CreateProtectedFolder(path));
    RemoveDirectoryW(path.c_str());
    const std::wstring file = TempPath(L"protected-folder-file");
    std::ofstream(file.c_str()) << "x";
    EXPECT_FALSE(CreateProtectedFolder(file));
    DeleteFileW(file.c_str());
}

TEST(PrivateFolderTest, EachRunGetsANewFolderThatGoesWithIt) {
    for (bool elevated : {true, false}) {
        std::wstring first, second;
        {
            auto a = PrivateFolder::Create(elevated);
            auto b = PrivateFolder::Create(elevated);
            ASSERT_TRUE(a && b) << elevated;
            first = a->Path();
            second = b->Path();
            EXPECT_NE(first, second);
            if (elevated) {
                EXPECT_NE(first.find(L"\\RavellSoft\\Temp\\"), std::wstring::npos) << first;
                bool isProtected = false;
                const std::vector<Ace> stored = ReadAccess(first, isProtected);
                if (!UnderWine()) ExpectProtectedList(stored, isProtected);
            }
            EXPECT_TRUE(CopyVerified(L"C:\\windows\\system32\\kernel32.dll",
                                     a->Path() + L"\\copy.dll"));
            // the copy's name is taken: no second copy over it
            EXPECT_FALSE(CopyVerified(L"C:\\windows\\system32\\user32.dll",
                                      a->Path() + L"\\copy.dll"));
        }
        EXPECT_EQ(GetFileAttributesW(first.c_str()), INVALID_FILE_ATTRIBUTES) << first;
        EXPECT_EQ(GetFileAttributesW(second.c_str()), INVALID_FILE_ATTRIBUTES) << second;
    }
}

TEST(PrivateFolderTest, MissingSourceIsNoCopy) {
    auto folder = PrivateFolder::Create(false);
    ASSERT_TRUE(folder);
    EXPECT_FALSE(CopyVerified(L"C:\\no\\such\\file.exe", folder->Path() + L"\\copy.exe"));
    EXPECT_EQ(GetFileAttributesW((folder->Path() + L"\\copy.exe").c_str()),
              INVALID_FILE_ATTRIBUTES);
}
