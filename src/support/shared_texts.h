// The system's own texts that several layers write: the template tags (the window's tag
// buttons insert them, the template maker puts them in, a run replaces them) and the brand
// title of the system's messages. Each is written here once.
#pragma once

#include "support/gbk_text.h"

namespace yelian {

// Tags of a page template.
inline constexpr GbkConstant<"#本篇链接#"> kThisLinkTag;
inline constexpr GbkConstant<"#上一篇链接#"> kPreviousLinkTag;
inline constexpr GbkConstant<"#下一篇链接#"> kNextLinkTag;
inline constexpr GbkConstant<"#本篇标题#"> kThisTitleTag;
inline constexpr GbkConstant<"#上一篇标题#"> kPreviousTitleTag;
inline constexpr GbkConstant<"#下一篇标题#"> kNextTitleTag;
inline constexpr GbkConstant<"#随机篇标题#"> kRandomTitleTag;
inline constexpr GbkConstant<"#随机篇链接#"> kRandomLinkTag;
inline constexpr GbkConstant<"#导入的文件内容#"> kContentTag;
inline constexpr GbkConstant<"#递增#"> kCounterTag;
inline constexpr GbkConstant<"#描述#"> kDescriptionTag;
inline constexpr GbkConstant<"#关键词#"> kKeywordTag;
inline constexpr GbkConstant<"#随机汉字#"> kRandomChineseTag;
inline constexpr GbkConstant<"#随机数母#"> kRandomLettersTag;
inline constexpr GbkConstant<"#时间#"> kTimeTag;

// The title of the message boxes that carry the system's brand.
inline constexpr GbkConstant<"澜川："> kBrandTitle;

}  // namespace yelian
