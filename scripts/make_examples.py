#!/usr/bin/env python3
"""Writes the sample articles and their settings file from the UTF-8 sources.

examples/sources/ holds every article in UTF-8 (LF line ends). This script writes each one
into examples/articles/ in the encoding listed below, with CR LF line ends as the desktop
program's users have them, and writes examples/settings.ini with its side files in
examples/inibin/. The output bytes are committed, so run it again only after changing a
source or a setting; it writes the same bytes every time.

Usage: scripts/make_examples.py
"""

import gzip
import pathlib
import shutil

ROOT = pathlib.Path(__file__).resolve().parent.parent
SOURCES = ROOT / "examples" / "sources"
ARTICLES = ROOT / "examples" / "articles"
SETTINGS = ROOT / "examples" / "settings.ini"
SIDE_FILES = ROOT / "examples" / "inibin"

# Article number -> encoding. "utf-8-sig" writes the UTF-8 mark, "utf-16le" and "utf-16be"
# get their mark put in front explicitly, "gbk+gzip" is GBK compressed with gzip. Big5
# sources are written in traditional characters and declare charset=Big5, the only way a
# Big5 page is recognised without a chosen input encoding.
ENCODINGS = {
    1: "gbk", 2: "gbk", 3: "utf-8", 4: "utf-8-sig", 5: "utf-8-sig", 6: "utf-8",
    7: "utf-16le", 8: "utf-16le", 9: "utf-16be", 10: "utf-16be", 11: "big5", 12: "big5",
    13: "gbk+gzip", 14: "gbk", 15: "gbk", 16: "utf-8", 17: "utf-8", 18: "gbk",
    19: "utf-8-sig", 20: "utf-8-sig", 21: "gbk", 22: "gbk", 23: "utf-8", 24: "utf-16le",
}

MARKS = {"utf-16le": b"\xff\xfe", "utf-16be": b"\xfe\xff"}


def encode_article(text, encoding):
    text = text.replace("\n", "\r\n")
    if encoding == "gbk+gzip":
        # mtime 0 and no file name in the header keep the bytes the same on every run.
        return gzip.compress(text.encode("gbk"), compresslevel=9, mtime=0)
    # errors="strict": a character the encoding lacks stops the script instead of turning
    # into a question mark.
    return MARKS.get(encoding, b"") + text.encode(encoding, errors="strict")


# The template of the sample site: the program's first sample template, with a style that
# keeps the line breaks of plain-text articles, a home link to the first list page, and
# without the empty embedded frame.
TEMPLATE = """<html>
<head>
<meta http-equiv="Content-Type" content="text/html" />
<meta name="description" content="#描述#" />
<meta name="keywords" content="#关键词#" />
<title>#本篇标题#</title>
<style>body{max-width:44em;margin:1em auto;padding:0 1em;line-height:1.8}.article{white-space:pre-line}.article p{margin:0}</style>
</head>
<body>
<div><h3><a href="index.htm">返回首页</a> - <a href="#本篇链接#">#本篇标题#</a></h3></div>
<div class="article"><!--文章开始-->#导入的文件内容#<!--文章结束--></div>
<hr>
<b>上一篇：</b><a href="#上一篇链接#">#上一篇标题#</a><br>
<b>下一篇：</b><a href="#下一篇链接#">#下一篇标题#</a><br>
<hr>
<h3>更多文章：</h3>
<a href="#随机篇链接#">#随机篇标题#</a><br>
<a href="#随机篇链接#">#随机篇标题#</a><br>
<a href="#随机篇链接#">#随机篇标题#</a><br>
<a href="#随机篇链接#">#随机篇标题#</a><br>
<a href="#随机篇链接#">#随机篇标题#</a><br>
</body>
</html>"""

LIST_HEAD = """<html>
<head>
<meta http-equiv="Content-Type" content="text/html" />
<title>生活随笔 - 文章列表(#页号#)</title>
<style>body{max-width:44em;margin:1em auto;padding:0 1em;line-height:1.8}</style>
</head>
<body>
<h2>生活随笔</h2>
"""

KEYWORDS = "生活\n随笔\n家常\n四季\n美食\n邻里\n回忆\n城市"

# Key lines of section "主界面", in the store's own coding: check boxes 真/假, combo boxes
# their item index, edit boxes their text.
SETTINGS_KEYS = [
    ("模板序号", "0"),
    ("选择框按顺序", "真"),
    ("编辑框目录过滤", "*.htm|*.txt"),
    ("组合框输入编码", "0"),
    ("组合框输出编码", "2"),
    ("组合框标题来源", "1"),
    ("选择框替换标题", "真"),
    ("选择框使用正则", "真"),
    ("编辑框匹配式", "^[0-9]+-"),
    ("编辑框替换式", ""),
    ("选择框扩展名", "真"),
    ("编辑框扩展名", "htm"),
    ("选择框链接目录形式", "假"),
    ("选择框截取中间内容", "真"),
    ("编辑框左边内容", "<body>"),
    ("编辑框右边内容", "</body>"),
    ("选择框截取为空时返回原文", "真"),
    ("选择框列表页", "真"),
    ("编辑框分页", "9"),
    ("编辑框描述字数1", "60"),
    ("编辑框描述字数2", "120"),
    ("编辑框关键词数1", "3"),
    ("编辑框关键词数2", "5"),
    ("选择框启用插词", "假"),
]

# Texts the store keeps in side files "inibin/主界面-<key>.ibn", as exact bytes.
SIDE_TEXTS = {
    "编辑框模板1": TEMPLATE,
    "编辑框关键词": KEYWORDS,
    "编辑框头": LIST_HEAD,
}


def crlf_gbk(text):
    return text.replace("\n", "\r\n").encode("gbk", errors="strict")


def write_articles():
    if ARTICLES.exists():
        shutil.rmtree(ARTICLES)
    ARTICLES.mkdir(parents=True)
    sources = sorted(SOURCES.iterdir())
    numbers = sorted(int(source.name.split("-", 1)[0]) for source in sources)
    if numbers != sorted(ENCODINGS):
        raise SystemExit(f"sources {numbers} do not match the encoding table")
    for source in sources:
        encoding = ENCODINGS[int(source.name.split("-", 1)[0])]
        data = encode_article(source.read_text(encoding="utf-8"), encoding)
        (ARTICLES / source.name).write_bytes(data)
        print(f"{source.name}: {encoding}, {len(data)} bytes")


def write_settings():
    lines = ["[主界面]"] + [f"{key}={value}" for key, value in SETTINGS_KEYS]
    SETTINGS.write_bytes("\r\n".join(lines).encode("gbk", errors="strict"))
    if SIDE_FILES.exists():
        shutil.rmtree(SIDE_FILES)
    SIDE_FILES.mkdir()
    for key, text in SIDE_TEXTS.items():
        (SIDE_FILES / f"主界面-{key}.ibn").write_bytes(crlf_gbk(text))
    print(f"{SETTINGS.relative_to(ROOT)} and {len(SIDE_TEXTS)} side files")


if __name__ == "__main__":
    write_articles()
    write_settings()
