#include "app/CommandLineArgs.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(CommandLineArgsTest, SplitsAtFirstEqualsAndKeepsFirstOccurrence) {
    const CommandLineArgs args({L"C:\\setup.exe", L"-downloadurl=x?a=1", L"-downloadtype=2",
                                L"-downloadtype=3", L"/S", L"-ischecknet", L"plain=word",
                                L"-=empty"});
    const std::map<std::wstring, std::wstring> expected = {
        {L"C:\\setup.exe", L""}, {L"-downloadurl", L"x?a=1"}, {L"-downloadtype", L"2"},
        {L"/S", L""}, {L"-ischecknet", L""}, {L"plain=word", L""}, {L"-", L"empty"}};
    EXPECT_EQ(args.Values(), expected);
}

TEST(CommandLineArgsTest, LookupsLeaveTargetsAloneWhenKeyMissingOrCaseDiffers) {
    const CommandLineArgs args({L"prog", L"-DownloadType=2"});
    int type = 7;
    bool flag = true;
    double scale = 0.5;
    std::wstring text = L"keep";
    EXPECT_FALSE(args.GetInt(L"-downloadtype", type));
    EXPECT_FALSE(args.GetBool(L"-insnew", flag));
    EXPECT_FALSE(args.GetDouble(L"-downloadscale", scale));
    EXPECT_FALSE(args.GetText(L"-instcmd", text));
    EXPECT_EQ(type, 7);
    EXPECT_TRUE(flag);
    EXPECT_EQ(scale, 0.5);
    EXPECT_EQ(text, L"keep");
}

TEST(CommandLineArgsTest, TypedLookups) {
    const CommandLineArgs args({L"prog", L"-a=  -12xyz", L"-b=true", L"-c=True", L"-d",
                                L"-e=0.25abc", L"-f=abc"});
    int i = 5;
    EXPECT_TRUE(args.GetInt(L"-a", i));
    EXPECT_EQ(i, -12);
    bool b = false;
    EXPECT_TRUE(args.GetBool(L"-b", b));
    EXPECT_TRUE(b);
    EXPECT_TRUE(args.GetBool(L"-c", b));
    EXPECT_FALSE(b);
    b = true;
    EXPECT_TRUE(args.GetBool(L"-d", b));  // an option without a value sets false
    EXPECT_FALSE(b);
    double d = 0;
    EXPECT_TRUE(args.GetDouble(L"-e", d));
    EXPECT_EQ(d, 0.25);
    EXPECT_TRUE(args.GetDouble(L"-f", d));
    EXPECT_TRUE(std::isnan(d));
    EXPECT_TRUE(std::signbit(d));
}

}  // namespace
