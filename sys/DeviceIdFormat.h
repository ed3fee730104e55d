#pragma once
#include <cstdint>
#include <string>

namespace Utils {

// A GUID as a device identifier: 32 hexadecimal digits without braces or dashes, upper case
// except the third field, which is lower case (12345678-9ABC-DEF0-... -> 123456789ABCdef0...).
std::wstring FormatDeviceId(std::uint32_t data1, std::uint16_t data2, std::uint16_t data3,
                            const std::uint8_t (&data4)[8]);

}  // namespace Utils
