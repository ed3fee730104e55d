#include "install/InstallRecords.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "install/SystemHelpers.h"

namespace {

std::wstring TempFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + name;
}

std::wstring IniValue(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    wchar_t value[260] = {};
    GetPrivateProfileStringW(section, key, L"", value, 260, file.c_str());
    return value;
}

TEST(InstallRecordsTest, RegistryValuesAreStoredWithoutTerminator) {
    const std::wstring text = L"C:\\\x6d4b\x8bd5 \x5b89\x88c5";
    ASSERT_TRUE(RegWriteString(L"InstallPath", text));
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\RavellSoft\\quillmoss", 0, KEY_READ,
                            &key),
              ERROR_SUCCESS);
    DWORD type = 0, bytes = 0;
    RegQueryValueExW(key, L"InstallPath", nullptr, &type, nullptr, &bytes);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    // Written with twice the characters and no terminator; Wine's registry adds the
    // terminator when it stores a REG_SZ, Windows keeps the size given.
    EXPECT_TRUE(bytes == text.size() * sizeof(wchar_t) ||
                bytes == (text.size() + 1) * sizeof(wchar_t))
        << bytes;
    std::wstring back;
    EXPECT_TRUE(RegReadString(L"InstallPath", back));
    EXPECT_EQ(back, text);
    std::wstring missing = L"keep";
    EXPECT_FALSE(RegReadString(L"NoSuchValue", missing));
}

TEST(InstallRecordsTest, UninstallerRecordedOnlyWhenItExists) {
    InstallRecords records;
    records.installDir = TempFolder(L"records-no-uninst");
    CreateFolderWithParents(records.installDir);
    RegWriteString(L"UnInstallEp", L"old");
    records.WriteRegistryRecord();
    std::wstring value;
    RegReadString(L"UnInstallEp", value);
    EXPECT_EQ(value, L"old");  // not rewritten: no uninst.ep in the folder
    RegReadString(L"InstallPath", value);
    EXPECT_EQ(value, records.installDir);
}

TEST(InstallRecordsTest, IniRecordsCarryNewDeviceIdEachTime) {
    InstallRecords records;
    records.installDir = TempFolder(L"records-ini\\deep\\er");
    ASSERT_TRUE(CreateFolderWithParents(records.installDir));
    const std::wstring setIni = records.installDir + L"\\set.ini";
    records.WriteIniRecords();
    const std::wstring first = IniValue(setIni, L"Install", L"DeviceID");
    records.WriteIniRecords();
    const std::wstring second = IniValue(setIni, L"Install", L"DeviceID");
    EXPECT_EQ(first.size(), 32u);
    EXPECT_NE(first, second);
    EXPECT_EQ(IniValue(setIni, L"Install", L"AppName"), L"quillmoss");
    const std::wstring analytics = IniValue(setIni, L"Install", L"RVSensorsAnalyticsIni");
    EXPECT_EQ(analytics, GetDataDir() + L"\\RVSensorsAnalytics.ini");
    EXPECT_EQ(IniValue(analytics, L"Init", L"UpdateTime").size(), 19u);
}

TEST(InstallRecordsTest, DataDirFallsBackToCommonDocuments) {
    wchar_t saved[MAX_PATH] = {};
    GetEnvironmentVariableW(L"APPDATA", saved, MAX_PATH);
    SetEnvironmentVariableW(L"APPDATA", nullptr);
    wchar_t documents[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, documents, CSIDL_COMMON_DOCUMENTS, FALSE);
    EXPECT_EQ(GetDataDir(), std::wstring(documents) + L"\\RavellData\\quillmoss");
    SetEnvironmentVariableW(L"APPDATA", saved);
    EXPECT_EQ(GetDataDir(), std::wstring(saved) + L"\\RavellData\\quillmoss");
}

TEST(InstallRecordsTest, TypedFolderAndOverrideRule) {
    InstallRecords records;
    const std::wstring fallback = records.GetDefaultInstallDir();
    EXPECT_EQ(records.ResolveInstallDir(fallback + L"\\"), fallback);
    EXPECT_EQ(records.ResolveInstallDir(L"D:\\Other"), L"D:\\Other");

    records.previousInstallDir = TempFolder(L"records-override");
    CreateFolderWithParents(records.previousInstallDir);
    const std::wstring setIni = records.previousInstallDir + L"\\set.ini";
    for (const wchar_t* value : {L"False", L"0", L"false"}) {
        WritePrivateProfileStringW(L"Uninstall", L"IsOverride", value, setIni.c_str());
        EXPECT_EQ(records.IsOverrideDisabled(records.previousInstallDir),
                  std::wstring(value) == L"false")
            << value;
    }
    EXPECT_FALSE(records.IsOverrideDisabled(TempFolder(L"elsewhere")));
}

}  // namespace
