#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// MD5 message digest (RFC 1321).
class Md5 {
public:
    Md5();
    void Update(const void* data, std::size_t length);
    // The digest as 32 lower-case hexadecimal digits; the object is spent afterwards.
    std::string HexDigest();

private:
    void Transform(const std::uint8_t block[64]);

    std::uint32_t m_state[4];
    std::uint64_t m_length = 0;  // bytes hashed so far
    std::uint8_t m_buffer[64];
};
