#include "download/Md5.h"

#include "download/BlockFeed.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613,
    0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193,
    0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d,
    0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
    0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122,
    0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
    0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244,
    0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb,
    0xeb86d391};
constexpr int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                        5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                        4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                        6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

inline std::uint32_t Rotate(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

}  // namespace

Md5::Md5() : m_state{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476}, m_buffer{} {}

// One step of a round: a = b + ((a + f(b, c, d) + word + constant) <<< shift). The 64
// steps are written out so that every shift and word index is a constant.
#define MD5_STEP(name, f)                                                                \
    inline void name(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d, \
                     std::uint32_t word, std::uint32_t constant, int shift) {             \
        a = b + Rotate(a + (f) + word + constant, shift);                                 \
    }
namespace {
MD5_STEP(StepF, (b & c) | (~b & d))
MD5_STEP(StepG, (d & b) | (~d & c))
MD5_STEP(StepH, b ^ c ^ d)
MD5_STEP(StepI, c ^ (b | ~d))
}  // namespace
#undef MD5_STEP

void Md5::Transform(const std::uint8_t block[64]) {
    std::uint32_t m[16];
    for (int i = 0; i < 16; ++i)
        m[i] = std::uint32_t(block[i * 4]) | std::uint32_t(block[i * 4 + 1]) << 8 |
               std::uint32_t(block[i * 4 + 2]) << 16 | std::uint32_t(block[i * 4 + 3]) << 24;
    std::uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3];
    StepF(a, b, c, d, m[0], kSine[0], kShift[0]);
    StepF(d, a, b, c, m[1], kSine[1], kShift[1]);
    StepF(c, d, a, b, m[2], kSine[2], kShift[2]);
    StepF(b, c, d, a, m[3], kSine[3], kShift[3]);
    StepF(a, b, c, d, m[4], kSine[4], kShift[4]);
    StepF(d, a, b, c, m[5], kSine[5], kShift[5]);
    StepF(c, d, a, b, m[6], kSine[6], kShift[6]);
    StepF(b, c, d, a, m[7], kSine[7], kShift[7]);
    StepF(a, b, c, d, m[8], kSine[8], kShift[8]);
    StepF(d, a, b, c, m[9], kSine[9], kShift[9]);
    StepF(c, d, a, b, m[10], kSine[10], kShift[10]);
    StepF(b, c, d, a, m[11], kSine[11], kShift[11]);
    StepF(a, b, c, d, m[12], kSine[12], kShift[12]);
    StepF(d, a, b, c, m[13], kSine[13], kShift[13]);
    StepF(c, d, a, b, m[14], kSine[14], kShift[14]);
    StepF(b, c, d, a, m[15], kSine[15], kShift[15]);
    StepG(a, b, c, d, m[1], kSine[16], kShift[16]);
    StepG(d, a, b, c, m[6], kSine[17], kShift[17]);
    StepG(c, d, a, b, m[11], kSine[18], kShift[18]);
    StepG(b, c, d, a, m[0], kSine[19], kShift[19]);
    StepG(a, b, c, d, m[5], kSine[20], kShift[20]);
    StepG(d, a, b, c, m[10], kSine[21], kShift[21]);
    StepG(c, d, a, b, m[15], kSine[22], kShift[22]);
    StepG(b, c, d, a, m[4], kSine[23], kShift[23]);
    StepG(a, b, c, d, m[9], kSine[24], kShift[24]);
    StepG(d, a, b, c, m[14], kSine[25], kShift[25]);
    StepG(c, d, a, b, m[3], kSine[26], kShift[26]);
    StepG(b, c, d, a, m[8], kSine[27], kShift[27]);
    StepG(a, b, c, d, m[13], kSine[28], kShift[28]);
    StepG(d, a, b, c, m[2], kSine[29], kShift[29]);
    StepG(c, d, a, b, m[7], kSine[30], kShift[30]);
    StepG(b, c, d, a, m[12], kSine[31], kShift[31]);
    StepH(a, b, c, d, m[5], kSine[32], kShift[32]);
    StepH(d, a, b, c, m[8], kSine[33], kShift[33]);
    StepH(c, d, a, b, m[11], kSine[34], kShift[34]);
    StepH(b, c, d, a, m[14], kSine[35], kShift[35]);
    StepH(a, b, c, d, m[1], kSine[36], kShift[36]);
    StepH(d, a, b, c, m[4], kSine[37], kShift[37]);
    StepH(c, d, a, b, m[7], kSine[38], kShift[38]);
    StepH(b, c, d, a, m[10], kSine[39], kShift[39]);
    StepH(a, b, c, d, m[13], kSine[40], kShift[40]);
    StepH(d, a, b, c, m[0], kSine[41], kShift[41]);
    StepH(c, d, a, b, m[3], kSine[42], kShift[42]);
    StepH(b, c, d, a, m[6], kSine[43], kShift[43]);
    StepH(a, b, c, d, m[9], kSine[44], kShift[44]);
    StepH(d, a, b, c, m[12], kSine[45], kShift[45]);
    StepH(c, d, a, b, m[15], kSine[46], kShift[46]);
    StepH(b, c, d, a, m[2], kSine[47], kShift[47]);
    StepI(a, b, c, d, m[0], kSine[48], kShift[48]);
    StepI(d, a, b, c, m[7], kSine[49], kShift[49]);
    StepI(c, d, a, b, m[14], kSine[50], kShift[50]);
    StepI(b, c, d, a, m[5], kSine[51], kShift[51]);
    StepI(a, b, c, d, m[12], kSine[52], kShift[52]);
    StepI(d, a, b, c, m[3], kSine[53], kShift[53]);
    StepI(c, d, a, b, m[10], kSine[54], kShift[54]);
    StepI(b, c, d, a, m[1], kSine[55], kShift[55]);
    StepI(a, b, c, d, m[8], kSine[56], kShift[56]);
    StepI(d, a, b, c, m[15], kSine[57], kShift[57]);
    StepI(c, d, a, b, m[6], kSine[58], kShift[58]);
    StepI(b, c, d, a, m[13], kSine[59], kShift[59]);
    StepI(a, b, c, d, m[4], kSine[60], kShift[60]);
    StepI(d, a, b, c, m[11], kSine[61], kShift[61]);
    StepI(c, d, a, b, m[2], kSine[62], kShift[62]);
    StepI(b, c, d, a, m[9], kSine[63], kShift[63]);
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
}

void Md5::Update(const void* data, std::size_t length) {
    FeedBlocks(m_buffer, m_length, data, length,
               [this](const std::uint8_t* block) { Transform(block); });
}

std::string Md5::HexDigest() {
    const std::uint64_t bits = m_length * 8;
    static const std::uint8_t kPadding[64] = {0x80};
    const std::size_t used = static_cast<std::size_t>(m_length % 64);
    Update(kPadding, used < 56 ? 56 - used : 120 - used);
    std::uint8_t tail[8];
    for (int i = 0; i < 8; ++i) tail[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    Update(tail, 8);
    char hex[33];
    for (int i = 0; i < 16; ++i)
        std::snprintf(hex + 2 * i, 3, "%02x", (m_state[i / 4] >> (8 * (i % 4))) & 0xff);
    return std::string(hex, 32);
}
