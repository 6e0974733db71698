#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "controls/input_dialog_table.h"
#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/phrase_editor_table.h"
#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using enum ControlKind;

const ControlSpec* findControl(const WindowSpec& window, std::string_view name) {
    const auto found = std::find_if(window.controls.begin(), window.controls.end(),
                                    [&](const ControlSpec& c) { return c.name == name; });
    return found == window.controls.end() ? nullptr : &*found;
}

const ControlSpec& control(const WindowSpec& window, std::string_view name) {
    const ControlSpec* found = findControl(window, name);
    if (found == nullptr) {
        static const ControlSpec missing;
        ADD_FAILURE() << "no control " << gbkToUtf8(name);
        return missing;
    }
    return *found;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

// The kind a name declares by its first characters; the settings store relies on it.
struct Prefix {
    const char* utf8;
    ControlKind kind;
};
constexpr Prefix kPrefixes[] = {
    {"按钮", Button},       {"编辑框", EditBox},      {"选择框", CheckBox}, {"单选框", RadioButton},
    {"组合框", ComboBox},   {"列表框", ListBox},      {"标签", Label},      {"分组框", GroupBox},
    {"选择夹", TabControl}, {"图片", Picture},        {"链接", LinkLabel},  {"页", TabPage},
    {"菜单", MenuItem},     {"拖放对象", DropTarget}, {"外形框", Frame},
};

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool isContainer(ControlKind kind) {
    return kind == GroupBox || kind == TabControl || kind == TabPage || kind == Frame ||
           kind == Picture;
}

class EveryWindowTable : public ::testing::TestWithParam<const WindowSpec* (*)()> {};

TEST_P(EveryWindowTable, NamesAreUniqueAndDeclareTheirKind) {
    const WindowSpec& window = *GetParam()();
    std::set<std::string> seen;
    for (const ControlSpec& c : window.controls) {
        const std::string name = gbkToUtf8(c.name);
        EXPECT_TRUE(seen.insert(c.name).second) << "duplicate " << name;
        const auto prefix = std::find_if(std::begin(kPrefixes), std::end(kPrefixes),
                                         [&](const Prefix& p) { return startsWith(name, p.utf8); });
        ASSERT_NE(prefix, std::end(kPrefixes)) << "no kind prefix: " << name;
        EXPECT_EQ(prefix->kind, c.kind) << name;
    }
}

TEST_P(EveryWindowTable, ContainersExistBeforeWhatTheyHold) {
    const WindowSpec& window = *GetParam()();
    std::set<std::string> containersSoFar;
    for (const ControlSpec& c : window.controls) {
        if (!c.container.empty()) {
            EXPECT_TRUE(containersSoFar.contains(c.container))
                << gbkToUtf8(c.name) << " in " << gbkToUtf8(c.container);
        }
        if (isContainer(c.kind)) containersSoFar.insert(c.name);
        if (c.kind == TabPage) {
            EXPECT_EQ(control(window, c.container).kind, TabControl) << gbkToUtf8(c.name);
        }
    }
}

TEST_P(EveryWindowTable, LineBreaksAreCrLf) {
    const WindowSpec& window = *GetParam()();
    for (const ControlSpec& c : window.controls) {
        for (std::size_t i = c.text.find('\n'); i != std::string::npos;
             i = c.text.find('\n', i + 1)) {
            EXPECT_TRUE(i > 0 && c.text[i - 1] == '\r') << gbkToUtf8(c.name);
        }
    }
}

const WindowSpec* mainWindow() {
    return &mainWindowSpec();
}
const WindowSpec* phraseEditor() {
    return &phraseEditorSpec();
}
const WindowSpec* inputDialog() {
    return &inputDialogSpec();
}

INSTANTIATE_TEST_SUITE_P(Tables, EveryWindowTable,
                         ::testing::Values(&mainWindow, &phraseEditor, &inputDialog));

TEST(MainWindowTable, SampleTemplateHasItsLinesAndFiveRandomLinks) {
    const std::vector<std::string> lines =
        splitLines(control(mainWindowSpec(), kTemplateEditor1).text);
    ASSERT_EQ(lines.size(), 23u);
    EXPECT_EQ(lines.front(), "<html>");
    EXPECT_EQ(lines.back(), "</html>");
    for (std::size_t i = 16; i < 21; ++i) {
        EXPECT_EQ(lines[i], R"(<a href="#随机篇链接#">#随机篇标题#</a><br>)"_gbk) << i;
    }
    EXPECT_EQ(lines[10], R"(<div><!--文章开始-->#导入的文件内容#<!--文章结束--><div>)"_gbk);
    EXPECT_NE(lines[8].find(R"(height="250")"), std::string::npos) << lines[8];
}

TEST(MainWindowTable, DesignTextsAreExact) {
    const WindowSpec& w = mainWindowSpec();
    EXPECT_EQ(control(w, kImportFolderButton).text, "  导入目录生成"_gbk);
    EXPECT_EQ(control(w, kTemplateEditor2).text,
              "<title>#本篇标题#</title>\r\n<body>\r\n#导入的文件内容#\r\n</body>"_gbk);
    EXPECT_EQ(control(w, kArticleEntryEdit).text,
              "<p><a href=\"#链接#\">《#标题#》</a></p>\r\n"_gbk);
    EXPECT_EQ(control(w, kTimeFormatEdit).text, "<年>-<月>-<日> <时>:<分>:<秒>"_gbk);
    EXPECT_EQ(control(w, kMoreButton).text, "更 多"_gbk);
    EXPECT_EQ(splitLines(control(w, kKeywordListEdit).text).size(), 8u);
    EXPECT_EQ(w.caption,
              "澜川·页链站坊 v1.8.1.1 - 文章模板，自动上下篇、随机链接，一体化静态网站"_gbk);
    EXPECT_EQ(control(w, kTagSettingsPage).text, " 扩展引用设置 "_gbk);
}

TEST(MainWindowTable, CombosHaveTheirItemsAndSelection) {
    const WindowSpec& w = mainWindowSpec();
    const std::vector<std::string> encodings = {"自动识别"_gbk, "GBK",        "UTF-8",
                                                "Unicode",      "Unicode be", "Big5"};
    EXPECT_EQ(control(w, kInputEncodingCombo).items, encodings);
    EXPECT_EQ(control(w, kOutputEncodingCombo).items, encodings);
    EXPECT_EQ(control(w, kInputEncodingCombo).selectedIndex, 0);

    const ControlSpec& title = control(w, kTitleSourceCombo);
    EXPECT_EQ(title.items, (std::vector<std::string>{"文件名"_gbk, "<title>网页标题</title>"_gbk,
                                                     "文件内容首行"_gbk}));
    EXPECT_EQ(title.selectedIndex, 1);
    EXPECT_FALSE(title.editable);
    EXPECT_EQ(control(w, kPageNumberKindCombo).items.size(), 3u);
    EXPECT_TRUE(control(w, kPhraseCombo).editable);
    EXPECT_EQ(control(w, kTemplateTabs).selectedIndex, 0);
}

TEST(MainWindowTable, SideFileTagsAreOnExactlyTheLongTexts) {
    std::set<std::string> tagged;
    for (const ControlSpec& c : mainWindowSpec().controls) {
        if (!c.tag.empty()) {
            EXPECT_EQ(c.tag, "字节集方式"_gbk) << gbkToUtf8(c.name);
            tagged.insert(c.name);
        }
    }
    const std::set<std::string> expected = {kKeywordListEdit, kArticleEntryEdit, kPageEntryEdit,
                                            kPageBarTailEdit, kPageBarHeadEdit,  kTemplateEditor1,
                                            kTemplateEditor2, kTemplateEditor4,  kTemplateEditor5,
                                            kListTailEdit,    kListHeadEdit};
    EXPECT_EQ(tagged, expected);
}

TEST(MainWindowTable, MenuItemsAndPagesInOrder) {
    std::vector<std::string> captions;
    std::vector<std::string> pages;
    for (const ControlSpec& c : mainWindowSpec().controls) {
        if (c.kind == MenuItem) captions.push_back(gbkToUtf8(c.text));
        if (c.kind == TabPage) pages.push_back(gbkToUtf8(c.text));
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"#递增#", "#时间#", "#随机汉字#", "#随机数母#"}));
    EXPECT_EQ(pages, (std::vector<std::string>{" 模板1 ", " 模板2 ", " 模板3 ", " 模板4 ",
                                               " 模板5 ", " 扩展引用设置 ", " 列表页设置 "}));
}

TEST(OtherWindowTables, PhraseEditorAndInputDialog) {
    const WindowSpec& editor = phraseEditorSpec();
    EXPECT_EQ(editor.name, std::string(kPhraseEditorWindow));
    EXPECT_EQ(editor.caption, "随机词组编辑器"_gbk);
    EXPECT_TRUE(control(editor, kPhraseList).items.empty());
    EXPECT_EQ(splitLines(control(editor, kPhraseHintLabel).text).size(), 2u);

    const WindowSpec& dialog = inputDialogSpec();
    EXPECT_EQ(dialog.name, std::string(kInputDialogWindow));
    EXPECT_EQ(control(dialog, kInputRestoreButton).container, std::string(kInputToolbarFrame));
    EXPECT_EQ(control(dialog, kInputOkButton).container, "");
    EXPECT_TRUE(control(dialog, kInputTextEdit).multiline);
    EXPECT_TRUE(control(dialog, kInputPromptEdit).readOnly);
}

}  // namespace
}  // namespace yelian
