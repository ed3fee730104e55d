#include "sys/DeviceIdFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(DeviceIdFormatTest, ThirdFieldLowerCaseRestUpperCase) {
    const std::uint8_t tail[8] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0};
    EXPECT_EQ(Utils::FormatDeviceId(0x12345678, 0x9ABC, 0xDEF0, tail),
              L"123456789ABCdef0123456789ABCDEF0");
}

TEST(DeviceIdFormatTest, FieldsAreZeroPadded) {
    const std::uint8_t tail[8] = {0, 1, 2, 3, 4, 5, 6, 0xA};
    EXPECT_EQ(Utils::FormatDeviceId(0xA, 0xB, 0xC, tail), L"0000000A000B000c000102030405060A");
}

}  // namespace
