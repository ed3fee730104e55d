#include "install/CommandLines.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLinesTest, PackageMinimalEndsAfterSsc) {
    PackageOptions o;
    o.quotedPackage = L"\"C:\\d\\__Package_quillmoss.exe\"";
    o.adminAccount = true;
    o.startShortcut = true;
    EXPECT_EQ(BuildPackageCommandLine(o),
              L"\"C:\\d\\__Package_quillmoss.exe\" /S -console=show -version=1.0.0"
              L" -adminact=true -authorizationact=false -dsc=false -ssc=true");
}

TEST(CommandLinesTest, PackageFullOrderWithFolderLast) {
    PackageOptions o;
    o.quotedPackage = L"\"p.exe\"";
    o.installDir = L"D:\\\x6d4b\x8bd5 \x5b89\x88c5";
    o.elevated = true;
    o.desktopShortcut = true;
    o.language = L"en";
    o.instCmd = L"-x=1 /y";
    EXPECT_EQ(BuildPackageCommandLine(o),
              L"\"p.exe\" /S -console=show -version=1.0.0 -adminact=false"
              L" -authorizationact=true -dsc=true -ssc=false -inslang=\"en\" -x=1 /y"
              L" -instdir=\"D:\\\x6d4b\x8bd5 \x5b89\x88c5\" /D=D:\\\x6d4b\x8bd5 \x5b89\x88c5");
}

TEST(CommandLinesTest, UninstallHasNoQuotesAndEndsWithFolder) {
    EXPECT_EQ(BuildUninstallCommandLine(L"C:\\T mp\\quillmoss_un_asa.exe", false, true,
                                        L"C:\\Program Files\\Q"),
              L"C:\\T mp\\quillmoss_un_asa.exe /S -adminact=false -authorizationact=true"
              L" -console=show _?=C:\\Program Files\\Q");
}

TEST(CommandLinesTest, LongPartsAreKeptWhole) {
    PackageOptions o;
    o.quotedPackage = L"\"p.exe\"";
    o.instCmd = std::wstring(3000, L'x');
    EXPECT_NE(BuildPackageCommandLine(o).find(o.instCmd), std::wstring::npos);
}

}  // namespace
