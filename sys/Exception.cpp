#include "sys/Exception.h"

#include "sys/TextConversion.h"

namespace Utils {

Exception::Exception(const std::wstring& message)
    : m_message(message), m_narrow(ToNarrow(message)) {
    if (m_narrow.empty()) m_narrow = "Unknown exception";
}

const char* Exception::what() const noexcept { return m_narrow.c_str(); }

}  // namespace Utils
