// The settings store on a failing file system: whatever fails, the settings file on disk
// stays the last one that was saved whole, and the store says that it did not save.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/settings_store.h"
#include "support/native_path.h"
#include "testing/fault_file_env.h"
#include "testing/scripted_desktop.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using testing::readBytes;

class SettingsFaultsTest : public ::testing::Test {
  protected:
    SettingsFaultsTest() {
        EXPECT_TRUE(store.open(fromNativePath(settingsFile())));
        store.selectSection("s");
        EXPECT_TRUE(store.writeText("a", "1"));
    }
    std::filesystem::path settingsFile() const { return dir.path() / "settings.ini"; }
    bool temporaryLeft() const {
        return std::filesystem::exists(temporaryPathOf(settingsFile())) ||
               std::filesystem::exists(temporaryPathOf(dir.path() / "inibin" / "s-k.ibn"));
    }

    testing::TempDir dir;
    testing::ScriptedDesktop desktop;
    FaultFileEnv files;
    SettingsStore store{desktop, files};
    const std::string saved = "[s]\r\na=1";
};

TEST_F(SettingsFaultsTest, WriteCutOffHalfWayLeavesTheOldFileWhole) {
    ASSERT_EQ(readBytes(settingsFile()), saved);
    files.setFreeBytes(saved.size() / 2);
    EXPECT_FALSE(store.writeText("b", "a value that does not fit"));
    EXPECT_TRUE(store.saveFailed());
    EXPECT_EQ(files.failedWrites(), 1);
    EXPECT_EQ(readBytes(settingsFile()), saved);
    EXPECT_FALSE(temporaryLeft());
    // With space again the next write saves both values.
    files.setFreeBytes(1 << 20);
    EXPECT_TRUE(store.writeText("c", "3"));
    EXPECT_EQ(readBytes(settingsFile()), "[s]\r\nc=3\r\nb=a value that does not fit\r\na=1");
}

TEST_F(SettingsFaultsTest, FailingRenameKeepsTheOldFile) {
    files.failRenames();
    EXPECT_FALSE(store.writeText("a", "2"));
    EXPECT_TRUE(store.saveFailed());
    EXPECT_EQ(readBytes(settingsFile()), saved);
    EXPECT_FALSE(temporaryLeft());
}

TEST_F(SettingsFaultsTest, SideFileOnAFullDiskKeepsItsOldBytes) {
    ASSERT_TRUE(store.writeSideFile("k", "old bytes"));
    files.setFreeBytes(4);
    EXPECT_FALSE(store.writeSideFile("k", "new bytes"));
    EXPECT_TRUE(store.saveFailed());
    EXPECT_EQ(readBytes(dir.path() / "inibin" / "s-k.ibn"), "old bytes");
    EXPECT_FALSE(temporaryLeft());
}

}  // namespace
}  // namespace yelian
