// The names of the windows and of the main window's controls, each written once. The handlers,
// the engine and the settings store address controls through these constants; the settings
// file keys its values by the same names, so they must stay exactly as they are.
#pragma once

#include "support/gbk_text.h"

namespace yelian {

// Windows. The main window's name is also the settings section of its controls.
inline constexpr GbkConstant<"主界面"> kMainWindow;
inline constexpr GbkConstant<"随机词组"> kPhraseEditorWindow;
inline constexpr GbkConstant<"输入框"> kInputDialogWindow;
inline constexpr GbkConstant<"模板制作"> kTemplateMakerWindow;

// Header bar: pictures with a caption link under each.
inline constexpr GbkConstant<"图片框1"> kHeaderPicture;
inline constexpr GbkConstant<"标签1"> kHeaderRule;
inline constexpr GbkConstant<"图片保存配置"> kSaveSettingsPicture;
inline constexpr GbkConstant<"链接保存配置"> kSaveSettingsLink;
inline constexpr GbkConstant<"图片疑点说明"> kHelpPicture;
inline constexpr GbkConstant<"链接疑点说明"> kHelpLink;
inline constexpr GbkConstant<"图片联系作者"> kContactPicture;
inline constexpr GbkConstant<"链接联系作者"> kContactLink;
inline constexpr GbkConstant<"图片软件主页"> kHomePagePicture;
inline constexpr GbkConstant<"链接软件主页"> kHomePageLink;
inline constexpr GbkConstant<"拖放对象1"> kDropTarget;
inline constexpr GbkConstant<"图片澜川软件"> kLogoPicture;
inline constexpr GbkConstant<"图片模板制作"> kTemplateMakerPicture;
inline constexpr GbkConstant<"链接模板制作"> kTemplateMakerLink;

// Tag buttons and the items of the popup menu "更多".
inline constexpr GbkConstant<"按钮导入的文章"> kImportedArticleButton;
inline constexpr GbkConstant<"按钮上一篇标题"> kPreviousTitleButton;
inline constexpr GbkConstant<"按钮下一篇标题"> kNextTitleButton;
inline constexpr GbkConstant<"按钮上一篇链接"> kPreviousLinkButton;
inline constexpr GbkConstant<"按钮下一篇链接"> kNextLinkButton;
inline constexpr GbkConstant<"按钮本篇标题"> kThisTitleButton;
inline constexpr GbkConstant<"按钮本篇链接"> kThisLinkButton;
inline constexpr GbkConstant<"按钮随机篇标题"> kRandomTitleButton;
inline constexpr GbkConstant<"按钮随机篇链接"> kRandomLinkButton;
inline constexpr GbkConstant<"按钮关键词"> kKeywordTagButton;
inline constexpr GbkConstant<"按钮描述"> kDescriptionTagButton;
inline constexpr GbkConstant<"按钮更多"> kMoreButton;
inline constexpr GbkConstant<"菜单递增"> kCounterMenuItem;
inline constexpr GbkConstant<"菜单时间"> kTimeMenuItem;
inline constexpr GbkConstant<"菜单随机汉字"> kRandomChineseMenuItem;
inline constexpr GbkConstant<"菜单随机数母"> kRandomLettersMenuItem;

inline constexpr GbkConstant<"选择框链接目录形式"> kFolderLinksCheck;

// The tab control and its seven pages. The pages have no names in the window design; these
// are ours.
inline constexpr GbkConstant<"选择夹模板"> kTemplateTabs;
inline constexpr GbkConstant<"页模板1"> kTemplatePage1;
inline constexpr GbkConstant<"页模板2"> kTemplatePage2;
inline constexpr GbkConstant<"页模板3"> kTemplatePage3;
inline constexpr GbkConstant<"页模板4"> kTemplatePage4;
inline constexpr GbkConstant<"页模板5"> kTemplatePage5;
inline constexpr GbkConstant<"页扩展引用设置"> kTagSettingsPage;
inline constexpr GbkConstant<"页列表页设置"> kListSettingsPage;

inline constexpr GbkConstant<"编辑框模板1"> kTemplateEditor1;
inline constexpr GbkConstant<"编辑框模板2"> kTemplateEditor2;
inline constexpr GbkConstant<"编辑框模板3"> kTemplateEditor3;
inline constexpr GbkConstant<"编辑框模板4"> kTemplateEditor4;
inline constexpr GbkConstant<"编辑框模板5"> kTemplateEditor5;

// Page " 扩展引用设置 ": the settings of the generated tags.
inline constexpr GbkConstant<"分组框2"> kCounterGroup;
inline constexpr GbkConstant<"标签8"> kCounterStartLabel;
inline constexpr GbkConstant<"编辑框起始值"> kCounterStartEdit;
inline constexpr GbkConstant<"标签10"> kCounterStepLabel;
inline constexpr GbkConstant<"编辑框递增值"> kCounterStepEdit;

inline constexpr GbkConstant<"分组框3"> kDescriptionGroup;
inline constexpr GbkConstant<"标签12"> kDescriptionLengthLabel;
inline constexpr GbkConstant<"编辑框描述字数1"> kDescriptionLengthMinEdit;
inline constexpr GbkConstant<"标签13"> kDescriptionLengthDashLabel;
inline constexpr GbkConstant<"编辑框描述字数2"> kDescriptionLengthMaxEdit;

inline constexpr GbkConstant<"分组框4"> kKeywordGroup;
inline constexpr GbkConstant<"按钮输入关键词"> kEnterKeywordsButton;
inline constexpr GbkConstant<"编辑框关键词"> kKeywordListEdit;
inline constexpr GbkConstant<"标签17"> kKeywordCountLabel;
inline constexpr GbkConstant<"编辑框关键词数1"> kKeywordCountMinEdit;
inline constexpr GbkConstant<"标签20"> kKeywordCountDashLabel;
inline constexpr GbkConstant<"编辑框关键词数2"> kKeywordCountMaxEdit;
inline constexpr GbkConstant<"选择框按顺序"> kOrderedCheck;

inline constexpr GbkConstant<"分组框随机汉字"> kRandomChineseGroup;
inline constexpr GbkConstant<"标签21"> kChineseKindLabel;
inline constexpr GbkConstant<"单选框最常用"> kMostCommonRadio;
inline constexpr GbkConstant<"单选框一般常用"> kCommonRadio;
inline constexpr GbkConstant<"单选框次要常用"> kLessCommonRadio;
inline constexpr GbkConstant<"标签24"> kChineseLengthLabel;
inline constexpr GbkConstant<"编辑框汉字字数1"> kChineseLengthMinEdit;
inline constexpr GbkConstant<"标签23"> kChineseLengthToLabel;
inline constexpr GbkConstant<"编辑框汉字字数2"> kChineseLengthMaxEdit;
inline constexpr GbkConstant<"选择框转为繁体"> kTraditionalCheck;

inline constexpr GbkConstant<"分组框随机数母"> kRandomLettersGroup;
inline constexpr GbkConstant<"标签11"> kLettersKindLabel;
inline constexpr GbkConstant<"选择框有数字"> kDigitsCheck;
inline constexpr GbkConstant<"选择框有小字母"> kLowercaseCheck;
inline constexpr GbkConstant<"选择框有大字母"> kUppercaseCheck;
inline constexpr GbkConstant<"标签25"> kLettersLengthLabel;
inline constexpr GbkConstant<"编辑框数母字数1"> kLettersLengthMinEdit;
inline constexpr GbkConstant<"标签22"> kLettersLengthToLabel;
inline constexpr GbkConstant<"编辑框数母字数2"> kLettersLengthMaxEdit;
inline constexpr GbkConstant<"选择框转为全角"> kFullWidthCheck;

inline constexpr GbkConstant<"分组框时间"> kTimeGroup;
inline constexpr GbkConstant<"标签26"> kTimeFormatLabel;
inline constexpr GbkConstant<"编辑框时间表达式"> kTimeFormatEdit;
inline constexpr GbkConstant<"按钮问号1"> kTimeHelpButton;
inline constexpr GbkConstant<"选择框随机时间"> kRandomTimeCheck;
inline constexpr GbkConstant<"标签年幅度"> kYearRangeLabel;
inline constexpr GbkConstant<"编辑框年1"> kYearFromEdit;
inline constexpr GbkConstant<"标签27"> kYearDashLabel;
inline constexpr GbkConstant<"编辑框年2"> kYearToEdit;

// Page " 列表页设置 ": the code of the generated list pages.
inline constexpr GbkConstant<"标签9"> kListCodeLabel;
inline constexpr GbkConstant<"按钮粘贴头"> kPasteListHeadButton;
inline constexpr GbkConstant<"按钮粘贴尾"> kPasteListTailButton;
inline constexpr GbkConstant<"编辑框头"> kListHeadEdit;
inline constexpr GbkConstant<"编辑框尾"> kListTailEdit;
inline constexpr GbkConstant<"标签14"> kPageBarCodeLabel;
inline constexpr GbkConstant<"按钮粘贴页头"> kPastePageBarHeadButton;
inline constexpr GbkConstant<"按钮粘贴页尾"> kPastePageBarTailButton;
inline constexpr GbkConstant<"编辑框页头"> kPageBarHeadEdit;
inline constexpr GbkConstant<"编辑框页尾"> kPageBarTailEdit;
inline constexpr GbkConstant<"标签15"> kPageEntryLabel;
inline constexpr GbkConstant<"选择框首页无页号"> kFirstPageUnnumberedCheck;
inline constexpr GbkConstant<"组合框页号类型"> kPageNumberKindCombo;
inline constexpr GbkConstant<"按钮粘贴页体"> kPastePageEntryButton;
inline constexpr GbkConstant<"编辑框页体"> kPageEntryEdit;
inline constexpr GbkConstant<"标签16"> kArticleEntryLabel;
inline constexpr GbkConstant<"按钮粘贴链接体"> kPasteArticleEntryButton;
inline constexpr GbkConstant<"编辑框链接体"> kArticleEntryEdit;

// Title processing.
inline constexpr GbkConstant<"标签标题参数"> kTitleSectionLabel;
inline constexpr GbkConstant<"标签2"> kTitleSourceLabel;
inline constexpr GbkConstant<"组合框标题来源"> kTitleSourceCombo;
inline constexpr GbkConstant<"选择框去掉首行"> kDropFirstLineCheck;
inline constexpr GbkConstant<"选择框替换标题"> kReplaceTitleCheck;
inline constexpr GbkConstant<"编辑框匹配式"> kTitlePatternEdit;
inline constexpr GbkConstant<"标签3"> kTitlePatternToLabel;
inline constexpr GbkConstant<"编辑框替换式"> kTitleReplacementEdit;
inline constexpr GbkConstant<"选择框使用正则"> kUseRegexCheck;

// Content processing.
inline constexpr GbkConstant<"标签内容参数"> kContentSectionLabel;
inline constexpr GbkConstant<"选择框截取中间内容"> kCutContentCheck;
inline constexpr GbkConstant<"标签5"> kCutHeadLabel;
inline constexpr GbkConstant<"编辑框左边内容"> kCutHeadEdit;
inline constexpr GbkConstant<"选择框截取为空时返回原文"> kCutFallbackCheck;
inline constexpr GbkConstant<"标签6"> kCutTailLabel;
inline constexpr GbkConstant<"编辑框右边内容"> kCutTailEdit;

// Keyword (phrase) insertion.
inline constexpr GbkConstant<"标签内容参数1"> kInsertionSectionLabel;
inline constexpr GbkConstant<"选择框启用插词"> kInsertPhrasesCheck;
inline constexpr GbkConstant<"组合框词"> kPhraseCombo;
inline constexpr GbkConstant<"按钮编辑"> kEditPhrasesButton;
inline constexpr GbkConstant<"标签18"> kInsertCountLabel;
inline constexpr GbkConstant<"编辑框插入1"> kInsertCountMinEdit;
inline constexpr GbkConstant<"标签19"> kInsertCountToLabel;
inline constexpr GbkConstant<"编辑框插入2"> kInsertCountMaxEdit;

// The generation group.
inline constexpr GbkConstant<"分组框1"> kGenerateGroup;
inline constexpr GbkConstant<"标签4"> kInputEncodingLabel;
inline constexpr GbkConstant<"组合框输入编码"> kInputEncodingCombo;
inline constexpr GbkConstant<"标签7"> kOutputEncodingLabel;
inline constexpr GbkConstant<"组合框输出编码"> kOutputEncodingCombo;
inline constexpr GbkConstant<"按钮文件导入"> kImportFilesButton;
inline constexpr GbkConstant<"按钮目录导入"> kImportFolderButton;
inline constexpr GbkConstant<"编辑框目录过滤"> kFolderFilterEdit;
inline constexpr GbkConstant<"选择框列表页"> kListPagesCheck;
inline constexpr GbkConstant<"编辑框分页"> kArticlesPerListPageEdit;
inline constexpr GbkConstant<"选择框扩展名"> kExtensionCheck;
inline constexpr GbkConstant<"编辑框扩展名"> kExtensionEdit;

}  // namespace yelian
