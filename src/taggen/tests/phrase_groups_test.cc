#include "taggen/phrase_groups.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "testing/scripted_desktop.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class PhraseGroupsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(store.open(fromNativePath(dir.path()) + kPathSeparator + "settings.ini"));
    }

    std::vector<std::string> comboItems() const {
        std::vector<std::string> items;
        for (int i = 0; i < controls.itemCount(kMainWindow, kPhraseCombo); ++i) {
            items.push_back(gbkToUtf8(controls.item(kMainWindow, kPhraseCombo, i)));
        }
        return items;
    }
    std::string stored(std::string_view key) {
        store.selectSection("随机词组"_gbk);
        return gbkToUtf8(store.readText(utf8ToGbk(key), "<none>"));
    }
    void save(const std::vector<std::string>& utf8Groups, int selected) {
        std::vector<std::string> groups;
        for (const std::string& group : utf8Groups) groups.push_back(utf8ToGbk(group));
        savePhraseGroups(store, Ui{controls, desktop}, groups, selected);
    }

    testing::TempDir dir;
    testing::ScriptedDesktop desktop;
    SettingsStore store{desktop};
    RecordControls controls{mainWindowSpec()};
};

TEST_F(PhraseGroupsTest, FirstStartLeavesTheComboEmpty) {
    controls.addItem(kMainWindow, kPhraseCombo, "design");
    controls.setText(kMainWindow, kPhraseCombo, "design");
    loadPhraseGroups(store, Ui{controls, desktop});
    EXPECT_TRUE(comboItems().empty());
    EXPECT_EQ(controls.text(kMainWindow, kPhraseCombo), "");
}

struct StoreCase {
    std::vector<std::string> groups;
    const char* stored;
    std::vector<std::string> reloaded;
};

class StoredGroups : public PhraseGroupsTest, public ::testing::WithParamInterface<StoreCase> {};

TEST_P(StoredGroups, AreJoinedByLineBreaksAndComeBackInOrder) {
    save(GetParam().groups, 1);
    EXPECT_EQ(stored("随机词组"), GetParam().stored);
    EXPECT_THAT(comboItems(), ElementsAreArray(GetParam().reloaded));
}

INSTANTIATE_TEST_SUITE_P(
    Lists, StoredGroups,
    ::testing::Values(StoreCase{{"甲|乙", "", "丙|http://a.com"},
                                "甲|乙\r\n\r\n丙|http://a.com",
                                {"甲|乙", "", "丙|http://a.com"}},
                      StoreCase{{"", "b"}, "b", {"b"}}, StoreCase{{"a", ""}, "a\r\n", {"a"}},
                      StoreCase{{"c", "a", "b"}, "c\r\na\r\nb", {"c", "a", "b"}},
                      StoreCase{{}, "", {}}));

TEST_F(PhraseGroupsTest, SavingStoresTheSelectionAndPutsBackTheStoredCurrentGroup) {
    controls.setText(kMainWindow, kPhraseCombo, "甲"_gbk);
    saveCurrentPhraseGroup(store, controls);
    controls.setText(kMainWindow, kPhraseCombo, "typed|not kept"_gbk);
    save({"甲", "乙"}, 1);
    store.selectSection("随机词组"_gbk);
    EXPECT_EQ(store.readNumber("词组索引"_gbk, -9), 1);
    EXPECT_EQ(gbkToUtf8(controls.text(kMainWindow, kPhraseCombo)), "甲");
    EXPECT_THAT(comboItems(), ElementsAre("甲", "乙"));
    EXPECT_THAT(storedPhraseGroups(store), ElementsAre("甲"_gbk, "乙"_gbk));
}

TEST_F(PhraseGroupsTest, LetsTheWindowProcessEventsAfterEachItem) {
    save({"a", "b", "c"}, -1);
    EXPECT_GE(desktop.processEventsCount(), 3);
    store.selectSection("随机词组"_gbk);
    EXPECT_EQ(store.readNumber("词组索引"_gbk, 0), -1);
}

}  // namespace
}  // namespace yelian
