// Saving and restoring whole windows through the control operations.
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "settings/settings_store.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "testing/scripted_desktop.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::readBytes;

// A small window with one control of every binding, and the tags that change it.
const WindowSpec& sampleWindow() {
    static const WindowSpec spec = [] {
        WindowSpec window;
        window.name = "样例"_gbk;
        const auto add = [&](ControlKind kind, std::string_view utf8Name,
                             std::string_view utf8Text = {}, std::string_view utf8Tag = {}) {
            ControlSpec& control = window.controls.emplace_back();
            control.kind = kind;
            control.name = utf8ToGbk(utf8Name);
            control.text = utf8ToGbk(utf8Text);
            control.tag = utf8ToGbk(utf8Tag);
            return std::ref(control);
        };
        add(ControlKind::Label, "标签1", "标题");
        add(ControlKind::EditBox, "编辑框文本", "设计文本");
        add(ControlKind::EditBox, "编辑框字节", "设计字节", "字节集方式");
        add(ControlKind::EditBox, "编辑框代码", "不存", "禁止保存");
        add(ControlKind::Button, "按钮标记", "按钮", "记住的文件夹");
        add(ControlKind::Button, "按钮字节", "按钮", "字节集方式");
        add(ControlKind::CheckBox, "选择框甲", "甲");
        add(ControlKind::RadioButton, "单选框乙", "乙");
        ControlSpec& combo = add(ControlKind::ComboBox, "组合框丙");
        combo.items = {"一"_gbk, "二"_gbk, "三"_gbk};
        combo.selectedIndex = 1;
        add(ControlKind::ListBox, "列表框丁");
        add(ControlKind::GroupBox, "分组框1", "组");
        return window;
    }();
    return spec;
}

class SettingsControlsTest : public ::testing::Test {
  protected:
    std::string settingsPath() const {
        return fromNativePath(dir.path()) + kPathSeparator + "澜川·页链站坊.ini"_gbk;
    }
    std::string fileBytes() const { return readBytes(dir.path() / "澜川·页链站坊.ini"); }
    // A store opened on the settings file, as a fresh start of the program does.
    SettingsStore& restart() {
        store.close();
        EXPECT_TRUE(store.open(settingsPath()));
        return store;
    }

    testing::TempDir dir;
    testing::ScriptedDesktop desktop;
    SettingsStore store{desktop};
    const std::string window = "样例"_gbk;
};

TEST_F(SettingsControlsTest, SavesEachBoundControlUnderItsKey) {
    RecordControls controls{sampleWindow()};
    controls.setText(window, "编辑框文本"_gbk, "第一行\r\n第二行"_gbk);
    controls.setChecked(window, "选择框甲"_gbk, true);
    controls.setSelectedIndex(window, "组合框丙"_gbk, 2);
    restart().saveControls(controls, window, "节"_gbk);
    // Design order: the newest key stands first.
    EXPECT_EQ(fileBytes(),
              "[节]"
              "\r\n组合框丙=2"
              "\r\n单选框乙=假"
              "\r\n选择框甲=真"
              "\r\n按钮标记.标记=记住的文件夹"
              "\r\n编辑框文本=第一行┊*┊第二行"_gbk);
    EXPECT_EQ(readBytes(dir.path() / "inibin" / "节-编辑框字节.ibn"), "设计字节"_gbk);
    EXPECT_EQ(readBytes(dir.path() / "inibin" / "节-按钮字节.标记.ibn"), "字节集方式"_gbk);
    // The control tagged "禁止保存" leaves no trace, in the file or as a side file.
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "inibin" / "节-编辑框代码.ibn"));
}

TEST_F(SettingsControlsTest, RestoreBringsBackWhatWasSaved) {
    RecordControls before{sampleWindow()};
    before.setText(window, "编辑框文本"_gbk, "a\r\nb"_gbk);
    before.setText(window, "编辑框字节"_gbk, "字节\r\n内容"_gbk);
    before.setText(window, "编辑框代码"_gbk, "改过"_gbk);
    before.setTagText(window, "按钮标记"_gbk, "/新/文件夹"_gbk);
    before.setChecked(window, "单选框乙"_gbk, true);
    before.setSelectedIndex(window, "组合框丙"_gbk, 0);
    restart().saveControls(before, window, "节"_gbk);

    RecordControls after{sampleWindow()};
    restart().restoreControls(after, window, "节"_gbk);
    EXPECT_EQ(after.text(window, "编辑框文本"_gbk), "a\r\nb"_gbk);
    EXPECT_EQ(after.text(window, "编辑框字节"_gbk), "字节\r\n内容"_gbk);
    EXPECT_EQ(after.text(window, "编辑框代码"_gbk), "不存"_gbk);
    EXPECT_EQ(after.tagText(window, "按钮标记"_gbk), "/新/文件夹"_gbk);
    EXPECT_TRUE(after.checked(window, "单选框乙"_gbk));
    EXPECT_FALSE(after.checked(window, "选择框甲"_gbk));
    EXPECT_EQ(after.selectedIndex(window, "组合框丙"_gbk), 0);
}

TEST_F(SettingsControlsTest, RestoreLeavesControlsWithoutKeysAsTheyAre) {
    RecordControls controls{sampleWindow()};
    dir.write("澜川·页链站坊.ini",
              "[节]\r\n选择框甲=是\r\n组合框丙=abc\r\n[别]\r\n编辑框文本=x"_gbk);
    restart().restoreControls(controls, window, "节"_gbk);
    EXPECT_EQ(controls.text(window, "编辑框文本"_gbk), "设计文本"_gbk);
    EXPECT_EQ(controls.text(window, "编辑框字节"_gbk), "设计字节"_gbk);
    EXPECT_EQ(controls.tagText(window, "按钮标记"_gbk), "记住的文件夹"_gbk);
    EXPECT_FALSE(controls.checked(window, "单选框乙"_gbk));
    // Present keys with text of the wrong kind: any text but "真" unchecks, non-numbers are 0.
    EXPECT_FALSE(controls.checked(window, "选择框甲"_gbk));
    EXPECT_EQ(controls.selectedIndex(window, "组合框丙"_gbk), 0);
}

TEST_F(SettingsControlsTest, MainWindowFirstStartAndRestart) {
    RecordControls design{mainWindowSpec()};
    RecordControls first{mainWindowSpec()};
    restart().restoreControls(first, kMainWindow, kMainWindow);
    for (const ControlInfo& control : first.controlsOf(kMainWindow)) {
        SCOPED_TRACE(gbkToUtf8(control.name));
        EXPECT_EQ(first.text(kMainWindow, control.name), design.text(kMainWindow, control.name));
        EXPECT_EQ(first.checked(kMainWindow, control.name),
                  design.checked(kMainWindow, control.name));
        EXPECT_EQ(first.selectedIndex(kMainWindow, control.name),
                  design.selectedIndex(kMainWindow, control.name));
        EXPECT_EQ(first.tagText(kMainWindow, control.name),
                  design.tagText(kMainWindow, control.name));
    }

    // The user empties two template editors and closes the window.
    first.setText(kMainWindow, kTemplateEditor1, "");
    first.setText(kMainWindow, kTemplateEditor3, "");
    store.saveControls(first, kMainWindow, kMainWindow);
    const std::string file = fileBytes();
    EXPECT_TRUE(file.starts_with("[主界面]\r\n"_gbk));
    EXPECT_FALSE(file.ends_with("\r\n"));
    EXPECT_NE(file.find("\r\n编辑框模板3=\r\n"_gbk), std::string::npos);
    EXPECT_EQ(file.find("编辑框模板1"_gbk), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "inibin"),
                            std::filesystem::directory_iterator()),
              11);

    // At the next start the side file stored as bytes is empty, so the first editor shows
    // its design template again; the third keeps its empty text value.
    RecordControls second{mainWindowSpec()};
    restart().restoreControls(second, kMainWindow, kMainWindow);
    EXPECT_EQ(second.text(kMainWindow, kTemplateEditor1),
              design.text(kMainWindow, kTemplateEditor1));
    EXPECT_FALSE(design.text(kMainWindow, kTemplateEditor1).empty());
    EXPECT_EQ(second.text(kMainWindow, kTemplateEditor3), "");
}

// What another process sees while a window is saved: the file as it was, then the whole new
// window, never some keys written and others not.
TEST_F(SettingsControlsTest, AWindowSaveReplacesTheFileOnceAtTheEnd) {
    RecordControls controls{sampleWindow()};
    restart().saveControls(controls, window, "节"_gbk);
    const std::string before = fileBytes();
    controls.setText(window, "编辑框文本"_gbk, "新"_gbk);
    controls.setChecked(window, "选择框甲"_gbk, true);
    controls.setSelectedIndex(window, "组合框丙"_gbk, 0);
    std::vector<std::string> seen;
    desktop.onProcessEvents([&] { seen.push_back(fileBytes()); });
    store.saveControls(controls, window, "节"_gbk);
    desktop.onProcessEvents({});
    ASSERT_FALSE(seen.empty());
    for (const std::string& during : seen) EXPECT_EQ(during, before);
    EXPECT_NE(fileBytes(), before);
    EXPECT_EQ(fileBytes(), store.content());
}

}  // namespace
}  // namespace yelian
