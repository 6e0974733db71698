#include "support/markup_scanner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// Every listed element, raw, in list order.
std::vector<std::string> listed(const MarkupScanner& scanner) {
    std::vector<std::string> elements;
    for (int i = 1; i <= scanner.elementCount(); ++i) elements.push_back(scanner.element(i, true));
    return elements;
}

std::vector<std::string> find(std::string_view document, std::string_view tags,
                              const ElementFilter& filter = {}) {
    MarkupScanner scanner;
    scanner.findElements(document, tags, {}, {}, filter);
    return listed(scanner);
}

ElementSearch single(int occurrence) {
    ElementSearch search;
    search.occurrence = occurrence;
    return search;
}

TEST(MarkupScannerElements, StructureCases) {
    struct Case {
        std::string document;
        std::string tag;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        // Nested elements of one name come in the order of their start tags.
        {"<div><div>a</div>b</div>", "div", {"<div><div>a</div>b</div>", "<div>a</div>"}},
        {"<div>1</div><div><div><div>2</div></div>3</div>",
         "div",
         {"<div>1</div>", "<div><div><div>2</div></div>3</div>", "<div><div>2</div></div>",
          "<div>2</div>"}},
        // "<b" is not taken at "<br>" or "<body>", but is at "<b-x>" (which never closes,
        // because its "</b>" balances the nested "<b>").
        {"<body><br><b-x>y</b-x><b>z</b></body>", "b", {"<b-x>", "<b>z</b>"}},
        {"<b1>x</b1><b>y</b>", "b", {"<b>y</b>"}},
        // Self-closing, unclosed and end-tag-only elements.
        {"<p><img src=x/>t<img src=y>", "img", {"<img src=x/>", "<img src=y>"}},
        {"<p>a<p>b</p>", "p", {"<p>", "<p>b</p>"}},
        {"<p>a", "p", {"<p>"}},
        {"</div><div>a</div></div>", "div", {"<div>a</div>"}},
        {"<div><div>a</div>", "div", {"<div>", "<div>a</div>"}},
        // Upper case in the page is found by a lower-case search and kept as it stands.
        {"<DIV Class=\"A\">x</Div>", "div", {"<DIV Class=\"A\">x</Div>"}},
        {"<div>x</div>", "DIV", {"<div>x</div>"}},
        // A start tag without ">" ends the search, also at the very end of the page.
        {"<div>a</div><div", "div", {"<div>a</div>"}},
        {"<div class=\"a\"", "div", {}},
        {"<div", "div", {}},
        {"", "div", {}},
        // An end tag holding the needle is not a start tag.
        {"<a>x</a>", "a", {"<a>x</a>"}},
    };
    for (const Case& c : cases) {
        EXPECT_THAT(find(c.document, c.tag), ElementsAreArray(c.expected)) << c.document;
    }
}

TEST(MarkupScannerElements, TagsAreSearchedNameAfterName) {
    const std::string page = "<div>1<p>a</p></div><p>b</p>";
    EXPECT_THAT(find(page, "p|div"), ElementsAre("<p>a</p>", "<p>b</p>", "<div>1<p>a</p></div>"));
    EXPECT_THAT(find(page, "p||p"), ElementsAre("<p>a</p>", "<p>b</p>", "<p>a</p>", "<p>b</p>"));
}

TEST(MarkupScannerElements, CaseKeptSearch) {
    ElementFilter keepCase;
    keepCase.ignoreCase = false;
    EXPECT_THAT(find("<DIV>x</DIV><div>y</div>", "div", keepCase), ElementsAre("<div>y</div>"));
    EXPECT_THAT(find("<DIV>x</DIV><div>y</div>", "DIV", keepCase), ElementsAre("<DIV>x</DIV>"));
}

TEST(MarkupScannerElements, AnyTagSearch) {
    const std::string page = "<!DOCTYPE html><html><p class=a>x</p><br/><P\r\nid=b>y</P></html>";
    EXPECT_THAT(find(page, ""), ElementsAre("<!DOCTYPE html>", page.substr(15), "<p class=a>x</p>",
                                            "<br/>", "<P\r\nid=b>y</P>"));
    ElementFilter letters;
    letters.letterStart = true;
    EXPECT_THAT(find(page, "", letters),
                ElementsAre(page.substr(15), "<p class=a>x</p>", "<br/>", "<P\r\nid=b>y</P>"));

    // A tag skipped for its first byte does not use up an occurrence number.
    MarkupScanner scanner;
    ElementSearch first = single(1);
    first.filter.letterStart = true;
    EXPECT_EQ(scanner.searchElements(page, "", {}, {}, first), page.substr(15));
}

TEST(MarkupScannerElements, InnerMode) {
    const std::string page = "<div id=a><div>x</div>y</div><div>";
    ElementFilter inner;
    inner.inner = true;
    EXPECT_THAT(find(page, "div", inner), ElementsAre("<div>x</div>y", "x", ""));

    MarkupScanner scanner;
    ElementSearch search = single(0);
    search.filter.inner = true;
    EXPECT_EQ(scanner.searchElements(page, "div", {}, {}, search), "<div>x</div>y");
    search.occurrence = 3;
    EXPECT_EQ(scanner.searchElements(page, "div", {}, {}, search), "");
}

TEST(MarkupScannerElements, AttributeFilters) {
    const std::string page =
        "<div class=\"main\" id='x'>1</div><div class=main>2</div>"
        "<div class=\"Main box\">3</div><div id=y>4</div><div title=\"t\">5</div>";
    struct Case {
        std::vector<std::string> names;
        std::vector<std::string> values;
        bool containsMode;
        bool allMode;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {{"class"}, {"main"}, false, false, {"1", "2"}},
        {{"class"}, {"main"}, true, false, {"1", "2", "3"}},
        {{"class"}, {"MAIN"}, false, false, {}},
        {{"class", "id"}, {"main", "x"}, false, true, {"1"}},
        {{"class", "id"}, {"main", "y"}, false, false, {"1", "2", "4"}},
        // An empty wanted value asks only for the attribute; missing values count as empty.
        {{"id"}, {}, false, false, {"1", "4"}},
        {{"class", "id"}, {"main"}, false, true, {"1"}},
        {{"title", "id"}, {"", ""}, false, false, {"1", "4", "5"}},
    };
    for (const Case& c : cases) {
        MarkupScanner scanner;
        ElementSearch search = single(-1);
        search.filter.containsMode = c.containsMode;
        search.filter.allMode = c.allMode;
        scanner.searchElements(page, "div", c.names, c.values, search);
        std::vector<std::string> texts;
        for (const std::string& markup : listed(scanner)) {
            texts.push_back(markup.substr(markup.find('>') + 1, 1));
        }
        EXPECT_THAT(texts, ElementsAreArray(c.expected))
            << c.names.front() << " contains " << c.containsMode << " all " << c.allMode;
    }
}

TEST(MarkupScannerElements, StartTagFilterAndGbkValues) {
    const std::string page = "<p class=\"正文\" data-x=1>a</p><p class=\"正文 b\">b</p>"_gbk;
    ElementSearch search = single(-1);
    search.filter.startTagFilter = "data-x|zz";
    MarkupScanner scanner;
    EXPECT_EQ(scanner.searchElements(page, "p", {}, {}, search), "1");
    search.filter.allMode = true;
    EXPECT_EQ(scanner.searchElements(page, "p", {}, {}, search), "0");

    search = single(-1);
    search.filter.containsMode = true;
    EXPECT_EQ(scanner.searchElements(page, "p", {"class"}, {"正文"_gbk}, search), "2");
}

TEST(MarkupScannerElements, SingleSearchKeepsTheListAndItsDocument) {
    MarkupScanner scanner;
    ASSERT_EQ(scanner.findElements("<b>1</b><b>2</b>", "b"), 2);
    EXPECT_EQ(scanner.searchElements("<i>x</i><b c = 'd'>y</b>", "b", {}, {}), "<b c='d'>y</b>");
    EXPECT_EQ(scanner.lastElementText(), "<b c='d'>y</b>");
    EXPECT_THAT(listed(scanner), ElementsAre("<b>1</b>", "<b>2</b>"));

    EXPECT_EQ(scanner.searchElements("<b>1</b><b>2</b>", "b", {}, {}, single(2)), "<b>2</b>");
    EXPECT_EQ(scanner.searchElements("<b>1</b><b>2</b>", "b", {}, {}, single(3)), "");
    EXPECT_EQ(scanner.lastElementText(), "");
}

TEST(MarkupScannerElements, ElementIndexesAndStaleLists) {
    MarkupScanner scanner;
    scanner.findElements("<p a = 1>x</p><p>y</p>", "p");
    EXPECT_EQ(scanner.element(0), "");
    EXPECT_EQ(scanner.element(3), "");
    EXPECT_EQ(scanner.element(1), "<p a=1>x</p>");
    EXPECT_EQ(scanner.element(1, true), "<p a = 1>x</p>");

    // A list appended over a shorter document, or kept after clear, never cuts out of range.
    ElementSearch append = single(-1);
    append.append = true;
    EXPECT_EQ(scanner.searchElements("<p>z</p>", "p", {}, {}, append), "3");
    EXPECT_EQ(scanner.element(2), "");
    EXPECT_EQ(scanner.element(3), "<p>z</p>");
    scanner.clear();
    EXPECT_EQ(scanner.element(3), "");
}

TEST(MarkupScannerElements, EventHookRunsPerStartTag) {
    int calls = 0;
    MarkupScanner scanner([&calls] { ++calls; });
    scanner.findElements("<p>1</p><p>2</p><p>3</p>", "p");
    EXPECT_GE(calls, 3);
}

// The end tag of every listed element must be the first candidate with as many end tags as
// nested start tags before it; checked against a slow count over random markup with stray,
// unclosed, self-closing and look-alike tags.
TEST(MarkupScannerElements, EndTagsBalanceLikeAFreshCount) {
    const std::vector<std::string> pieces = {"<div>",  "</div>", "<div/>", "<divx>", "<DIV >",
                                             "</DIV>", "x",      "<p>",    "</p>",   "<div"};
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string page;
        for (int i = 0; i < 30; ++i) page += pieces[random() % pieces.size()];
        page += ">";
        MarkupScanner scanner;
        scanner.findElements(page, "div");
        int expectedCount = 0;
        for (int at = scanner.nextTagStart("<div", 1); at != -1;
             at = scanner.nextTagStart("<div", at + 1)) {
            const std::size_t close = page.find('>', static_cast<std::size_t>(at));
            ++expectedCount;
            const std::string startTag = page.substr(at - 1, close - (at - 1) + 1);
            std::string expected = startTag;
            if (!startTag.ends_with("/>")) {
                for (std::size_t end = page.find("</", static_cast<std::size_t>(at));
                     end != std::string::npos; end = page.find("</", end + 1)) {
                    const bool isEnd =
                        page.compare(end, 6, "</div>") == 0 || page.compare(end, 6, "</DIV>") == 0;
                    if (isEnd && scanner.balanceCount("<div", "</div>", at,
                                                      static_cast<int>(end) + 1) == 0) {
                        expected = page.substr(at - 1, end + 6 - (at - 1));
                        break;
                    }
                }
            }
            ASSERT_EQ(scanner.element(expectedCount, true), expected) << page;
        }
        ASSERT_EQ(scanner.elementCount(), expectedCount) << page;
    }
}

TEST(MarkupScannerAttribute, Read) {
    MarkupScanner scanner;
    struct Case {
        std::string markup;
        std::string name;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"<a href='x'>", "href", "x"},
        {"<a href = 'x'>", "href", ""},
        {"<a HREF=\"x y\">", "href", "x y"},
        {"<a href=x title=y>", "href", "x"},
        {"<a href=x>", "href", "x"},
        {"<a title=\" x　\">"_gbk, "title", "x"},
        {"<meta data-content=\"abc\" content=\"\">", "content", ""},
        {"<a\r\nhref=\"x\">", "href", "x"},
        {"href=\"x\"", "href", "x"},
        {"<a name=x>", "href", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scanner.attribute(c.markup, c.name), c.expected) << c.markup;
    }
}

TEST(MarkupScannerAttribute, Write) {
    MarkupScanner scanner;
    struct Case {
        std::string markup;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"<meta name=\"description\" content=\"old\">",
         "<meta name=\"description\" content=\"new\">"},
        {"<meta name=\"description\">", "<meta name=\"description\" content=\"new\">"},
        {"<meta name=\"description\" />", "<meta name=\"description\"  content=\"new\"/>"},
        {"<meta name=description/>", "<meta name=description content=\"new\"/>"},
        {"<meta name=\"description\"/>", "<meta name=\"description\" content=\"new\"/>"},
        {"<meta title=\"a>b\" name=d/>", "<meta title=\"a>b\" name=d content=\"new\"/>"},
        {"<meta CONTENT=\"\" name=d>", "<meta content=\"new\" name=d>"},
        {"<meta content='a' name=d>", "<meta content='new' name=d>"},
        {"<meta content=a name=d>", "<meta content=new name=d>"},
        {"<meta data-content=\"abc\" content=\"\">", "<meta data-content=\"abc\" content=\"new\">"},
        {"no tag", "no tag"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scanner.attribute(c.markup, "content", "new", true), c.expected) << c.markup;
    }
}

TEST(MarkupScannerAttribute, TightenEquals) {
    MarkupScanner scanner;
    EXPECT_EQ(scanner.tightenEquals("<a href = \"x\"\r\n title\t=y>"),
              "<a href=\"x\"\r\n title=y>");
    EXPECT_EQ(scanner.tightenEquals("a　=　b"_gbk), "a=b");
    EXPECT_EQ(scanner.tightenEquals("a" + std::string(12, ' ') + "=b"), "a  =b");
    EXPECT_EQ(scanner.tightenEquals("no equals  here"), "no equals  here");
}

TEST(MarkupScannerSpecs, FindsEachSelector) {
    const std::string page =
        "<div class=\"a b\" id=m>1</div><div class=a>2</div><p id=m>3</p><span>4</span>";
    MarkupScanner scanner;
    EXPECT_EQ(scanner.findBySpecs(page, "div class=a|p id=m"),
              "<div class=a>2</div>\r\n<p id=m>3</p>");
    EXPECT_EQ(scanner.findBySpecs(page, "div class=\"a b\" id=m"),
              "<div class=\"a b\" id=m>1</div>");
    EXPECT_EQ(scanner.findBySpecs(page, "div id|span", true),
              "<div class=\"a b\" id=m>1</div>\r\n<span>4</span>");
    EXPECT_EQ(scanner.findBySpecs(page, "ul||  "), "");
}

TEST(MatchAlternatives, AnyAndAllModes) {
    struct Case {
        std::string text;
        std::string alternatives;
        bool anyMode;
        bool matched;
        int position;
    };
    const std::vector<Case> cases = {
        {"xaxb", "a||b", false, true, 4}, {"xa", "a||b", false, false, -1},
        {"xa", "a||b", true, true, 2},    {"xA", "b|a", true, true, 2},
        {"x", "||", false, false, -1},    {"x", "", true, false, -1},
        {"x", "y|z", true, false, -1},
    };
    for (const Case& c : cases) {
        const AlternativesMatch result = matchAlternatives(c.text, c.alternatives, c.anyMode);
        EXPECT_EQ(result.matched, c.matched) << c.text << " " << c.alternatives;
        EXPECT_EQ(result.position, c.position) << c.text << " " << c.alternatives;
    }
}

TEST(MatchAlternatives, Options) {
    AlternativesOptions options;
    options.stopAtFirstMatch = true;
    AlternativesMatch result = matchAlternatives("abc", "x|b|c", false, options);
    EXPECT_FALSE(result.matched);
    result = matchAlternatives("abc", "b|x", false, options);
    EXPECT_TRUE(result.matched);
    EXPECT_EQ(result.alternative, "b");

    options = {};
    options.separator = "[fg]";
    result = matchAlternatives("charset=UTF-8", "gbk[fg]charset=utf-8", true, options);
    EXPECT_EQ(result.alternative, "charset=utf-8");

    const TraditionalChinese traditional;
    options = {};
    EXPECT_FALSE(matchAlternatives("澳門"_gbk, "门|x"_gbk, true, options).matched);
    options.traditional = &traditional;
    result = matchAlternatives("澳門"_gbk, "门|x"_gbk, true, options);
    EXPECT_TRUE(result.matched);
    EXPECT_EQ(result.position, 3);
    EXPECT_EQ(result.alternative, "门"_gbk);

    options = {};
    options.wholeText = true;
    EXPECT_TRUE(matchAlternatives("Abc", "x|abc", true, options).matched);
    EXPECT_FALSE(matchAlternatives("Abcd", "x|abc", true, options).matched);
    options.ignoreCase = false;
    EXPECT_FALSE(matchAlternatives("Abc", "x|abc", true, options).matched);
    options.wholeText = false;
    EXPECT_FALSE(matchAlternatives("ABC", "b", true, options).matched);
}

}  // namespace
}  // namespace yelian
