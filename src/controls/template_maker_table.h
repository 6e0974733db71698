// The template maker's control names and table.
#pragma once

#include "controls/main_window_names.h"
#include "controls/window_table.h"
#include "support/gbk_text.h"

namespace yelian {

inline constexpr GbkConstant<"标签1"> kAddressLabel;
inline constexpr GbkConstant<"编辑框网页地址"> kAddressEdit;
inline constexpr GbkConstant<"按钮粘贴地址"> kPasteAddressButton;
inline constexpr GbkConstant<"按钮生成模板"> kMakeTemplateButton;
inline constexpr GbkConstant<"高级选择夹1"> kTemplateMakerTabs;
inline constexpr GbkConstant<"模板代码页"> kTemplateSourcePage;
inline constexpr GbkConstant<"模板预览页"> kTemplatePreviewPage;
inline constexpr GbkConstant<"编辑框模板代码"> kTemplateSourceEdit;
inline constexpr GbkConstant<"浏览器"> kTemplatePreview;
inline constexpr GbkConstant<"按钮粘贴"> kPasteTemplateButton;
inline constexpr GbkConstant<"按钮复制"> kCopyTemplateButton;
inline constexpr GbkConstant<"标签5"> kSearchLabel;
inline constexpr GbkConstant<"编辑框关键字"> kSearchEdit;
inline constexpr GbkConstant<"按钮粘贴关键字"> kPasteSearchButton;
inline constexpr GbkConstant<"按钮下一个"> kFindNextButton;
inline constexpr GbkConstant<"按钮上一个"> kFindPreviousButton;
// Ours: the blocks the recognition offers (never saved), and recognition of the page as its
// scripts leave it.
inline constexpr GbkConstant<"组合框候选正文"> kCandidateCombo;
inline constexpr GbkConstant<"选择框渲染后识别"> kRenderedCheck;

// Captions the window's handlers write.
inline constexpr GbkConstant<"生成模板"> kMakeTemplateIdle;
inline constexpr GbkConstant<"读取网页..."> kMakeTemplateDownloading;
inline constexpr GbkConstant<"识别正文..."> kMakeTemplateRecognising;
inline constexpr GbkConstant<"下一个"> kFindNextCaption;
inline constexpr GbkConstant<"上一个"> kFindPreviousCaption;
inline constexpr GbkConstant<"找不到！"> kNotFoundCaption;

// Built once on first use; the window is named kTemplateMakerWindow, which is also the
// settings section of its controls.
const WindowSpec& templateMakerSpec();

}  // namespace yelian
