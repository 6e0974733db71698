#include "engine/article_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "support/gbk_text.h"
#include "support/regex_object.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;

class ArticleReaderTest : public ::testing::Test {
  protected:
    // The run compiles the title pattern once; tests do the same after setting it.
    void compilePattern() {
        ASSERT_TRUE(pattern_.create(controls_.text(kMainWindow, kTitlePatternEdit)));
    }
    ArticleEntry read(std::string_view name, std::string_view bytes) {
        return readArticle(controls_, pattern_, dir_.write(name, bytes));
    }

    RecordControls controls_{mainWindowSpec()};
    RegexObject pattern_;
    testing::TempDir dir_;
};

TEST_F(ArticleReaderTest, TitleBySourceAndReplacementMode) {
    struct Case {
        const char* what;
        int source;
        bool replace;
        bool useRegex;
        std::string pattern;
        std::string replacement;
        std::string fileName;
        std::string bytes;
        std::string expectedTitle;
    };
    const std::string page = "<html><TITLE>新闻标题_某某网</Title><body>x</body>"_gbk;
    const std::vector<Case> cases = {
        {"file name", 0, false, true, "", "", "a_b-c.htm", page, "a_b-c"},
        {"file name, regex", 0, true, true, "(.+)[_-].*", "$1", "a_b-c.htm", page, "a_b"},
        {"file name, plain", 0, true, false, "_b|-c", "", "a_b-c.htm", page, "a"},
        {"page title", 1, false, true, "", "", "p.htm", page, "新闻标题_某某网"_gbk},
        {"page title, regex", 1, true, true, "(.+)[_-].*", "$1", "p.htm", page, "新闻标题"_gbk},
        {"page title, plain", 1, true, false, "_某某网|-某某网"_gbk, "", "p.htm",
         "<title>甲_某某网-某某网</title>"_gbk, "甲"_gbk},
        {"page title missing", 1, false, true, "", "", "plain.txt", "text", "plain"},
        {"page title empty", 1, false, true, "", "", "e.htm", "<title></title>", "e"},
        {"first line", 2, false, true, "", "", "f.txt", "\r\n\r\nHello\r\nrest", "Hello"},
        {"first line, regex", 2, true, true, "(.+)[_-].*", "$1", "f.txt", "x_y\r\n", "x"},
        {"first line, plain", 2, true, false, "l", "L", "f.txt", "hello\n", "heLLo"},
        {"first line of nothing", 2, false, true, "", "", "n.txt", "", ""},
        {"blank line counts", 2, false, true, "", "", "b.txt", "\n  \nx", "  "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        controls_.setSelectedIndex(kMainWindow, kTitleSourceCombo, c.source);
        controls_.setChecked(kMainWindow, kReplaceTitleCheck, c.replace);
        controls_.setChecked(kMainWindow, kUseRegexCheck, c.useRegex);
        controls_.setText(kMainWindow, kTitlePatternEdit, c.pattern);
        controls_.setText(kMainWindow, kTitleReplacementEdit, c.replacement);
        if (c.useRegex && c.replace) compilePattern();
        EXPECT_EQ(read(c.fileName, c.bytes).title, c.expectedTitle);
    }
}

TEST_F(ArticleReaderTest, UnreadableFileFallsBackToTheFileName) {
    const ArticleEntry entry = readArticle(controls_, pattern_, dir_.file("missing.htm"));
    EXPECT_EQ(entry.title, "missing");
    EXPECT_EQ(entry.content, "");
    EXPECT_EQ(entry.encoding, TextEncoding::Auto);
    EXPECT_EQ(entry.link, "missing.htm");
}

TEST_F(ArticleReaderTest, PatternThatDidNotCompileLeavesTheTitle) {
    controls_.setChecked(kMainWindow, kReplaceTitleCheck, true);
    controls_.setText(kMainWindow, kTitlePatternEdit, "(abc");
    EXPECT_FALSE(pattern_.create("(abc"));
    EXPECT_EQ(read("a.htm", "<title>t_x</title>").title, "t_x");
}

TEST_F(ArticleReaderTest, FirstLineRemovalNeedsCrLf) {
    EXPECT_EQ(firstLineTitle("\r\n\r\nHello\r\nbody Hello\r\n", true).content,
              "\r\n\r\nbody Hello\r\n");
    EXPECT_EQ(firstLineTitle("Hello\nbody", true).content, "Hello\nbody");
    EXPECT_EQ(firstLineTitle("Hello\r\nbody", false).content, "Hello\r\nbody");
    // An empty title takes its CR LF too: the first one of a content of line breaks only.
    const FirstLineResult breaks = firstLineTitle("\r\n\r\n\r\n", true);
    EXPECT_EQ(breaks.title, "");
    EXPECT_EQ(breaks.content, "\r\n\r\n");
    FirstLineResult stopped = firstLineTitle(std::string("\0\x1a", 2) + "T\x1a" + "x", true);
    EXPECT_EQ(stopped.title, "T");

    // A line longer than 200 characters gives a cut title and stays in the content.
    std::string longLine = "首"_gbk;
    for (int i = 0; i < 200; ++i) longLine += "字"_gbk;
    const FirstLineResult cut = firstLineTitle(longLine + "\r\n", true);
    EXPECT_EQ(cut.title.size(), 400u);
    EXPECT_EQ(cut.content, longLine + "\r\n");
}

TEST_F(ArticleReaderTest, LinkKeepsOrReplacesTheExtension) {
    EXPECT_EQ(read("a.htm", "x").link, "a.htm");
    controls_.setChecked(kMainWindow, kExtensionCheck, true);
    controls_.setText(kMainWindow, kExtensionEdit, "txt");
    EXPECT_EQ(read("a.htm", "x").link, "a.txt");
    controls_.setText(kMainWindow, kExtensionEdit, "");
    EXPECT_EQ(read("a.htm", "x").link, "a.");
}

TEST_F(ArticleReaderTest, CutBetweenMarkersWithFallback) {
    struct Case {
        bool cut;
        bool fallback;
        std::string left;
        std::string right;
        std::string content;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {true, true, "<body>", "</body>", "<BODY>in</Body>", "in"},
        {true, true, "<body>", "</body>", "plain text", "plain text"},
        {true, false, "<body>", "</body>", "plain text", ""},
        {false, false, "<body>", "</body>", "<body>in</body>", "<body>in</body>"},
        {true, true, "", "</body>", "a</body>b", "a"},
        {true, true, "<body>", "", "a<body>b", "b"},
    };
    for (const Case& c : cases) {
        controls_.setChecked(kMainWindow, kCutContentCheck, c.cut);
        controls_.setChecked(kMainWindow, kCutFallbackCheck, c.fallback);
        controls_.setText(kMainWindow, kCutHeadEdit, c.left);
        controls_.setText(kMainWindow, kCutTailEdit, c.right);
        EXPECT_EQ(cutContent(controls_, c.content), c.expected) << c.content;
    }
}

}  // namespace
}  // namespace yelian
