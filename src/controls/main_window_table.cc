#include "controls/main_window_table.h"

#include <string>
#include <string_view>

#include "controls/main_window_names.h"
#include "controls/window_table_builder.h"
#include "support/shared_texts.h"

namespace yelian {
namespace {

using enum ControlKind;

std::string joinLines(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    return text;
}

// The sample template of the first template editor: a complete page that shows every tag of
// the article chain.
std::string sampleTemplate() {
    return joinLines({
        R"(<html>)",
        R"(<head>)",
        R"(<meta http-equiv="Content-Type" content="text/html" />)",
        R"(<meta name="description" content="#描述#" />)",
        R"(<meta name="keywords" content="#关键词#" />)",
        R"(<title>#本篇标题#</title>)",
        R"(</head>)",
        R"(<body>)",
        R"(<iframe src="about:blank" width="100%" height="250" frameborder="0" marginwidth="0" marginheight="0" scrolling="no"></iframe>)",
        R"(<div><h3><a href="/">返回首页</a> - <a href=".">返回上级</a> - <a href="#本篇链接#">#本篇标题#</a></h3><div>)",
        R"(<div><!--文章开始-->#导入的文件内容#<!--文章结束--><div>)",
        R"(<hr>)",
        R"(<b>上一篇：</b><a href="#上一篇链接#">#上一篇标题#</a><br>)",
        R"(<b>下一篇：</b><a href="#下一篇链接#">#下一篇标题#</a><br>)",
        R"(<hr>)",
        R"(<h3>更多文章：</h3>)",
        R"(<a href="#随机篇链接#">#随机篇标题#</a><br>)",
        R"(<a href="#随机篇链接#">#随机篇标题#</a><br>)",
        R"(<a href="#随机篇链接#">#随机篇标题#</a><br>)",
        R"(<a href="#随机篇链接#">#随机篇标题#</a><br>)",
        R"(<a href="#随机篇链接#">#随机篇标题#</a><br>)",
        R"(</body>)",
        R"(</html>)",
    });
}

ControlSpec& addEdit(WindowTableBuilder& b, std::string_view name, std::string_view container,
                     Geometry geometry, std::string_view utf8Text) {
    return b.add(EditBox, name, container, geometry, utf8Text);
}

ControlSpec& addMultilineEdit(WindowTableBuilder& b, std::string_view name,
                              std::string_view container, Geometry geometry,
                              std::string_view utf8Text) {
    ControlSpec& edit = b.add(EditBox, name, container, geometry, utf8Text);
    edit.multiline = true;
    return edit;
}

void addCheck(WindowTableBuilder& b, std::string_view name, std::string_view container,
              Geometry geometry, std::string_view utf8Caption, bool checked) {
    b.add(CheckBox, name, container, geometry, utf8Caption).checked = checked;
}

// Edit boxes whose text the settings store keeps in a side file of its own.
void storeAsBytes(ControlSpec& control) {
    control.tag = kStoredAsBytesTag;
}

void addHeaderBar(WindowTableBuilder& b) {
    b.add(Picture, kHeaderPicture, {}, {0, 0, 800, 88});
    b.add(Label, kHeaderRule, {}, {8, 88, 968, 2});
    b.add(Picture, kSaveSettingsPicture, kHeaderPicture, {8, 0, 64, 64});
    b.add(LinkLabel, kSaveSettingsLink, kHeaderPicture, {8, 64, 64, 24}, "保存配置");
    b.add(Picture, kHelpPicture, kHeaderPicture, {88, 0, 64, 64});
    b.add(LinkLabel, kHelpLink, kHeaderPicture, {88, 64, 64, 24}, "疑点说明");
    b.add(Picture, kContactPicture, kHeaderPicture, {168, 0, 64, 64});
    b.add(LinkLabel, kContactLink, kHeaderPicture, {168, 64, 64, 24}, "联系作者");
    b.add(Picture, kHomePagePicture, kHeaderPicture, {248, 0, 64, 64});
    b.add(LinkLabel, kHomePageLink, kHeaderPicture, {248, 64, 64, 24}, "软件主页");
    b.add(DropTarget, kDropTarget, kHeaderPicture, {376, 32, 26, 26});
    b.add(Picture, kLogoPicture, kHeaderPicture, {408, 12, 195, 64});
    b.add(Picture, kTemplateMakerPicture, kHeaderPicture, {720, 0, 64, 64});
    b.add(LinkLabel, kTemplateMakerLink, kHeaderPicture, {720, 64, 64, 24}, "模板制作");
}

void addTagButtons(WindowTableBuilder& b) {
    b.add(Button, kImportedArticleButton, {}, {8, 94, 200, 48}, kContentTag.utf8());
    b.add(Button, kPreviousTitleButton, {}, {213, 94, 110, 24}, kPreviousTitleTag.utf8());
    b.add(Button, kNextTitleButton, {}, {213, 118, 110, 24}, kNextTitleTag.utf8());
    b.add(Button, kPreviousLinkButton, {}, {326, 94, 110, 24}, kPreviousLinkTag.utf8());
    b.add(Button, kNextLinkButton, {}, {326, 118, 110, 24}, kNextLinkTag.utf8());
    b.add(Button, kThisTitleButton, {}, {439, 94, 110, 24}, kThisTitleTag.utf8());
    b.add(Button, kThisLinkButton, {}, {439, 118, 110, 24}, kThisLinkTag.utf8());
    b.add(Button, kRandomTitleButton, {}, {552, 94, 110, 24}, kRandomTitleTag.utf8());
    b.add(Button, kRandomLinkButton, {}, {552, 118, 110, 24}, kRandomLinkTag.utf8());
    b.add(Button, kKeywordTagButton, {}, {665, 94, 83, 24}, kKeywordTag.utf8());
    b.add(Button, kDescriptionTagButton, {}, {665, 118, 83, 24}, kDescriptionTag.utf8());
    b.add(Button, kMoreButton, {}, {752, 94, 32, 48}, "更 多");
    // The items of the popup menu "更多", in menu order. The menu is no control of its own:
    // the button shows it at the mouse position, so the items have neither container nor
    // geometry.
    b.add(MenuItem, kCounterMenuItem, {}, {}, kCounterTag.utf8());
    b.add(MenuItem, kTimeMenuItem, {}, {}, kTimeTag.utf8());
    b.add(MenuItem, kRandomChineseMenuItem, {}, {}, kRandomChineseTag.utf8());
    b.add(MenuItem, kRandomLettersMenuItem, {}, {}, kRandomLettersTag.utf8());
}

void addTabControl(WindowTableBuilder& b) {
    b.add(TabControl, kTemplateTabs, {}, {8, 149, 773, 291}).selectedIndex = 0;
    constexpr Geometry page{0, 0, 773, 291};
    b.add(TabPage, kTemplatePage1, kTemplateTabs, page, " 模板1 ");
    b.add(TabPage, kTemplatePage2, kTemplateTabs, page, " 模板2 ");
    b.add(TabPage, kTemplatePage3, kTemplateTabs, page, " 模板3 ");
    b.add(TabPage, kTemplatePage4, kTemplateTabs, page, " 模板4 ");
    b.add(TabPage, kTemplatePage5, kTemplateTabs, page, " 模板5 ");
    b.add(TabPage, kTagSettingsPage, kTemplateTabs, page, " 扩展引用设置 ");
    b.add(TabPage, kListSettingsPage, kTemplateTabs, page, " 列表页设置 ");
}

void addTemplateEditors(WindowTableBuilder& b) {
    constexpr Geometry editor{0, 26, 773, 265};
    const std::string sample = sampleTemplate();
    storeAsBytes(addMultilineEdit(b, kTemplateEditor1, kTemplatePage1, editor, sample));
    storeAsBytes(
        addMultilineEdit(b, kTemplateEditor2, kTemplatePage2, editor,
                         "<title>#本篇标题#</title>\r\n<body>\r\n#导入的文件内容#\r\n</body>"));
    // The third editor has no tag: the settings file keeps it as a text value.
    addMultilineEdit(b, kTemplateEditor3, kTemplatePage3, editor, {});
    storeAsBytes(addMultilineEdit(b, kTemplateEditor4, kTemplatePage4, editor, {}));
    storeAsBytes(addMultilineEdit(b, kTemplateEditor5, kTemplatePage5, editor, {}));
}

void addCounterAndDescription(WindowTableBuilder& b) {
    b.add(GroupBox, kCounterGroup, kTagSettingsPage, {16, 36, 296, 56}, kCounterTag.utf8());
    b.add(Label, kCounterStartLabel, kCounterGroup, {8, 22, 64, 24}, "起始值：");
    addEdit(b, kCounterStartEdit, kCounterGroup, {72, 22, 56, 24}, "1");
    b.add(Label, kCounterStepLabel, kCounterGroup, {160, 22, 64, 24}, "递增值：");
    addEdit(b, kCounterStepEdit, kCounterGroup, {224, 22, 56, 24}, "1");

    b.add(GroupBox, kDescriptionGroup, kTagSettingsPage, {16, 100, 296, 56},
          kDescriptionTag.utf8());
    b.add(Label, kDescriptionLengthLabel, kDescriptionGroup, {8, 22, 80, 24}, "描述字数：");
    addEdit(b, kDescriptionLengthMinEdit, kDescriptionGroup, {88, 22, 80, 24}, "100");
    b.add(Label, kDescriptionLengthDashLabel, kDescriptionGroup, {176, 22, 16, 24}, "-");
    addEdit(b, kDescriptionLengthMaxEdit, kDescriptionGroup, {200, 22, 80, 24}, "200");
}

void addKeywords(WindowTableBuilder& b) {
    b.add(GroupBox, kKeywordGroup, kTagSettingsPage, {16, 164, 296, 56}, kKeywordTag.utf8());
    b.add(Button, kEnterKeywordsButton, kKeywordGroup, {8, 22, 72, 24}, "输入..");
    // Hidden under the button: the list is edited only through the input dialog.
    ControlSpec& list = addMultilineEdit(
        b, kKeywordListEdit, kKeywordGroup, {48, 22, 32, 24},
        "关键词1\r\n关键词2\r\n关键词3\r\n关键词4\r\n关键词5\r\n关键词6\r\n关键词7\r\n关键词8");
    list.visible = false;
    storeAsBytes(list);
    b.add(Label, kKeywordCountLabel, kKeywordGroup, {96, 22, 80, 24}, "关键词数：");
    addEdit(b, kKeywordCountMinEdit, kKeywordGroup, {176, 22, 40, 24}, "3");
    b.add(Label, kKeywordCountDashLabel, kKeywordGroup, {217, 22, 23, 24}, "-");
    addEdit(b, kKeywordCountMaxEdit, kKeywordGroup, {240, 22, 40, 24}, "5");
    // On the page, over the top edge of the keyword group.
    addCheck(b, kOrderedCheck, kTagSettingsPage, {113, 162, 80, 20}, "按顺序", false);
}

void addRandomChinese(WindowTableBuilder& b) {
    b.add(GroupBox, kRandomChineseGroup, kTagSettingsPage, {328, 36, 328, 88},
          kRandomChineseTag.utf8());
    b.add(Label, kChineseKindLabel, kRandomChineseGroup, {8, 22, 48, 24}, "类型：");
    b.add(RadioButton, kMostCommonRadio, kRandomChineseGroup, {58, 22, 72, 24}, "最常用").checked =
        true;
    b.add(RadioButton, kCommonRadio, kRandomChineseGroup, {138, 22, 90, 24}, "一般常用");
    b.add(RadioButton, kLessCommonRadio, kRandomChineseGroup, {234, 22, 90, 24}, "次要常用");
    b.add(Label, kChineseLengthLabel, kRandomChineseGroup, {8, 54, 48, 24}, "字数：");
    addEdit(b, kChineseLengthMinEdit, kRandomChineseGroup, {58, 54, 40, 24}, "5");
    b.add(Label, kChineseLengthToLabel, kRandomChineseGroup, {100, 54, 24, 24}, "到");
    addEdit(b, kChineseLengthMaxEdit, kRandomChineseGroup, {125, 54, 40, 24}, "10");
    addCheck(b, kTraditionalCheck, kRandomChineseGroup, {234, 54, 88, 24}, "转为繁体", false);
}

void addRandomLetters(WindowTableBuilder& b) {
    b.add(GroupBox, kRandomLettersGroup, kTagSettingsPage, {328, 132, 328, 88},
          kRandomLettersTag.utf8());
    b.add(Label, kLettersKindLabel, kRandomLettersGroup, {8, 22, 48, 24}, "类型：");
    addCheck(b, kDigitsCheck, kRandomLettersGroup, {58, 22, 62, 24}, "数字", false);
    addCheck(b, kLowercaseCheck, kRandomLettersGroup, {136, 22, 88, 24}, "小写字母", true);
    addCheck(b, kUppercaseCheck, kRandomLettersGroup, {234, 22, 88, 24}, "大写字母", true);
    b.add(Label, kLettersLengthLabel, kRandomLettersGroup, {8, 54, 48, 24}, "字数：");
    addEdit(b, kLettersLengthMinEdit, kRandomLettersGroup, {58, 54, 40, 24}, "10");
    b.add(Label, kLettersLengthToLabel, kRandomLettersGroup, {100, 54, 24, 24}, "到");
    addEdit(b, kLettersLengthMaxEdit, kRandomLettersGroup, {125, 54, 40, 24}, "15");
    addCheck(b, kFullWidthCheck, kRandomLettersGroup, {234, 54, 88, 24}, "转为全角", false);
}

void addTime(WindowTableBuilder& b) {
    b.add(GroupBox, kTimeGroup, kTagSettingsPage, {16, 228, 640, 56}, kTimeTag.utf8());
    b.add(Label, kTimeFormatLabel, kTimeGroup, {8, 22, 64, 24}, "表达式：");
    addEdit(b, kTimeFormatEdit, kTimeGroup, {72, 22, 264, 24}, "<年>-<月>-<日> <时>:<分>:<秒>");
    // The question mark has no action.
    b.add(Button, kTimeHelpButton, kTimeGroup, {337, 22, 16, 24}, "？");
    addCheck(b, kRandomTimeCheck, kTimeGroup, {366, 22, 88, 24}, "随机时间", false);
    b.add(Label, kYearRangeLabel, kTimeGroup, {460, 22, 60, 24}, "年幅度：");
    addEdit(b, kYearFromEdit, kTimeGroup, {525, 22, 40, 24}, "2012");
    b.add(Label, kYearDashLabel, kTimeGroup, {568, 22, 16, 24}, "-");
    addEdit(b, kYearToEdit, kTimeGroup, {584, 22, 40, 24}, "2015");
}

// The code boxes of the list pages hold several lines (the clipboard may paste any), so all
// of them are multi-line.
void addListSettings(WindowTableBuilder& b) {
    const std::string_view page = kListSettingsPage;
    b.add(Label, kListCodeLabel, page, {16, 36, 136, 24}, "全局代码的头和尾：");
    b.add(Button, kPasteListHeadButton, page, {207, 36, 64, 24}, "粘贴头");
    b.add(Button, kPasteListTailButton, page, {272, 36, 64, 24}, "粘贴尾");
    storeAsBytes(addMultilineEdit(b, kListHeadEdit, page, {16, 60, 320, 144},
                                  "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" "
                                  "content=\"text/html\" />\r\n<title>文章列表(#页号#)</"
                                  "title>\r\n</head>\r\n<body>\r\n"));
    storeAsBytes(addMultilineEdit(
        b, kListTailEdit, page, {16, 207, 320, 73},
        "<!-- <h1>这是代码尾部。可以在“列表页设置”中修改</h1> -->\r\n</body></html>"));
    b.add(Label, kPageBarCodeLabel, page, {376, 36, 144, 24}, "分页代码的头和尾：");
    b.add(Button, kPastePageBarHeadButton, page, {623, 36, 64, 24}, "粘贴头");
    b.add(Button, kPastePageBarTailButton, page, {688, 36, 64, 24}, "粘贴尾");
    storeAsBytes(addMultilineEdit(b, kPageBarHeadEdit, page, {376, 60, 376, 35}, "<hr><div>页："));
    storeAsBytes(addMultilineEdit(b, kPageBarTailEdit, page, {376, 96, 376, 35}, "</div>"));
    b.add(Label, kPageEntryLabel, page, {376, 145, 112, 24}, "分页个体代码：");
    addCheck(b, kFirstPageUnnumberedCheck, page, {487, 145, 103, 24}, "首页无页号", true);
    ControlSpec& kind = b.add(ComboBox, kPageNumberKindCombo, page, {593, 145, 88, 24});
    kind.items = WindowTableBuilder::items({"数字页号", "字母页号", "汉字页号"});
    kind.selectedIndex = 0;
    b.add(Button, kPastePageEntryButton, page, {688, 145, 64, 24}, "粘贴");
    storeAsBytes(addMultilineEdit(b, kPageEntryEdit, page, {376, 169, 376, 35},
                                  R"(&nbsp;<a href="index_#页号#.htm">#页号#</a>&nbsp;)"));
    b.add(Label, kArticleEntryLabel, page, {376, 219, 376, 24},
          "文章链接个体代码：(可插入#链接#、#标题#)");
    b.add(Button, kPasteArticleEntryButton, page, {688, 219, 64, 24}, "粘贴");
    storeAsBytes(addMultilineEdit(b, kArticleEntryEdit, page, {376, 243, 376, 35},
                                  "<p><a href=\"#链接#\">《#标题#》</a></p>\r\n"));
}

void addTitleProcessing(WindowTableBuilder& b) {
    b.add(Label, kTitleSectionLabel, {}, {8, 446, 523, 24}, "标题处理");
    b.add(Label, kTitleSourceLabel, {}, {11, 478, 78, 20}, "标题来源：");
    ControlSpec& source = b.add(ComboBox, kTitleSourceCombo, {}, {96, 478, 344, 23});
    source.items = WindowTableBuilder::items({"文件名", "<title>网页标题</title>", "文件内容首行"});
    source.selectedIndex = 1;
    addCheck(b, kDropFirstLineCheck, {}, {453, 478, 90, 20}, "去掉首行", true);
    addCheck(b, kReplaceTitleCheck, {}, {11, 504, 80, 24}, "替换标题", false);
    addEdit(b, kTitlePatternEdit, {}, {97, 504, 155, 24}, "(.+)[_-].*");
    b.add(Label, kTitlePatternToLabel, {}, {258, 504, 22, 24}, "到");
    addEdit(b, kTitleReplacementEdit, {}, {285, 504, 155, 24}, "$1");
    addCheck(b, kUseRegexCheck, {}, {453, 504, 90, 24}, "使用正则", true);
}

void addContentProcessing(WindowTableBuilder& b) {
    b.add(Label, kContentSectionLabel, {}, {8, 542, 523, 24}, "内容处理");
    addCheck(b, kCutContentCheck, {}, {11, 573, 133, 24}, "截取中间内容", true);
    b.add(Label, kCutHeadLabel, {}, {217, 573, 76, 24}, "头部内容：");
    addEdit(b, kCutHeadEdit, {}, {296, 573, 235, 24}, "<body>");
    addCheck(b, kCutFallbackCheck, {}, {11, 600, 181, 24}, "截取为空时返回原内容", true);
    b.add(Label, kCutTailLabel, {}, {217, 600, 76, 24}, "尾部内容：");
    addEdit(b, kCutTailEdit, {}, {296, 600, 235, 24}, "</body>");
}

void addPhraseInsertion(WindowTableBuilder& b) {
    b.add(Label, kInsertionSectionLabel, {}, {11, 634, 517, 24}, "关键词插入");
    addCheck(b, kInsertPhrasesCheck, {}, {11, 664, 88, 24}, "启用插词", false);
    // Filled with the phrase groups at start.
    b.add(ComboBox, kPhraseCombo, {}, {99, 664, 424, 23}).editable = true;
    b.add(Button, kEditPhrasesButton, {}, {526, 664, 45, 24}, "编辑");
    b.add(Label, kInsertCountLabel, {}, {589, 664, 77, 24}, "插入次数：");
    addEdit(b, kInsertCountMinEdit, {}, {668, 664, 40, 24}, "2");
    b.add(Label, kInsertCountToLabel, {}, {712, 664, 29, 24}, "到");
    addEdit(b, kInsertCountMaxEdit, {}, {744, 664, 40, 24}, "4");
}

void addGeneration(WindowTableBuilder& b) {
    b.add(GroupBox, kGenerateGroup, {}, {552, 449, 232, 209}, "开始生成单页网站系统");
    const std::vector<std::string> encodings =
        WindowTableBuilder::items({"自动识别", "GBK", "UTF-8", "Unicode", "Unicode be", "Big5"});
    b.add(Label, kInputEncodingLabel, kGenerateGroup, {14, 22, 79, 23}, "输入编码：");
    ControlSpec& input = b.add(ComboBox, kInputEncodingCombo, kGenerateGroup, {94, 22, 122, 23});
    input.items = encodings;
    input.selectedIndex = 0;
    b.add(Label, kOutputEncodingLabel, kGenerateGroup, {14, 48, 79, 23}, "输出编码：");
    ControlSpec& output = b.add(ComboBox, kOutputEncodingCombo, kGenerateGroup, {94, 48, 122, 23});
    output.items = encodings;
    output.selectedIndex = 0;
    b.add(Button, kImportFilesButton, kGenerateGroup, {11, 75, 205, 32}, "批量导入多个文件生成..");
    b.add(Button, kImportFolderButton, kGenerateGroup, {11, 107, 205, 32}, "  导入目录生成");
    // Lies over the right part of the folder button.
    addEdit(b, kFolderFilterEdit, kGenerateGroup, {136, 111, 64, 24}, "*.htm");
    addCheck(b, kListPagesCheck, kGenerateGroup, {11, 145, 139, 24}, "生成文章列表页：", false);
    addEdit(b, kArticlesPerListPageEdit, kGenerateGroup, {150, 145, 66, 24}, "9");
    addCheck(b, kExtensionCheck, kGenerateGroup, {11, 173, 141, 24}, "文件保存扩展名：", false);
    addEdit(b, kExtensionEdit, kGenerateGroup, {150, 173, 66, 24}, "htm");
}

WindowSpec buildMainWindowSpec() {
    WindowTableBuilder b(kMainWindow,
                         "澜川·页链站坊 v1.8.1.1 - 文章模板，自动上下篇、随机链接，一体化静态网站",
                         {50, 50, 800, 727});
    addHeaderBar(b);
    addTagButtons(b);
    addCheck(b, kFolderLinksCheck, {}, {600, 149, 136, 24}, "链接目录形式", false);
    addTabControl(b);
    addTemplateEditors(b);
    addCounterAndDescription(b);
    addKeywords(b);
    addRandomChinese(b);
    addRandomLetters(b);
    addTime(b);
    addListSettings(b);
    addTitleProcessing(b);
    addContentProcessing(b);
    addPhraseInsertion(b);
    addGeneration(b);
    return b.take();
}

}  // namespace

const WindowSpec& mainWindowSpec() {
    static const WindowSpec spec = buildMainWindowSpec();
    return spec;
}

}  // namespace yelian
