#include "ui/ProgressMath.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "ui/FolderChoice.h"

namespace {

TEST(ProgressMathTest, DownloadFillsItsShare) {
    struct Row {
        double value, scale;
        int percent;
    } rows[] = {
        {0.5, 0.7, 35}, {1.0, 0.7, 70}, {0.0, 0.7, 0}, {0.5, 0.0, 0}, {1.0, 0.0, 0},
        {1.0, 1.0, 100}, {0.999, 1.0, 99},
        // a scale that is no share counts as 0.7
        {0.5, std::nan(""), 35}, {0.5, std::numeric_limits<double>::infinity(), 35},
        {0.5, -0.1, 35}, {0.5, 1.5, 35},
        // figures out of range stay on the bar
        {3.0, 1.0, 100}, {-1.0, 0.7, 0}, {std::nan(""), 0.7, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(DownloadPercent(row.value, row.scale), row.percent) << row.value << " " << row.scale;
}

TEST(ProgressMathTest, InstallationStepsAtLeastFifteenHundredths) {
    InstallProgress progress;
    EXPECT_EQ(progress.Step(0.0, 0.7), 74);  // 0.15 of the remaining 30 %
    EXPECT_EQ(progress.Step(0.0, 0.7), 78);  // 78.999..., truncated
    EXPECT_EQ(progress.Step(0.8, 0.7), 94);  // the package is ahead: its figure
    EXPECT_EQ(progress.Step(0.0, 0.7), 98);  // 0.95 at most from the steps alone
    EXPECT_EQ(progress.Step(0.0, 0.7), 98);
    EXPECT_EQ(progress.Step(1.0, 0.7), 100);
}

TEST(ProgressMathTest, WithoutADownloadShareTheInstallationFillsTheBar) {
    InstallProgress progress;
    EXPECT_EQ(progress.Step(0.0, 0.0), 15);
    EXPECT_EQ(progress.Step(0.5, 0.0), 50);
    EXPECT_EQ(progress.Step(std::nan(""), 0.0), 65);  // no figure: the step alone
    EXPECT_EQ(progress.Step(7.0, 0.0), 100);           // never past the end
}

TEST(ProgressMathTest, TheWordingChangesAfterSixtySeconds) {
    EXPECT_FALSE(IsLongWait(false, 0, 120000));  // the clock never started
    EXPECT_FALSE(IsLongWait(true, 1000, 61000));  // exactly 60 s
    EXPECT_TRUE(IsLongWait(true, 1000, 61001));
    EXPECT_TRUE(IsLongWait(true, 0xFFFFF000u, 60000));  // across the counter's wrap
    EXPECT_FALSE(IsLongWait(true, 0xFFFFF000u, 1000));
}

TEST(ProgressMathTest, ProgressTexts) {
    EXPECT_EQ(FormatProgressText(L"", false, 35), L"正在安装中:35%，请稍候...");
    EXPECT_EQ(FormatProgressText(L"", true, 94), L"正在安装中:94%，请耐心等待...");
    EXPECT_EQ(FormatProgressText(L"Installing %d%%", true, 7), L"Installing 7%");
    EXPECT_EQ(FormatProgressText(L"Installing", false, 7), L"Installing");
    // a label format that would read a second argument or a string is not used
    EXPECT_EQ(FormatProgressText(L"%d %d", false, 5), L"正在安装中:5%，请稍候...");
    EXPECT_EQ(FormatProgressText(L"%s", false, 5), L"正在安装中:5%，请稍候...");
    EXPECT_EQ(FormatProgressText(std::wstring(400, L'x'), false, 5).size(), 249u);
    EXPECT_EQ(std::wstring(kProgressResetText), L"正在安装中:0%，请稍候...");
}

TEST(FolderChoiceTest, PickedFolderGetsTheProductFolder) {
    struct Row {
        std::wstring picked;
        bool ok;
        std::wstring joined;
    } rows[] = {
        {L"D:\\", true, L"D:\\quillmoss"},
        {L"D:\\Apps", true, L"D:\\Apps\\quillmoss"},
        {L"C:\\程序 文件", true, L"C:\\程序 文件\\quillmoss"},
        {L"", false, L"unchanged"},
        {L"C:\\" + std::wstring(246, L'a'), true, L"C:\\" + std::wstring(246, L'a') + L"\\quillmoss"},  // 259
        {L"C:\\" + std::wstring(247, L'a'), false, L"unchanged"},  // 260 characters
    };
    for (const Row& row : rows) {
        std::wstring joined = L"unchanged";
        EXPECT_EQ(JoinPickedFolder(row.picked, joined), row.ok) << row.picked.size();
        EXPECT_EQ(joined, row.joined);
    }
}

}  // namespace
