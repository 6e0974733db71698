// Titles, links and bodies of article files.
#include "engine/article_reader.h"

#include <utility>

#include "controls/control_ops.h"
#include "controls/main_window_names.h"
#include "support/regex_object.h"
#include "support/text_routines.h"
#include "support/text_search.h"

namespace yelian {
namespace {

using namespace yelian::literals;

constexpr int kTitleFromFileName = 0;
constexpr int kTitleFromFirstLine = 2;
constexpr int kMaxTitleChars = 200;

bool endsLine(char c) {
    return c == '\n' || c == '\0' || c == '\x1a';
}

// The first line that is not empty; a CR right before its LF is not part of it.
std::string_view firstNonEmptyLine(std::string_view content) {
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = start;
        while (end < content.size() && !endsLine(content[end])) end += charLengthAt(content, end);
        std::string_view line = content.substr(start, end - start);
        if (end < content.size() && content[end] == '\n' && !line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!line.empty()) return line;
        start = end + 1;
    }
    return {};
}

std::string titleOf(const Controls& controls, std::string_view path, std::string& content) {
    switch (controls.selectedIndex(kMainWindow, kTitleSourceCombo)) {
        case kTitleFromFileName:
            return baseNameOf(path);
        case kTitleFromFirstLine: {
            FirstLineResult first = firstLineTitle(
                std::move(content), controls.checked(kMainWindow, kDropFirstLineCheck));
            content = std::move(first.content);
            return std::move(first.title);
        }
        default: {
            std::string title = textBetween(content, "<title>", "</title>");
            return title.empty() ? baseNameOf(path) : title;
        }
    }
}

std::string linkOf(const Controls& controls, std::string_view path) {
    std::string link = fileNameOf(path);
    if (!controls.checked(kMainWindow, kExtensionCheck)) return link;
    return baseNameOf(link) + "." + controls.text(kMainWindow, kExtensionEdit);
}

}  // namespace

TextEncoding inputEncodingOf(const Controls& controls) {
    const int index = controls.selectedIndex(kMainWindow, kInputEncodingCombo);
    if (index < 0 || index > static_cast<int>(TextEncoding::Big5Hkscs)) return TextEncoding::Auto;
    return static_cast<TextEncoding>(index);
}

ArticleEntry readArticle(const Controls& controls, RegexObject& titlePattern,
                         std::string_view path) {
    return articleFromText(controls, titlePattern, path,
                           readTextFile(path, inputEncodingOf(controls)));
}

ArticleEntry articleFromText(const Controls& controls, RegexObject& titlePattern,
                             std::string_view path, TextReadResult read) {
    ArticleEntry entry;
    entry.sourcePath = std::string(path);
    entry.content = std::move(read.text);
    entry.encoding = read.encoding;
    if (!read.readable) entry.problem = read.problem.empty() ? "文件无法读取"_gbk : read.problem;
    entry.title = titleOf(controls, path, entry.content);
    entry.link = linkOf(controls, path);
    if (controls.checked(kMainWindow, kReplaceTitleCheck)) {
        entry.title = replaceTitle(controls, titlePattern, entry.title);
    }
    return entry;
}

FirstLineResult firstLineTitle(std::string content, bool removeLine) {
    FirstLineResult result;
    result.title = leftChars(firstNonEmptyLine(content), kMaxTitleChars);
    // An empty title still takes its CR LF: a content of line breaks only loses the first one.
    if (removeLine) {
        const std::string line = result.title + "\r\n";
        const std::size_t at = findText(content, line, 0, false);
        if (at != kNotFound) content.erase(at, line.size());
    }
    result.content = std::move(content);
    return result;
}

std::string replaceTitle(const Controls& controls, RegexObject& titlePattern,
                         std::string_view title) {
    const std::string replacement = controls.text(kMainWindow, kTitleReplacementEdit);
    if (!controls.checked(kMainWindow, kUseRegexCheck)) {
        return multiReplace(title, controls.text(kMainWindow, kTitlePatternEdit), replacement);
    }
    std::string replaced = titlePattern.replace(title, replacement);
    // A failed search gives empty text; losing the title would be worse than not replacing.
    if (!titlePattern.errorText().empty()) return std::string(title);
    return replaced;
}

std::string cutContent(const Controls& controls, std::string content) {
    if (!controls.checked(kMainWindow, kCutContentCheck)) return content;
    std::string cut = textBetween(content, controls.text(kMainWindow, kCutHeadEdit),
                                  controls.text(kMainWindow, kCutTailEdit));
    if (cut.empty() && controls.checked(kMainWindow, kCutFallbackCheck)) return content;
    return cut;
}

}  // namespace yelian
