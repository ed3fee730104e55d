#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

// The input side of a hash with 64-byte blocks: bytes go through buffer, every whole block to
// transform; length counts all bytes fed so far (its value modulo 64 is what waits in buffer).
template <typename Transform>
void FeedBlocks(std::uint8_t (&buffer)[64], std::uint64_t& length, const void* data,
                std::size_t count, Transform transform) {
    const std::uint8_t* bytes = static_cast<const std::uint8_t*>(data);
    std::size_t used = static_cast<std::size_t>(length % 64);
    length += count;
    if (used > 0) {
        const std::size_t take = count < 64 - used ? count : 64 - used;
        std::memcpy(buffer + used, bytes, take);
        used += take;
        bytes += take;
        count -= take;
        if (used < 64) return;
        transform(buffer);
    }
    for (; count >= 64; bytes += 64, count -= 64) transform(bytes);
    std::memcpy(buffer, bytes, count);
}
