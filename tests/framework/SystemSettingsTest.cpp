// Settings in the system's own store: the registry of the current user on Windows.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "files/SystemSettings.h"
#include "framework/CRecentFileList.h"
#include "framework/SystemSettingsStore.h"

namespace {

/// A store under a key of its own, removed with everything in it at the end of the test.
class SystemSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HasSystemSettings()) {
            GTEST_SKIP() << "this system has no store of settings of its own; the Qt backend "
                            "keeps them in a file";
        }
    }
    void TearDown() override { RemoveSystemSettings("Software\\Velk Tests"); }

    SystemSettingsStore store{"Velk Tests", "Run " + std::to_string(std::random_device()())};
};

TEST_F(SystemSettingsTest, TheProgramsKeyIsTheClassicOne) {
    EXPECT_EQ(SystemSettingsStore("Local AppWizard-Generated Applications", "Velk").Key(),
              "Software\\Local AppWizard-Generated Applications\\Velk");
}

TEST_F(SystemSettingsTest, EntriesAreWrittenReadAndRemovedByTheirText) {
    EXPECT_EQ(store.GetString("Settings", "Missing", "fallback"), "fallback");
    store.WriteString("Settings", "Name",
                      "Stra\xc3\x9f"
                      "e \xe4\xb8\x96\xe7\x95\x8c");
    EXPECT_EQ(store.GetString("Settings", "Name", ""),
              "Stra\xc3\x9f"
              "e \xe4\xb8\x96\xe7\x95\x8c");
    store.WriteString("Settings", "Name", "");
    EXPECT_EQ(store.GetString("Settings", "Name", "fallback"), "");
    store.RemoveEntry("Settings", "Name");
    EXPECT_EQ(store.GetString("Settings", "Name", "fallback"), "fallback");
}

// The recent files lie where the classic program keeps them: "Recent File List", File1 to File4.
TEST_F(SystemSettingsTest, RecentFilesGoUnderTheirClassicNames) {
    CRecentFileList list("Recent File List", "File%d", 4);
    for (const char* name : {"C:\\a.world", "C:\\b.world", "\\\\server\\share\\c.world",
                             "C:\\d\xc3\xa9.world", "C:\\e.world"}) {
        list.Add(name);
    }
    list.WriteList(store);
    EXPECT_EQ(ReadSystemSetting(store.Key(), "Recent File List", "File1"), "C:\\e.world");
    EXPECT_EQ(ReadSystemSetting(store.Key(), "Recent File List", "File4"), "C:\\b.world");
    CRecentFileList read("Recent File List", "File%d", 4);
    read.ReadList(store);
    ASSERT_EQ(read.GetSize(), 4u);
    EXPECT_EQ(read[1], "C:\\d\xc3\xa9.world");
    EXPECT_EQ(read[2], "\\\\server\\share\\c.world");
}

}  // namespace
