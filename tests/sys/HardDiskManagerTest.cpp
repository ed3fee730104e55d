#include "sys/HardDiskManager.h"

#include <gtest/gtest.h>

#include "tests/LogCapture.h"

namespace {

TEST(HardDiskManagerTest, DriveSpecificationsAndFolders) {
    for (const wchar_t* directory : {L"C:", L"C:\\", L"C:\\windows", L"Z:\\tmp"}) {
        Utils::HardDiskManager disk;
        EXPECT_TRUE(disk.CheckFreeSpace(directory)) << directory;
        EXPECT_GT(disk.totalBytes, 0u) << directory;
        EXPECT_LE(disk.freeBytesAvailable, disk.totalBytes) << directory;
        EXPECT_LE(disk.freeBytesAvailable, disk.totalFreeBytes) << directory;
    }
}

TEST(HardDiskManagerTest, MissingDriveFailsWithTheSystemCode) {
    LogCapture log;
    Utils::HardDiskManager disk;
    EXPECT_FALSE(disk.CheckFreeSpace(L"Q:\\no such drive"));
    EXPECT_EQ(disk.freeBytesAvailable, 0u);
    EXPECT_EQ(disk.totalBytes, 0u);
    EXPECT_EQ(disk.totalFreeBytes, 0u);
    const auto lines = log.LinesTagged(L"Utils::HardDiskManager::CheckFreeSpace");
    ASSERT_EQ(lines.size(), 1u);
    const std::wstring message = LogCapture::Message(lines[0]);
    EXPECT_EQ(message.rfind(L"HardDiskManager::CheckFreeSpace FAIL code=", 0), 0u) << message;
    EXPECT_NE(message, L"HardDiskManager::CheckFreeSpace FAIL code=0\r\n");
    EXPECT_EQ(message.substr(message.size() - 2), L"\r\n");
}

}  // namespace
