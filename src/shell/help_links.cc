// The help text and the maker's web pages.
#include "shell/help_links.h"

#include <optional>

#include "controls/main_window_names.h"
#include "shell/input_dialog.h"
#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

std::string buildHelpText() {
    static constexpr std::string_view kLines[] = {
        "-----------------【软件介绍】-----------------",
        "",
        "本软件实现了静态单页上下篇串联互链+自动分页列表。",
        "可以设定一个模板，然后将文件内容导入到模板中的某个位置，再插入上下篇链接、随机篇链接等，"
        "形成单页系统串联体系。简单的说，使用本软件可以简单快速创建一个自动分页的静态HTML的自成体系"
        "的单页型网站。",
        "-----------------【疑点说明】-----------------",
        "视频教程：https://www.example.com/yelian/video.html",
        "生成案例：https://www.example.com/yelian/sample/",
        "【标题来源】当设置为取网页标题且取出为空时，将默认取文件名为标题。",
        "【文件保存扩展名】就是生成的单页文件使用的扩展名，可以输入txt或htm，不打勾的话自动使用导入"
        "的"
        "文件的扩展名",
        "【生成文章列表页】启用则生成列表页，列表页样式请到“列表页设置”。右边编辑框就是每个列表页多"
        "少"
        "条文章链接",
        "【列表页设置】全局代码头、分页个体代码，可引用#页号#"
        "来代表列表页的分页号；文章链接个体代码，"
        "可引用#链接#、#标题#来代表本列表页中的链接和标题。",
        "导入的文件通常有 2 种：",
        "（一）是纯文章TXT文本文件（包括文章内的html标签）",
        "（二）是一个HTML网页文件（有网页头、文章主体、网页尾等代码段）",
        "第一种文本文件，文章的标题通常是该文件的文件名，也可能是文件内容的首行",
        "第二种网页文件，文章的标题通常是该文件内容中的“<title>”和“</title>”之间的字符串",
        "那么只要了解上面的常识，就可以结合实际情况设置处理参数了。",
        "1、假设你现在有一批文本文件，如果你原本就是一个网页文件，可以直接跳到第 2 步。",
        "文件内容为文章主体，文件名为文章标题",
        "设置标题来源：文件名",
        "设置模板：内置【模板2】",
        "替换标题和截取中间内容看需要设置。",
        "开始“选择文件导入”或“选择目录导入”处理。",
        "2、上一步处理后生成的文件就是一个网页代码文件，文章标题和文章内容都以网页代码的形式放在文"
        "件"
        "内容里了。",
        "一般网页文件名都要求英文或数字文件名，但你的网页文件名可能是中文。如果你的网页文件本来就是"
        "英文"
        "或数字，或者允许中文，可以忽略此步。",
        "否则请先用批量改名工具把这些文件改成英文或数字编号的文件名，再进行第 3 步。",
        "3、将上面 2 步处理好的文件导入",
        "设置标题来源：<title>网页标题</title>",
        "设置模板：内置【模板1】或自由引用",
        "设置截取中间位置：打勾，并在左边内容里输入“<body>”，右边内容输入“</"
        "body>”，且打勾“截取为空时"
        "返回原文”。",
        "设置指定文件扩展名为“htm”，开始“选择文件导入”或“选择目录导入”处理。",
    };
    std::string text = utf8ToGbk(kLines[0]);
    for (std::size_t i = 1; i < std::size(kLines); ++i) text += "\r\n" + utf8ToGbk(kLines[i]);
    return text;
}

}  // namespace

const std::string& helpText() {
    static const std::string text = buildHelpText();
    return text;
}

void showHelp(Application& app) {
    showTextDialog(app, helpText(), std::nullopt, "疑点说明"_gbk, kMainWindow, false);
}

void openExternal(Application& app, std::string_view address) {
    app.desktop().openUrl(address);
}

std::string_view contactPageAddress() {
    return "https://www.example.com/yelian/contact.html";
}

std::string_view homePageAddress() {
    return "https://www.example.com/yelian/";
}

}  // namespace yelian
