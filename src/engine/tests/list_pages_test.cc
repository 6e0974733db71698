#include "engine/list_pages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "support/number_text.h"
#include "testing/scripted_desktop.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using ::testing::HasSubstr;
using ::testing::Not;

class ListPagesTest : public ::testing::Test {
  protected:
    RecordControls controls{mainWindowSpec()};
    testing::ScriptedDesktop desktop;
    testing::TempDir dir;
    ListPages lists{Ui{controls, desktop}};
    MarkupScanner tags;
    std::string outputFolder = fromNativePath(dir.path() / "out") + kPathSeparator;

    void SetUp() override { controls.setChecked(kMainWindow, kListPagesCheck, true); }

    void setText(std::string_view control, std::string_view utf8) {
        controls.setText(kMainWindow, control, utf8ToGbk(utf8));
    }

    // Starts the list pages and adds articles 1..written of a job of total articles, then
    // finishes them as a run that stops after written articles does.
    void run(std::int64_t total, std::int64_t written, TextEncoding encoding = TextEncoding::Gbk) {
        lists.startListPages(outputFolder, total, tags);
        for (std::int64_t i = 1; i <= written; ++i) {
            const std::string number = integerToText(i);
            lists.addListEntry("a" + number + ".htm", "标题"_gbk + number, encoding, i, total);
        }
        lists.finishListPages(encoding);
    }

    std::filesystem::path pagePath(std::string_view utf8Name) const {
        return dir.path() / "out" / toNativePath(utf8ToGbk(utf8Name));
    }
    std::string pageUtf8(std::string_view utf8Name) const {
        return gbkToUtf8(testing::readBytes(pagePath(utf8Name)));
    }
    std::vector<std::string> writtenPages() const {
        std::vector<std::string> names;
        if (!std::filesystem::exists(dir.path() / "out")) return names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "out")) {
            names.push_back(gbkToUtf8(fromNativePath(entry.path().filename())));
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

int entriesOn(const std::string& page) {
    int count = 0;
    for (std::size_t at = page.find("<p><a href="); at != std::string::npos;
         at = page.find("<p><a href=", at + 1)) {
        ++count;
    }
    return count;
}

const std::string kThreePageBar =
    "<hr><div>页：&nbsp;<a href=\"index.htm\">1</a>&nbsp;&nbsp;<a href=\"index_2.htm\">2</a>"
    "&nbsp;&nbsp;<a href=\"index_3.htm\">3</a>&nbsp;</div>";

TEST_F(ListPagesTest, SplitsTheArticlesIntoFullPagesThatAllCarryTheSameBar) {
    setText(kArticlesPerListPageEdit, "50");
    run(120, 120);
    EXPECT_THAT(writtenPages(), ::testing::ElementsAre("index.htm", "index_2.htm", "index_3.htm"));
    EXPECT_EQ(gbkToUtf8(lists.state().bar), kThreePageBar);
    const std::string first = pageUtf8("index.htm");
    const std::string second = pageUtf8("index_2.htm");
    const std::string third = pageUtf8("index_3.htm");
    EXPECT_EQ(entriesOn(first), 50);
    EXPECT_EQ(entriesOn(second), 50);
    EXPECT_EQ(entriesOn(third), 20);
    for (const std::string* page : {&first, &second, &third}) {
        EXPECT_THAT(*page, HasSubstr(kThreePageBar + "<!-- <h1>这是代码尾部"));
    }
    EXPECT_THAT(second, HasSubstr("<title>文章列表(2)</title>"));
    EXPECT_THAT(third, HasSubstr("<p><a href=\"a101.htm\">《标题101》</a></p>\r\n"));
    EXPECT_EQ(lists.report().pagesWritten, 3);
}

TEST_F(ListPagesTest, PagesInEveryEncodingAreTheWholePageConverted) {
    setText(kArticlesPerListPageEdit, "2");
    run(5, 5, TextEncoding::Gbk);
    const std::string gbkPage = testing::readBytes(pagePath("index_2.htm"));
    // Big5 lacks the simplified 标题 of the entries: those pages fall back to GBK.
    for (const TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::Utf16Le, TextEncoding::Utf16Be, TextEncoding::Big5,
          TextEncoding::Big5Hkscs}) {
        SCOPED_TRACE(static_cast<int>(encoding));
        run(5, 5, encoding);
        EXPECT_EQ(testing::readBytes(pagePath("index_2.htm")),
                  writeTextFile("", gbkPage, encoding).bytes);
    }
}

TEST_F(ListPagesTest, WritesAPageAsHeadEntriesBarAndTail) {
    setText(kListHeadEdit, "H#页号#|");
    setText(kListTailEdit, "|T");
    setText(kPageBarHeadEdit, "[");
    setText(kPageBarTailEdit, "]");
    setText(kPageEntryEdit, "<a href=\"p#页号#.htm\">#页号#</a>");
    setText(kArticleEntryEdit, "(#链接#,#标题#)");
    setText(kArticlesPerListPageEdit, "2");
    run(3, 3);
    EXPECT_EQ(pageUtf8("p.htm"),
              "H1|(a1.htm,标题1)(a2.htm,标题2)[<a href=\"p.htm\">1</a><a href=\"p2.htm\">2</a>]|T");
    EXPECT_EQ(pageUtf8("p2.htm"),
              "H2|(a3.htm,标题3)[<a href=\"p.htm\">1</a><a href=\"p2.htm\">2</a>]|T");
}

TEST_F(ListPagesTest, AFullLastPageIsWrittenByItsLastEntryAndNotAgain) {
    setText(kArticlesPerListPageEdit, "50");
    lists.startListPages(outputFolder, 100, tags);
    for (std::int64_t i = 1; i <= 100; ++i) {
        lists.addListEntry("a.htm", "t", TextEncoding::Gbk, i, 100);
    }
    EXPECT_EQ(lists.report().pagesWritten, 2);
    EXPECT_FALSE(lists.state().listFile.isOpen());
    lists.finishListPages(TextEncoding::Gbk);
    EXPECT_EQ(lists.report().pagesWritten, 2);
    EXPECT_THAT(writtenPages(), ::testing::ElementsAre("index.htm", "index_2.htm"));
}

TEST_F(ListPagesTest, AStoppedRunClosesItsOpenPageAndItsBarStillListsEveryPage) {
    setText(kArticlesPerListPageEdit, "50");
    run(120, 70);
    EXPECT_THAT(writtenPages(), ::testing::ElementsAre("index.htm", "index_2.htm"));
    EXPECT_EQ(entriesOn(pageUtf8("index_2.htm")), 20);
    EXPECT_THAT(pageUtf8("index_2.htm"), HasSubstr(kThreePageBar));
}

TEST_F(ListPagesTest, OneArticleGivesOnePageWrittenAtTheEnd) {
    lists.startListPages(outputFolder, 1, tags);
    lists.addListEntry("a.htm", "t", TextEncoding::Gbk, 1, 1);
    EXPECT_TRUE(writtenPages().empty());
    lists.finishListPages(TextEncoding::Gbk);
    EXPECT_THAT(writtenPages(), ::testing::ElementsAre("index.htm"));
    EXPECT_EQ(entriesOn(pageUtf8("index.htm")), 1);
}

TEST_F(ListPagesTest, WritesNothingWhenListPagesAreOff) {
    controls.setChecked(kMainWindow, kListPagesCheck, false);
    run(5, 5);
    EXPECT_TRUE(writtenPages().empty());
    EXPECT_EQ(lists.state().pageCount, 1);
}

TEST_F(ListPagesTest, WritesEachPageInTheEncodingOfTheArticleThatFilledIt) {
    setText(kArticlesPerListPageEdit, "1");
    lists.startListPages(outputFolder, 2, tags);
    lists.addListEntry("a.htm", "t", TextEncoding::Utf8, 1, 2);
    lists.addListEntry("b.htm", "t", TextEncoding::Gbk, 2, 2);
    EXPECT_TRUE(testing::readBytes(pagePath("index.htm")).starts_with("\xEF\xBB\xBF<html>"));
    EXPECT_TRUE(testing::readBytes(pagePath("index_2.htm")).starts_with("<html>"));
}

struct PerPageCase {
    const char* text;
    std::int64_t articles;
    std::int64_t perPage;
    std::int64_t pages;
};

class PerPage : public ListPagesTest, public ::testing::WithParamInterface<PerPageCase> {};

TEST_P(PerPage, ReadsTheCountAndRoundsThePagesUp) {
    setText(kArticlesPerListPageEdit, GetParam().text);
    lists.startListPages(outputFolder, GetParam().articles, tags);
    EXPECT_EQ(lists.state().perPage, GetParam().perPage);
    EXPECT_EQ(lists.state().pageCount, GetParam().pages);
    EXPECT_EQ(lists.state().listPaths.size(), static_cast<std::size_t>(GetParam().pages));
}

INSTANTIATE_TEST_SUITE_P(Counts, PerPage,
                         ::testing::Values(PerPageCase{"", 120, 50, 3},
                                           PerPageCase{"0", 100, 50, 2},
                                           PerPageCase{"-4", 1, 50, 1}, PerPageCase{"９", 10, 9, 2},
                                           PerPageCase{"9", 0, 9, 1}, PerPageCase{"10", 30, 10, 3},
                                           PerPageCase{"7", 1000, 7, 143}));

struct LabelCase {
    int kind;
    bool firstUnnumbered;
    std::vector<std::string> files;
    const char* bar;
};

class Labels : public ListPagesTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(Labels, NameThePagesAndShowInTheBar) {
    controls.setSelectedIndex(kMainWindow, kPageNumberKindCombo, GetParam().kind);
    controls.setChecked(kMainWindow, kFirstPageUnnumberedCheck, GetParam().firstUnnumbered);
    setText(kPageBarHeadEdit, "");
    setText(kPageBarTailEdit, "");
    setText(kPageEntryEdit, "<a href=\"index_#页号#.htm\">#页号#</a>");
    setText(kArticlesPerListPageEdit, "1");
    run(3, 3);
    EXPECT_EQ(writtenPages(), GetParam().files);
    EXPECT_EQ(gbkToUtf8(lists.state().bar), GetParam().bar);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, Labels,
    ::testing::Values(LabelCase{0,
                                false,
                                {"index_1.htm", "index_2.htm", "index_3.htm"},
                                "<a href=\"index_1.htm\">1</a><a href=\"index_2.htm\">2</a>"
                                "<a href=\"index_3.htm\">3</a>"},
                      LabelCase{1,
                                true,
                                {"index.htm", "index_B.htm", "index_C.htm"},
                                "<a href=\"index.htm\">A</a><a href=\"index_B.htm\">B</a>"
                                "<a href=\"index_C.htm\">C</a>"},
                      LabelCase{2,
                                true,
                                {"index.htm", "index_三.htm", "index_二.htm"},
                                "<a href=\"index.htm\">一</a><a href=\"index_二.htm\">二</a>"
                                "<a href=\"index_三.htm\">三</a>"}));

struct FirstHrefCase {
    const char* href;
    const char* firstFile;
};

class FirstPageName : public ListPagesTest, public ::testing::WithParamInterface<FirstHrefCase> {};

// The label goes with the separator next to it; a label that is a whole path part or the
// whole file name stays a part of its own.
TEST_P(FirstPageName, DropsTheLabelWithItsSeparator) {
    setText(kPageEntryEdit, std::string("<a href=\"") + GetParam().href + "\">#页号#</a>");
    lists.startListPages(outputFolder, 2, tags);
    EXPECT_EQ(gbkToUtf8(lists.state().listPaths[0]),
              gbkToUtf8(outputFolder) + GetParam().firstFile);
}

INSTANTIATE_TEST_SUITE_P(Hrefs, FirstPageName,
                         ::testing::Values(FirstHrefCase{"list-#页号#.htm", "list.htm"},
                                           FirstHrefCase{"#页号#_list.htm", "list.htm"},
                                           FirstHrefCase{"#页号#-list.htm", "list.htm"},
                                           FirstHrefCase{"x/p/#页号#/i.htm", "p//i.htm"},
                                           FirstHrefCase{"#页号#.htm", ".htm"},
                                           FirstHrefCase{"page#页号#", "page1"}));

struct PathCase {
    const char* href;
    const char* path;  // below the output folder; empty: refused
};

class PagePaths : public ListPagesTest, public ::testing::WithParamInterface<PathCase> {};

TEST_P(PagePaths, KeepEveryPageInsideTheOutputFolder) {
    controls.setChecked(kMainWindow, kFirstPageUnnumberedCheck, false);
    setText(kPageEntryEdit, std::string("<a href=\"") + GetParam().href + "\">#页号#</a>");
    lists.startListPages(outputFolder, 1, tags);
    const std::string expected =
        *GetParam().path == '\0' ? std::string() : outputFolder + utf8ToGbk(GetParam().path);
    EXPECT_EQ(lists.state().listPaths[0], expected);
}

INSTANTIATE_TEST_SUITE_P(Hrefs, PagePaths,
                         ::testing::Values(PathCase{"index_#页号#.htm", "index_1.htm"},
                                           PathCase{"/index_#页号#.htm", "index_1.htm"},
                                           PathCase{"list/index_#页号#.htm", "index_1.htm"},
                                           PathCase{"http://host/a/b/i#页号#.htm", "a/b/i1.htm"},
                                           PathCase{"x/sub/i#页号#.htm", "sub/i1.htm"},
                                           PathCase{"x/..a/i#页号#.htm", "..a/i1.htm"},
                                           PathCase{"x/../i#页号#.htm", ""},
                                           PathCase{"x/a/../../i#页号#.htm", ""},
                                           PathCase{"..", ""},
                                           PathCase{"x/a\\..\\..\\i#页号#.htm", ""},
                                           PathCase{"http://host//etc/i#页号#.htm", ""},
                                           PathCase{"x//etc/i#页号#.htm", ""}));

TEST_F(ListPagesTest, ReadsASingleQuotedHref) {
    setText(kPageEntryEdit, "<a class=x href='s#页号#.htm'>#页号#</a>");
    setText(kArticlesPerListPageEdit, "1");
    lists.startListPages(outputFolder, 2, tags);
    EXPECT_EQ(lists.state().listPaths[1], outputFolder + "s2.htm");
}

TEST_F(ListPagesTest, APageOutsideTheOutputFolderIsSkippedAndSaidOnce) {
    setText(kPageEntryEdit, "<a href=\"x/../../p#页号#.htm\">#页号#</a>");
    setText(kArticlesPerListPageEdit, "1");
    run(3, 3);
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_THAT(desktop.messageTextsUtf8()[0], HasSubstr("x/../../p.htm"));
    EXPECT_EQ(lists.report().pagesWritten, 0);
    EXPECT_TRUE(lists.report().pathRefused);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "p2.htm"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "out"));
}

TEST_F(ListPagesTest, AnHrefWithoutSlashIsTheFileName) {
    setText(kPageEntryEdit, "<a href=\"#页号#\">#页号#</a>");
    controls.setChecked(kMainWindow, kFirstPageUnnumberedCheck, false);
    controls.setSelectedIndex(kMainWindow, kPageNumberKindCombo, 1);
    setText(kArticlesPerListPageEdit, "1");
    run(3, 3);
    EXPECT_THAT(writtenPages(), ::testing::ElementsAre("A", "B", "C"));
    EXPECT_TRUE(desktop.messages().empty());
}

TEST_F(ListPagesTest, ABarLinkWithoutHrefCountsItsPageAsFailed) {
    setText(kPageEntryEdit, "<span>#页号#</span>");
    run(2, 2);
    EXPECT_EQ(lists.report().pagesWritten, 0);
    EXPECT_EQ(lists.report().pagesFailed, 1);
    EXPECT_EQ(lists.report().firstFailedPath, outputFolder);
}

struct NumeralCase {
    std::int64_t n;
    const char* chinese;
    const char* letters;
};

class PageLabels : public ::testing::TestWithParam<NumeralCase> {};

TEST_P(PageLabels, ReadTheNumber) {
    EXPECT_EQ(gbkToUtf8(chineseNumeral(GetParam().n)), GetParam().chinese) << GetParam().n;
    EXPECT_EQ(letterLabel(GetParam().n), GetParam().letters) << GetParam().n;
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, PageLabels,
    ::testing::Values(
        NumeralCase{1, "一", "A"}, NumeralCase{9, "九", "I"}, NumeralCase{10, "一十", "J"},
        NumeralCase{11, "一十一", "K"}, NumeralCase{20, "二十", "T"},
        NumeralCase{26, "二十六", "Z"}, NumeralCase{27, "二十七", "AA"},
        NumeralCase{52, "五十二", "AZ"}, NumeralCase{53, "五十三", "BA"},
        NumeralCase{100, "一百", "CV"}, NumeralCase{105, "一百零五", "DA"},
        NumeralCase{110, "一百一十", "DF"}, NumeralCase{702, "七百零二", "ZZ"},
        NumeralCase{703, "七百零三", "AAA"}, NumeralCase{1005, "一千零五", "ALQ"},
        NumeralCase{1050, "一千零五十", "ANJ"}, NumeralCase{10000, "一万", "NTP"},
        NumeralCase{10001, "一万零一", "NTQ"}, NumeralCase{18278, "一万八千二百七十八", "ZZZ"},
        NumeralCase{100000, "一十万", "EQXD"}, NumeralCase{101000, "一十万零一千", "ESJP"},
        NumeralCase{110000, "一十一万", "FFRT"}, NumeralCase{1000000, "一百万", "BDWGN"},
        NumeralCase{1000100, "一百万零一百", "BDWKJ"}, NumeralCase{100000000, "一亿", "HJUNYV"},
        NumeralCase{100000001, "一亿零一", "HJUNYW"},
        NumeralCase{100010000, "一亿零一万", "HJVCTL"},
        NumeralCase{1000000001, "一十亿零一", "CFDGSXM"},
        NumeralCase{1000000000000, "一万亿", "DTMCHRXUN"}, NumeralCase{0, "零", ""}));

TEST(PageLabel, FollowsTheChosenKindAtEveryCall) {
    RecordControls controls{mainWindowSpec()};
    EXPECT_EQ(pageLabel(controls, 28), "28");
    controls.setSelectedIndex(kMainWindow, kPageNumberKindCombo, 1);
    EXPECT_EQ(pageLabel(controls, 28), "AB");
    controls.setSelectedIndex(kMainWindow, kPageNumberKindCombo, 2);
    EXPECT_EQ(pageLabel(controls, 28), "二十八"_gbk);
    controls.setSelectedIndex(kMainWindow, kPageNumberKindCombo, -1);
    EXPECT_EQ(pageLabel(controls, 28), "28");
}

}  // namespace
}  // namespace yelian
