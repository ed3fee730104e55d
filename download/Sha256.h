#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// SHA-256 message digest (FIPS 180-4), for certificate thumbprints.
class Sha256 {
public:
    Sha256();
    void Update(const void* data, std::size_t length);
    // The digest as 64 lower-case hexadecimal digits; the object is spent afterwards.
    std::string HexDigest();

private:
    void Transform(const std::uint8_t block[64]);

    std::uint32_t m_state[8];
    std::uint64_t m_length = 0;  // bytes hashed so far
    std::uint8_t m_buffer[64];
};
