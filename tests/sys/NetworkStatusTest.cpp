#include "sys/NetworkStatus.h"

#include <gtest/gtest.h>

namespace {

TEST(NetworkStatusTest, AnswerForWhatTheManagerReported) {
    const struct {
        bool created;
        std::uint32_t flags;
        bool internet;
        std::uint32_t result;
        bool connected;
    } cases[] = {
        {false, 0, false, 0, true},            // no manager: never blocks an installation
        {false, 0x40, true, 0, true},
        {true, 0, false, 0x10000, false},      // no connectivity at all
        {true, 0, true, 0x10000, false},
        {true, 0x40, true, 0x40, true},        // IPv4 internet
        {true, 0x440, true, 0x440, true},
        {true, 0x20, false, 0x20020, false},   // local network only
        {true, 0x1, false, 0x20001, false},    // IPv4, no traffic
        {true, 0x40, false, 0x20040, false},   // flags claim internet, the manager says no
        {true, 0x12345, true, 0x2345, true},   // only 16 bits of flags are kept
    };
    for (const auto& c : cases) {
        const std::uint32_t result = Utils::NetworkCheckResult(c.created, c.flags, c.internet);
        EXPECT_EQ(result, c.result) << c.flags;
        EXPECT_EQ(Utils::IsNetworkConnected(result), c.connected) << c.flags;
    }
}

}  // namespace
