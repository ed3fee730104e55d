#include "ui/InstallOutcome.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(InstallOutcomeTest, ExitCodesOfTheUnattendedRun) {
    struct Case { InstallOutcome outcome; int code; };
    const Case cases[] = {
        {InstallOutcome::Installed, 0},       {InstallOutcome::AnotherInstaller, -1},
        {InstallOutcome::ProductRunning, 10}, {InstallOutcome::InvalidFolder, 11},
        {InstallOutcome::LowDiskSpace, 12},   {InstallOutcome::NoNetwork, 13},
        {InstallOutcome::DownloadFailed, 20}, {InstallOutcome::UninstallFailed, 30},
        {InstallOutcome::PackageFailed, 40},
    };
    std::set<std::wstring> names;
    for (const Case& c : cases) {
        EXPECT_EQ(UnattendedExitCode(c.outcome), c.code);
        names.insert(OutcomeName(c.outcome));
    }
    EXPECT_EQ(names.size(), sizeof cases / sizeof cases[0]);  // each told apart in the log
}

TEST(InstallOutcomeTest, WhatEventsMean) {
    struct Case { int code; EventMeaning meaning; };
    const Case cases[] = {
        {1001, EventMeaning::DownloadStarted}, {1002, EventMeaning::Continue},
        {1003, EventMeaning::Continue},        {1004, EventMeaning::DownloadFailed},
        {1005, EventMeaning::Continue},        {1006, EventMeaning::Continue},
        {2001, EventMeaning::Continue},        {2002, EventMeaning::Continue},
        {2003, EventMeaning::Succeeded},       {2004, EventMeaning::PackageFailed},
        {3000, EventMeaning::Continue},        {3009, EventMeaning::PackageMessage},
        {5002, EventMeaning::Continue},        {5003, EventMeaning::Continue},
        {5004, EventMeaning::UninstallFailed}, {5005, EventMeaning::UninstallFailed},
        {0, EventMeaning::Continue},
    };
    for (const Case& c : cases) EXPECT_EQ(MeaningOfEvent(c.code), c.meaning) << c.code;
}

}  // namespace
