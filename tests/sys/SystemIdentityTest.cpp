#include "sys/SystemIdentity.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <set>

namespace {

TEST(SystemIdentityTest, DeviceIdsAreFreshAndShaped) {
    std::set<std::wstring> seen;
    for (int i = 0; i < 50; ++i) {
        const std::wstring id = Utils::NewDeviceId();
        ASSERT_EQ(id.size(), 32u);
        for (size_t k = 0; k < id.size(); ++k) {
            EXPECT_TRUE(std::iswxdigit(id[k])) << id.c_str();
            if (k < 12 || k >= 16) {
                EXPECT_FALSE(std::iswlower(id[k])) << id.c_str();
            }
        }
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 50u);
}

TEST(SystemIdentityTest, AccountQueries) {
    EXPECT_FALSE(Utils::IsAdminAccount(L""));
    EXPECT_FALSE(Utils::IsAdminAccount(L"no-such-user-\x6d4b\x8bd5"));
    std::wstring user = L"unchanged";
    if (Utils::GetActiveSessionUserName(user)) {
        EXPECT_FALSE(user.empty());
        EXPECT_EQ(user.find(L'\\'), std::wstring::npos);  // no domain part
    } else {
        EXPECT_EQ(user, L"unchanged");
    }
}

TEST(SystemIdentityTest, VersionNameFamilyIsWindows) {
    const Utils::OSVersionName os = Utils::GetOSVersionName();
    EXPECT_EQ(os.family, L"Windows");
    EXPECT_FALSE(os.name.empty());
}

}  // namespace
