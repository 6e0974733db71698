#include "controls/template_maker_table.h"

#include "controls/window_table_builder.h"

namespace yelian {
namespace {

using enum ControlKind;

// What the template source editor shows until the first template is made; never saved, so
// every opening starts with it.
constexpr std::string_view kHelpText =
    "\r\n点击【生成模板】时，将读取目标网页源码\r\n"
    "并自动替换网页标题、网页正文部分为本软件对应的单页标签（#本篇标题#、#导入的文件内容#）\r\n"
    "\r\n\r\n自动替换正文标签功能，基于澜川独家万能正文识别算法，能适应绝大多数网页的正文识别\r\n"
    "（同样的识别方法也用于网页阅读模式：只留下文章正文）\r\n"
    "\r\n\r\n如果遇到无法自动替换正文标签或替换出错（替换到不是正文的部分）\r\n"
    "请右键单击【生成模板】来读取源码，将禁止自动替换正文标签\r\n"
    "然后可以使用查找功能自行定位、编辑替换\r\n\r\n\r\n"
    "-----------------------------------------------------------\r\n\r\n"
    "当本窗口显示时，可以点击主界面的各个标签按钮来插入到本编辑框焦点处";

void addTabs(WindowTableBuilder& b) {
    b.add(TabControl, kTemplateMakerTabs, {}, {8, 40, 711, 390}).selectedIndex = 0;
    // As on the main window, the pages and what lies on them count from the tab control's top,
    // tab strip included.
    constexpr Geometry page{0, 0, 711, 390};
    b.add(TabPage, kTemplateSourcePage, kTemplateMakerTabs, page, "模板代码");
    b.add(TabPage, kTemplatePreviewPage, kTemplateMakerTabs, page, "模板预览");
    constexpr Geometry inside{2, 28, 703, 358};
    ControlSpec& source =
        b.add(EditBox, kTemplateSourceEdit, kTemplateSourcePage, inside, kHelpText);
    source.multiline = true;
    source.tag = kNeverSaveTag;
    b.add(Browser, kTemplatePreview, kTemplatePreviewPage, inside);
    // Over the tab strip, right of the two tabs.
    ControlSpec& candidates = b.add(ComboBox, kCandidateCombo, {}, {180, 40, 390, 22});
    candidates.tag = kNeverSaveTag;
    candidates.enabled = false;
    b.add(Button, kPasteTemplateButton, {}, {578, 40, 68, 22}, "粘贴");
    b.add(Button, kCopyTemplateButton, {}, {650, 40, 68, 22}, "复制");
}

WindowSpec buildTemplateMakerSpec() {
    WindowTableBuilder b(kTemplateMakerWindow,
                         "读取目标网页生成单页模板（自动替换标题和正文标签）：",
                         {50, 50, 735, 507});
    b.add(Label, kAddressLabel, {}, {8, 10, 72, 24}, "网页地址：");
    b.add(EditBox, kAddressEdit, {}, {82, 8, 458, 24});
    b.add(Button, kPasteAddressButton, {}, {544, 8, 50, 24}, "粘贴");
    b.add(Button, kMakeTemplateButton, {}, {598, 8, 121, 24}, "生成模板");
    addTabs(b);
    b.add(Label, kSearchLabel, {}, {8, 440, 86, 24}, "查找关键字：");
    b.add(EditBox, kSearchEdit, {}, {96, 438, 270, 24});
    b.add(Button, kPasteSearchButton, {}, {370, 438, 50, 24}, "粘贴");
    b.add(Button, kFindNextButton, {}, {424, 438, 70, 24}, "下一个");
    b.add(Button, kFindPreviousButton, {}, {498, 438, 70, 24}, "上一个");
    b.add(CheckBox, kRenderedCheck, {}, {584, 440, 135, 22}, "渲染后识别");
    return b.take();
}

}  // namespace

const WindowSpec& templateMakerSpec() {
    static const WindowSpec spec = buildTemplateMakerSpec();
    return spec;
}

}  // namespace yelian
