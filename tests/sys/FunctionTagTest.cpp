#include "sys/FunctionTag.h"

#include <gtest/gtest.h>

namespace {

struct TagCase {
    const char* signature;
    const char* tag;
};

class FunctionTagTest : public testing::TestWithParam<TagCase> {};

TEST_P(FunctionTagTest, QualifiedNameOfSignature) {
    EXPECT_EQ(Utils::FunctionTagFromSignature(GetParam().signature), GetParam().tag);
}

INSTANTIATE_TEST_SUITE_P(
    Signatures, FunctionTagTest,
    testing::Values(
        TagCase{"void CurlClient::Head()", "CurlClient::Head"},
        TagCase{"static long unsigned int Utils::Thread::CallBack(void*)",
                "Utils::Thread::CallBack"},
        TagCase{"int CMTCurlDownloader::downloadExe(const std::wstring&, long long) const",
                "CMTCurlDownloader::downloadExe"},
        TagCase{"std::map<std::__cxx11::basic_string<wchar_t>, int> A::B::Get(int (*)(int))",
                "A::B::Get"},
        TagCase{"bool Utils::CheckNetwork()", "Utils::CheckNetwork"},
        TagCase{"void {anonymous}::Helper(int)", "{anonymous}::Helper"},
        TagCase{"T Pick(T) [with T = int]", "Pick"},
        TagCase{"CDownloadInstaller::Start()::<lambda(int, double, const wchar_t*)>",
                "CDownloadInstaller::Start::<lambda>::operator ()"},
        TagCase{"main", "main"}));

}  // namespace
