#include "settings/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <vector>

#include "support/gbk_text.h"
#include "support/native_path.h"
#include "testing/scripted_desktop.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::readBytes;

class SettingsStoreTest : public ::testing::Test {
  protected:
    std::string gbkPath(std::string_view utf8Name) const {
        return fromNativePath(dir.path()) + kPathSeparator + utf8ToGbk(utf8Name);
    }
    std::string settingsPath() const { return gbkPath("澜川·页链站坊.ini"); }
    std::string fileBytes() const { return readBytes(toNativePath(settingsPath())); }
    // Opens the store on a settings file that holds the given bytes.
    void openWith(std::string_view bytes) {
        dir.write("澜川·页链站坊.ini", bytes);
        ASSERT_TRUE(store.open(settingsPath()));
    }

    testing::TempDir dir;
    testing::ScriptedDesktop desktop;
    SettingsStore store{desktop};
};

TEST_F(SettingsStoreTest, FirstWriteStartsAtByteZeroWithoutTrailingLineBreak) {
    ASSERT_TRUE(store.open(settingsPath()));
    EXPECT_EQ(store.persistence(), SettingsPersistence::Saving);
    EXPECT_EQ(fileBytes(), "");
    store.selectSection("主界面"_gbk);
    EXPECT_TRUE(store.writeText("编辑框年1"_gbk, "2012"));
    EXPECT_EQ(fileBytes(), "[主界面]\r\n编辑框年1=2012"_gbk);
}

TEST_F(SettingsStoreTest, FileHoldsExactlyTheDescribedLayout) {
    ASSERT_TRUE(store.open(settingsPath()));
    store.selectSection("主界面"_gbk);
    store.writeText("编辑框年1"_gbk, "2012");
    store.writeBool("选择框随机时间"_gbk, false);
    store.writeBool("选择框按顺序"_gbk, true);
    store.writeNumber("组合框标题来源"_gbk, 3);
    store.writeNumber("模板序号"_gbk, 2.5);
    store.writeText("编辑框模板3"_gbk, "<p>\r\n[主界面]\r\n</p>"_gbk);
    store.selectSection("随机词组"_gbk);
    store.writeText("当前词"_gbk, "甲|乙"_gbk);
    store.selectSection("主界面"_gbk);
    store.writeText("编辑框年1"_gbk, "99");  // in place, shorter
    const std::string expected =
        "[主界面]"
        "\r\n编辑框模板3=<p>┊*┊[主界面]┊*┊</p>"
        "\r\n模板序号=2.5"
        "\r\n组合框标题来源=3"
        "\r\n选择框按顺序=真"
        "\r\n选择框随机时间=假"
        "\r\n编辑框年1=99"
        "\r\n[随机词组]"
        "\r\n当前词=甲|乙"_gbk;
    EXPECT_EQ(fileBytes(), expected);
    EXPECT_EQ(store.content(), expected);
    // The section name inside the template value is no header: the keys after it still
    // belong to the section.
    EXPECT_EQ(store.readText("编辑框年1"_gbk, "x"), "99");
    EXPECT_EQ(store.readText("编辑框模板3"_gbk, ""), "<p>\r\n[主界面]\r\n</p>"_gbk);
}

TEST_F(SettingsStoreTest, ReplacingAValueMovesTheBytesAfterIt) {
    openWith("[A]\r\nk=1\r\nj=2");
    store.selectSection("A");
    store.writeText("k", "long value");
    EXPECT_EQ(fileBytes(), "[A]\r\nk=long value\r\nj=2");
    store.writeText("k", "");
    EXPECT_EQ(fileBytes(), "[A]\r\nk=\r\nj=2");
    store.writeText("j", "3");
    EXPECT_EQ(fileBytes(), "[A]\r\nk=\r\nj=3");
}

struct ReadCase {
    const char* name;
    const char* content;  // UTF-8, converted to GBK
    const char* section;
    const char* key;
    std::optional<std::string> expected;  // UTF-8; nothing when the key counts as absent
};

class SettingsReadTest : public SettingsStoreTest,
                         public ::testing::WithParamInterface<ReadCase> {};

TEST_P(SettingsReadTest, FindsTheKeyOfTheSection) {
    const ReadCase& c = GetParam();
    openWith(utf8ToGbk(c.content));
    store.selectSection(utf8ToGbk(c.section));
    const std::string got = store.readText(utf8ToGbk(c.key), "缺省"_gbk);
    EXPECT_EQ(got, utf8ToGbk(c.expected.value_or("缺省")));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SettingsReadTest,
    ::testing::Values(
        ReadCase{"Plain", "[主界面]\r\n键=值", "主界面", "键", "值"},
        ReadCase{"KeyOfAnotherSection", "[甲]\r\n键=1\r\n[乙]\r\n别=2", "乙", "键", std::nullopt},
        ReadCase{"SameKeyInTwoSections", "[甲]\r\n键=1\r\n[乙]\r\n键=2", "乙", "键", "2"},
        ReadCase{"KeyBehindAnotherHeader", "[甲]\r\n别=1\r\n[乙]\r\n键=2", "甲", "键",
                 std::nullopt},
        ReadCase{"HeaderNotAtLineStart", "x[乙]\r\n键=1\r\n[乙]\r\n键=2", "乙", "键", "2"},
        ReadCase{"SectionNameInValue", "[甲]\r\nv=[乙]\r\n键=1\r\n[乙]\r\n键=2", "乙", "键", "2"},
        ReadCase{"ValueRunsToEndOfFile", "[甲]\r\n键=a=b", "甲", "键", "a=b"},
        ReadCase{"EmptyValueIsNotTheDefault", "[甲]\r\n键=\r\nb=1", "甲", "键", ""},
        ReadCase{"KeysAreCaseSensitive", "[甲]\r\nKey=1", "甲", "key", std::nullopt},
        ReadCase{"KeyIsWholeName", "[甲]\r\n键名=1", "甲", "键", std::nullopt},
        ReadCase{"CodedLineBreaks", "[甲]\r\n键=a┊*┊b┊*┊", "甲", "键", "a\r\nb\r\n"},
        // "┊" is A9 AE: bytes that only look like the code after a lead byte are text.
        ReadCase{"CodeBytesInsideCharacters", "[甲]\r\n键=\xB0\xA9\xAE*\xA9\xAE", "甲", "键",
                 "\xB0\xA9\xAE*\xA9\xAE"},
        ReadCase{"MissingSection", "[甲]\r\n键=1", "乙", "键", std::nullopt},
        ReadCase{"EmptyFile", "", "甲", "键", std::nullopt},
        // A bracketed line that is broken by a line break is no header between the two.
        ReadCase{"BrokenHeaderLine", "[甲]\r\n[乙\r\n]\r\n键=1", "甲", "键", "1"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(SettingsStoreTest, ValuesReadBackInTheirKinds) {
    openWith("[S]\r\nt=真\r\nf=假\r\no=true\r\nn=-12.5\r\nw=１２\r\nx=abc\r\ne="_gbk);
    store.selectSection("S");
    EXPECT_TRUE(store.readBool("t", false));
    EXPECT_FALSE(store.readBool("f", true));
    EXPECT_FALSE(store.readBool("o", true));
    EXPECT_TRUE(store.readBool("absent", true));
    EXPECT_DOUBLE_EQ(store.readNumber("n", 0), -12.5);
    EXPECT_DOUBLE_EQ(store.readNumber("w", 0), 12);
    EXPECT_DOUBLE_EQ(store.readNumber("x", 7), 0);
    EXPECT_DOUBLE_EQ(store.readNumber("e", 7), 0);
    EXPECT_DOUBLE_EQ(store.readNumber("absent", 7), 7);
    // A default goes through the line-break coding, like a stored value.
    EXPECT_EQ(store.readText("absent", "a┊*┊b"_gbk), "a\r\nb");
}

TEST_F(SettingsStoreTest, NumbersAreWrittenWithoutNeedlessDecimalPoint) {
    ASSERT_TRUE(store.open(settingsPath()));
    store.selectSection("S");
    store.writeNumber("a", 3.0);
    store.writeNumber("b", -1);
    store.writeNumber("c", 0.1);
    store.writeNumber("d", 1.0 / 3);
    store.writeNumber("e", 123456789012345.0);
    EXPECT_EQ(fileBytes(), "[S]\r\ne=123456789012345\r\nd=0.3333333333333\r\nc=0.1\r\nb=-1\r\na=3");
}

TEST_F(SettingsStoreTest, ReopeningLoadsWhatWasWritten) {
    ASSERT_TRUE(store.open(settingsPath()));
    store.selectSection("主界面"_gbk);
    store.writeText("编辑框头"_gbk, "第一行\r\n第二行"_gbk);
    store.close();
    EXPECT_EQ(store.content(), "");
    SettingsStore again(desktop);
    ASSERT_TRUE(again.open(settingsPath()));
    again.selectSection("主界面"_gbk);
    EXPECT_EQ(again.readText("编辑框头"_gbk, ""), "第一行\r\n第二行"_gbk);
}

TEST_F(SettingsStoreTest, SideFilesHoldTheExactBytes) {
    ASSERT_TRUE(store.open(settingsPath()));
    store.selectSection("主界面"_gbk);
    const std::string bytes = "<html>\r\n#本篇标题#\r\n\x00\xff"_gbk + std::string(1, '\0');
    EXPECT_TRUE(store.writeSideFile("编辑框模板1"_gbk, bytes));
    const auto sideFile = dir.path() / "inibin" / "主界面-编辑框模板1.ibn";
    EXPECT_EQ(readBytes(sideFile), bytes);
    EXPECT_EQ(store.readSideFile("编辑框模板1"_gbk, "缺省"), bytes);
    EXPECT_TRUE(store.writeSideFile("编辑框模板1"_gbk, "短"_gbk));
    EXPECT_EQ(readBytes(sideFile), "短"_gbk);
    // Side files never enter the settings file; no temporary file stays behind.
    EXPECT_EQ(fileBytes(), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "inibin"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(SettingsStoreTest, MissingOrEmptySideFileGivesTheDefault) {
    ASSERT_TRUE(store.open(settingsPath()));
    store.selectSection("主界面"_gbk);
    EXPECT_EQ(store.readSideFile("编辑框页头"_gbk, "设计"_gbk), "设计"_gbk);
    store.writeSideFile("编辑框页头"_gbk, "");
    EXPECT_EQ(store.readSideFile("编辑框页头"_gbk, "设计"_gbk), "设计"_gbk);
    store.selectSection("模板制作"_gbk);
    store.writeSideFile("编辑框页头"_gbk, "x");
    store.selectSection("主界面"_gbk);
    EXPECT_EQ(store.readSideFile("编辑框页头"_gbk, "设计"_gbk), "设计"_gbk);
}

TEST_F(SettingsStoreTest, WritesDuringAWriteAreQueuedAndRunInOrder) {
    ASSERT_TRUE(store.open(settingsPath()));
    std::vector<bool> nestedResults;
    desktop.onProcessEvents([&] {
        if (!nestedResults.empty()) return;
        // An event handler that writes in its own section while the first write runs.
        store.selectSection("随机词组"_gbk);
        nestedResults.push_back(store.writeText("当前词"_gbk, "甲"_gbk));
        nestedResults.push_back(store.writeNumber("词组索引"_gbk, 4));
        // A read during the write sees the content as far as the write has got.
        EXPECT_EQ(store.readText("当前词"_gbk, "无"_gbk), "无"_gbk);
    });
    store.selectSection("主界面"_gbk);
    EXPECT_TRUE(store.writeText("编辑框年1"_gbk, "2012"));
    EXPECT_EQ(nestedResults, (std::vector<bool>{false, false}));
    EXPECT_EQ(fileBytes(),
              "[主界面]\r\n编辑框年1=2012\r\n[随机词组]\r\n词组索引=4\r\n当前词=甲"_gbk);
    // The handler's selection did not move the write in progress, nor the caller's section.
    EXPECT_EQ(store.section(), "主界面"_gbk);
}

TEST_F(SettingsStoreTest, SectionThatCannotBeFoundGivesTheTwoMessagesAndFails) {
    ASSERT_TRUE(store.open(settingsPath()));
    store.selectSection("主界面"_gbk);
    store.writeText("a", "1");
    // A handler that opens another settings file at every step of the write: the header
    // appended to the content is never found again.
    const std::string other = gbkPath("其他.ini");
    dir.write("其他.ini", "[甲]\r\nx=1"_gbk);
    desktop.onProcessEvents([&] { store.open(other); });
    EXPECT_FALSE(store.writeText("b", "2"));
    ASSERT_EQ(desktop.messages().size(), 2u);
    EXPECT_EQ(desktop.messages()[0].text,
              "配置模块出现意外，可能导致无法正常保存！详情请咨询澜川。"_gbk);
    EXPECT_EQ(desktop.messages()[0].title, "澜川："_gbk);
    EXPECT_EQ(desktop.messages()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(desktop.messages()[1].text, "[甲]\r\nx=1"_gbk);
    EXPECT_EQ(fileBytes(), "[主界面]\r\na=1"_gbk);
}

}  // namespace
}  // namespace yelian
