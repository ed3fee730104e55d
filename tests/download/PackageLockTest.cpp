#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "download/PackageLock.h"

namespace {

std::wstring SelfPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring TempFile(const wchar_t* name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

}  // namespace

// From the moment a package is locked until its lock goes, another program can read and run
// it but not change, replace or delete it.
TEST(PackageLockTest, LockedPackageRunsButCannotBeChanged) {
    const std::wstring package = TempFile(L"package-lock-test.exe");
    const std::wstring moved = TempFile(L"package-lock-moved.exe");
    DeleteFileW(package.c_str());
    DeleteFileW(moved.c_str());
    ASSERT_TRUE(CopyFileW(SelfPath().c_str(), package.c_str(), FALSE));
    {
        Utils::UniqueHandle lock = LockPackage(package);
        ASSERT_TRUE(lock);
        HANDLE writer = CreateFileW(package.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        EXPECT_FALSE(DeleteFileW(package.c_str()));
        EXPECT_FALSE(MoveFileW(package.c_str(), moved.c_str()));
        EXPECT_FALSE(CopyFileW(SelfPath().c_str(), package.c_str(), FALSE));  // no overwrite
        HANDLE reader = CreateFileW(package.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(reader, INVALID_HANDLE_VALUE);
        if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
        // and it still runs
        std::wstring command = L"\"" + package + L"\" --gtest_list_tests";
        STARTUPINFOW si = {sizeof si};
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(CreateProcessW(package.c_str(), &command[0], nullptr, nullptr, FALSE,
                                   CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi));
        WaitForSingleObject(pi.hProcess, 60000);
        DWORD code = 1;
        GetExitCodeProcess(pi.hProcess, &code);
        EXPECT_EQ(code, 0u);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    // An open writer keeps the lock from being taken: what is being written is not verified.
    HANDLE writer = CreateFileW(package.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(LockPackage(package));
    CloseHandle(writer);
    EXPECT_FALSE(LockPackage(TempFile(L"no-such-package.exe")));
    EXPECT_TRUE(DeleteFileW(package.c_str()));
}
