#pragma once
#include <exception>
#include <string>

namespace Utils {

// The utility exception: built from a wide message, described in narrow (ANSI) text.
class Exception : public std::exception {
public:
    explicit Exception(const std::wstring& message);
    const char* what() const noexcept override;
    const std::wstring& Message() const { return m_message; }

private:
    std::wstring m_message;
    std::string m_narrow;
};

}  // namespace Utils
