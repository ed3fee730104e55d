#include "sys/DeviceIdFormat.h"

#include <cwchar>

namespace Utils {

std::wstring FormatDeviceId(std::uint32_t data1, std::uint16_t data2, std::uint16_t data3,
                            const std::uint8_t (&data4)[8]) {
    wchar_t buffer[50] = {};
    std::swprintf(buffer, 50, L"%08X%04X%04x%02X%02X%02X%02X%02X%02X%02X%02X",
                  static_cast<unsigned>(data1), static_cast<unsigned>(data2),
                  static_cast<unsigned>(data3), data4[0], data4[1], data4[2], data4[3],
                  data4[4], data4[5], data4[6], data4[7]);
    return buffer;
}

}  // namespace Utils
