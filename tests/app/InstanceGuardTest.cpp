#include "app/InstanceGuard.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(InstanceGuardTest, OnlyOneHolderAtATime) {
    InstanceGuard first(L"Installer_quillmoss_test");
    EXPECT_EQ(first.FullName(), L"D1A547DB89C0BC61_Installer_quillmoss_test");
    first.Acquire();
    ASSERT_TRUE(first.Held());
    first.Acquire();  // held already: nothing changes
    EXPECT_TRUE(first.Held());
    InstanceGuard second(L"Installer_quillmoss_test");
    second.Acquire();
    EXPECT_FALSE(second.Held());  // another installer has it
    first.Release();
    second.Acquire();
    EXPECT_TRUE(second.Held());
    // the product's own name is what the installer takes
    EXPECT_EQ(InstanceGuard().FullName(), L"D1A547DB89C0BC61_Installer_quillmoss");
}

TEST(InstanceGuardTest, TheNameExistsWhileHeldAndGoesWithRelease) {
    InstanceGuard guard(L"Installer_quillmoss_test2");
    guard.Acquire();
    ASSERT_TRUE(guard.Held());
    HANDLE existing = OpenMutexW(SYNCHRONIZE, FALSE, guard.FullName().c_str());
    EXPECT_NE(existing, nullptr);
    if (existing) CloseHandle(existing);
    guard.Release();
    EXPECT_EQ(OpenMutexW(SYNCHRONIZE, FALSE, guard.FullName().c_str()), nullptr);
}

}  // namespace
