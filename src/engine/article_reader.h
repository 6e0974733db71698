// What one article file gives a generation run: its title, its output link, its body and the
// encoding it was read in, derived by the options of the main window's "标题处理" group; and
// the cut of the body between two markers by the "内容处理" group. Every option is read from
// the controls at the moment of the call, so a change during a run applies to the next article.
#pragma once

#include <string>
#include <string_view>

#include "support/text_encoding.h"

namespace yelian {

class Controls;
class RegexObject;

struct ArticleEntry {
    std::string sourcePath;
    std::string title;
    // The output name as links use it: the file name, with its extension replaced when asked.
    // The folder form of a run is applied by the run, not here.
    std::string link;
    std::string content;
    // The encoding detected when reading; Auto when the file could not be read.
    TextEncoding encoding = TextEncoding::Auto;
    // Why the file could not be read (GBK); empty when it was read. Its page counts as failed.
    std::string problem;
};

// The input encoding chosen in the main window (unknown selections count as Auto).
TextEncoding inputEncodingOf(const Controls& controls);

// Reads the file at a GBK path and derives its entry. An unreadable file gives empty content.
// titlePattern is the run's compiled title expression, used when the replacement is a
// regular expression.
ArticleEntry readArticle(const Controls& controls, RegexObject& titlePattern,
                         std::string_view path);

// readArticle for a file already read, so that a run can read through a reader of its own.
ArticleEntry articleFromText(const Controls& controls, RegexObject& titlePattern,
                             std::string_view path, TextReadResult read);

struct FirstLineResult {
    std::string title;
    std::string content;
};

// The first line that is not empty, cut to 200 characters, as the title; with removeLine the
// first occurrence of that title followed by CR LF is deleted from the content.
FirstLineResult firstLineTitle(std::string content, bool removeLine);

// The title after the replacement of the "标题处理" group: a regular-expression replace of
// every match of titlePattern, or list-pair replacement of plain texts. A pattern that did
// not compile, or a search that fails, leaves the title as it is.
std::string replaceTitle(const Controls& controls, RegexObject& titlePattern,
                         std::string_view title);

// The content between the left and the right marker when cutting is on; the whole content
// when the cut is empty and the fallback is ticked.
std::string cutContent(const Controls& controls, std::string content);

}  // namespace yelian
