#include "engine/generate_site.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "engine/keyword_insertion.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "support/regex_object.h"
#include "support/text_routines.h"
#include "testing/scripted_desktop.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using ::testing::HasSubstr;
using End = RunOutcome::End;

class GenerateSiteTest : public ::testing::Test {
  protected:
    GenerateSiteTest() {
        check(kOrderedCheck, true);
        setTemplate("#本篇标题#"_gbk);
        controls_.setCaption(kMainWindow, "", "yelian");
    }

    void check(std::string_view control, bool checked) {
        controls_.setChecked(kMainWindow, control, checked);
    }
    void set(std::string_view control, std::string_view text) {
        controls_.setText(kMainWindow, control, text);
    }
    void setTemplate(std::string_view text) { set(kTemplateEditor1, text); }

    // Articles a1.htm .. an.htm in a folder of the temporary folder; article k has the title
    // Tk and the body Bk.
    GenerationJob articles(int count, std::string_view folder = "in") {
        GenerationJob job;
        for (int k = 1; k <= count; ++k) {
            const std::string n = std::to_string(k);
            job.push_back(dir_.write(std::string(folder) + "/a" + n + ".htm",
                                     "<title>T" + n + "</title><body>B" + n + "</body>"));
        }
        return job;
    }
    std::string outputFolder(std::string_view folder = "in") const {
        return fromNativePath(dir_.path() / folder) + "/" + "单页目录"_gbk + "/";
    }
    std::string page(std::string_view name, std::string_view folder = "in") const {
        return testing::readBytes(toNativePath(outputFolder(folder) + std::string(name)));
    }
    bool exists(std::string_view name, std::string_view folder = "in") const {
        return std::filesystem::exists(toNativePath(outputFolder(folder) + std::string(name)));
    }
    RunOutcome run(GenerationJob& job) { return generateSite(context_, job); }

    RecordControls controls_{mainWindowSpec()};
    testing::ScriptedDesktop desktop_;
    RandomSource random_{1234};
    RegexObject titlePattern_;
    bool stop_ = false;
    KeywordInserter keywords_{random_};
    GenerationContext context_{Ui{controls_, desktop_}, random_, titlePattern_, stop_, keywords_};
    testing::TempDir dir_;
};

TEST_F(GenerateSiteTest, OutputNamesAndLinksInAllFourForms) {
    struct Case {
        bool folderForm;
        bool replaceExtension;
        std::string extension;
        std::string firstFile;
        std::string firstPage;
    };
    const std::vector<Case> cases = {
        {false, false, "htm", "a1.htm", "a1.htm a2.htm"},
        {false, true, "txt", "a1.txt", "a1.txt a2.txt"},
        {true, false, "txt", "a1/index.html", "../a1/ ../a2/"},
        {true, true, "txt", "a1/index.txt", "../a1/ ../a2/"},
        {true, true, "", "a1/index.html", "../a1/ ../a2/"},
        {false, true, "", "a1.", "a1. a2."},
    };
    setTemplate("#本篇链接# #下一篇链接#"_gbk);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.firstFile);
        check(kFolderLinksCheck, c.folderForm);
        check(kExtensionCheck, c.replaceExtension);
        set(kExtensionEdit, c.extension);
        const std::string folder = "case" + std::to_string(i);
        GenerationJob job = articles(2, folder);
        const RunOutcome outcome = run(job);
        EXPECT_EQ(outcome.end, End::Finished);
        EXPECT_EQ(outcome.pagesWritten, 2);
        EXPECT_EQ(outcome.outputFolder, outputFolder(folder));
        EXPECT_EQ(page(c.firstFile, folder), c.firstPage);
    }
}

TEST_F(GenerateSiteTest, SingleArticleLinksToItself) {
    check(kFolderLinksCheck, true);
    setTemplate(
        "#上一篇标题#|#上一篇链接#|#下一篇标题#|#下一篇链接#|#随机篇标题#:#随机篇链接#|#随机篇标题#:#随机篇链接#"_gbk);
    GenerationJob job = articles(1);
    EXPECT_EQ(run(job).end, End::Finished);
    EXPECT_EQ(page("a1/index.html"), "没有上一篇了|../#|没有下一篇了|../#|T1:../a1/|T1:../a1/"_gbk);
}

TEST_F(GenerateSiteTest, PagesChainInJobOrderWithTheirBodies) {
    setTemplate("#上一篇链接#<#本篇标题#>#下一篇链接#:#导入的文件内容#"_gbk);
    GenerationJob job = articles(3);
    EXPECT_EQ(run(job).end, End::Finished);
    EXPECT_EQ(page("a1.htm"), "#<T1>a2.htm:B1");
    EXPECT_EQ(page("a2.htm"), "a1.htm<T2>a3.htm:B2");
    EXPECT_EQ(page("a3.htm"), "a2.htm<T3>#:B3");
}

TEST_F(GenerateSiteTest, ShuffledJobStillFormsOneChain) {
    check(kOrderedCheck, false);
    setTemplate("#上一篇链接# #下一篇链接#"_gbk);
    GenerationJob job = articles(8);
    const GenerationJob original = job;
    EXPECT_EQ(run(job).end, End::Finished);
    EXPECT_THAT(job, ::testing::UnorderedElementsAreArray(original));
    EXPECT_NE(job, original);
    // Walk the chain from the page without a predecessor.
    std::string name = fileNameOf(job.front());
    EXPECT_EQ(page(name).substr(0, 2), "# ");
    for (std::size_t i = 1; i < job.size(); ++i) {
        const std::string next = splitText(page(name), " ")[1];
        EXPECT_EQ(next, fileNameOf(job[i]));
        name = next;
    }
    EXPECT_EQ(splitText(page(name), " ")[1], "#");
}

TEST_F(GenerateSiteTest, StopFlagEndsTheRunBeforeTheNextArticle) {
    std::vector<std::string> captions;
    desktop_.onProcessEvents([&] {
        const std::string caption = controls_.caption(kMainWindow, "");
        if (captions.empty() || captions.back() != caption) captions.push_back(caption);
        if (caption.starts_with("已处理 3 "_gbk)) stop_ = true;
    });
    GenerationJob job = articles(10);
    const RunOutcome outcome = run(job);
    EXPECT_EQ(outcome.end, End::Stopped);
    EXPECT_EQ(outcome.articlesDone, 3);
    EXPECT_EQ(outcome.pagesWritten, 3);
    for (int k = 1; k <= 10; ++k) {
        EXPECT_EQ(exists("a" + std::to_string(k) + ".htm"), k <= 3) << k;
    }
    EXPECT_THAT(captions, ::testing::Contains("已处理 2 个文件，当前：T2"_gbk));
    EXPECT_EQ(controls_.caption(kMainWindow, ""), "yelian");
}

TEST_F(GenerateSiteTest, TemplateGivenAsAFilePath) {
    controls_.setSelectedIndex(kMainWindow, kTemplateTabs, 2);
    set(kTemplateEditor3, dir_.write("tpl/page.htm", "<p>#本篇标题#</p>"_gbk));
    GenerationJob job = articles(1);
    EXPECT_EQ(run(job).end, End::Finished);
    EXPECT_EQ(page("a1.htm"), "<p>T1</p>");

    // A folder, a FIFO or a device cannot be read: the run is refused before any page is
    // written, rather than writing empty pages and calling them done.
    std::filesystem::remove(toNativePath(outputFolder() + "a1.htm"));
    ASSERT_EQ(::mkfifo((dir_.path() / "tpl" / "fifo").c_str(), 0600), 0);
    for (const std::string& path :
         {fromNativePath(dir_.path() / "tpl"), fromNativePath(dir_.path() / "tpl" / "fifo"),
          std::string("/dev/null")}) {
        set(kTemplateEditor3, path);
        const RunOutcome outcome = run(job);
        EXPECT_EQ(outcome.end, End::Refused) << path;
        EXPECT_THAT(outcome.problem, HasSubstr("模板文件无法读取"_gbk)) << path;
        EXPECT_FALSE(exists("a1.htm")) << path;
    }
}

TEST_F(GenerateSiteTest, UnequalRandomTagsAskFirst) {
    setTemplate("#随机篇链接#,#随机篇链接#,#随机篇链接#;#随机篇标题#,#随机篇标题#"_gbk);
    GenerationJob job = articles(3);

    desktop_.answerMessage(MessageAnswer::Cancel);
    const RunOutcome cancelled = run(job);
    EXPECT_EQ(cancelled.end, End::Cancelled);
    ASSERT_EQ(desktop_.messages().size(), 1u);
    EXPECT_EQ(desktop_.messageTextsUtf8().front(),
              "程序检测到模板中插入的#随机篇链接#（3个）和#随机篇标题#（2个）数量不一致，"
              "这会导致链接混乱！\r\n\r\n继续则确认，否则请取消");
    EXPECT_EQ(desktop_.messages().front().buttons, MessageButtons::OkCancel);
    // Cancelled before anything was written: not even the folder is made.
    EXPECT_FALSE(std::filesystem::exists(toNativePath(outputFolder())));
    EXPECT_FALSE(exists("a1.htm"));
    EXPECT_EQ(controls_.caption(kMainWindow, ""), "yelian");

    desktop_.answerMessage(MessageAnswer::Ok);
    EXPECT_EQ(run(job).end, End::Finished);
    for (int k = 1; k <= 3; ++k) {
        const std::vector<std::string> parts =
            splitText(page("a" + std::to_string(k) + ".htm"), ";");
        ASSERT_EQ(parts.size(), 2u);
        const std::vector<std::string> links = splitText(parts[0], ",");
        const std::vector<std::string> titles = splitText(parts[1], ",");
        ASSERT_EQ(links.size(), 3u);
        ASSERT_EQ(titles.size(), 2u);
        // The k-th title and the k-th link come from the same draw.
        for (std::size_t d = 0; d < 2; ++d) EXPECT_EQ("a" + titles[d].substr(1) + ".htm", links[d]);
        EXPECT_THAT(links[2], ::testing::MatchesRegex("a[123]\\.htm"));
    }
}

TEST_F(GenerateSiteTest, FixedSeedGivesTheSameSiteTwice) {
    check(kOrderedCheck, false);
    check(kListPagesCheck, true);
    set(kArticlesPerListPageEdit, "5");
    check(kInsertPhrasesCheck, true);
    set(kPhraseCombo, "w1|w2|w3|http://a.example*http://b.example");
    set(kKeywordListEdit, "k1\r\nk2\r\nk3\r\nk4\r\nk5");
    set(kDescriptionLengthMinEdit, "1");
    set(kDescriptionLengthMaxEdit, "20");
    setTemplate(
        "#本篇标题##关键词##描述##递增##随机汉字##随机数母##随机篇标题##随机篇链接#"
        "#随机篇标题##随机篇链接##导入的文件内容#"_gbk);
    const GenerationJob original = articles(12);
    auto site = [&] {
        random_.seed(99);
        GenerationJob job = original;
        EXPECT_EQ(run(job).end, End::Finished);
        std::map<std::string, std::string> files;
        for (const auto& entry :
             std::filesystem::directory_iterator(toNativePath(outputFolder()))) {
            files[entry.path().filename().string()] = testing::readBytes(entry.path());
        }
        std::filesystem::remove_all(toNativePath(outputFolder()));
        return files;
    };
    const std::map<std::string, std::string> first = site();
    EXPECT_EQ(first.size(), 15u);  // 12 articles on 3 list pages
    EXPECT_THAT(first.at("a1.htm"), HasSubstr("target=\"_blank\""));
    EXPECT_EQ(site(), first);
}

TEST_F(GenerateSiteTest, EveryArticleFileIsReadOnce) {
    check(kOrderedCheck, false);
    setTemplate(
        "#本篇标题#:#导入的文件内容#|#上一篇标题#|#下一篇标题#|#随机篇标题#=#随机篇链接#|"
        "#随机篇标题#=#随机篇链接#|#随机篇标题#=#随机篇链接#|#随机篇标题#=#随机篇链接#|"
        "#随机篇标题#=#随机篇链接#"_gbk);
    GenerationJob job = articles(10);
    job.push_back(job[2]);  // the same file twice in one job
    std::map<std::string, int> reads;
    const RunOutcome outcome =
        generateSite(context_, job, [&reads](std::string_view path, TextEncoding requested) {
            ++reads[std::string(path)];
            return readTextFile(path, requested);
        });
    EXPECT_EQ(outcome.pagesWritten, 11);
    EXPECT_EQ(reads.size(), 10u);
    for (const auto& [path, count] : reads) EXPECT_EQ(count, 1) << path;
    for (int k = 1; k <= 10; ++k) {
        const std::string n = std::to_string(k);
        const std::vector<std::string> parts = splitText(page("a" + n + ".htm"), "|");
        ASSERT_EQ(parts.size(), 8u);
        EXPECT_EQ(parts[0], "T" + n + ":B" + n);
        for (std::size_t d = 3; d < 8; ++d) {
            const std::vector<std::string> draw = splitText(parts[d], "=");
            EXPECT_EQ("a" + draw[0].substr(1) + ".htm", draw[1]);
        }
    }
}

TEST_F(GenerateSiteTest, PageThatCannotBeWrittenIsCountedAndTheRunGoesOn) {
    std::filesystem::create_directories(toNativePath(outputFolder() + "a2.htm"));
    GenerationJob job = articles(3);
    const RunOutcome outcome = run(job);
    EXPECT_EQ(outcome.end, End::Finished);
    EXPECT_EQ(outcome.articlesDone, 3);
    EXPECT_EQ(outcome.pagesWritten, 2);
    EXPECT_EQ(outcome.pagesFailed, 1);
    EXPECT_EQ(outcome.firstFailedPath, outputFolder() + "a2.htm");
    EXPECT_EQ(page("a3.htm"), "T3");
}

TEST_F(GenerateSiteTest, TitlePatternThatDoesNotCompileRefusesTheRun) {
    check(kReplaceTitleCheck, true);
    set(kTitlePatternEdit, "(T[");
    GenerationJob job = articles(2);
    const RunOutcome refused = run(job);
    EXPECT_EQ(refused.end, End::Refused);
    EXPECT_THAT(refused.problem, HasSubstr("(T["));
    EXPECT_THAT(refused.problem, HasSubstr("位置："_gbk));
    EXPECT_FALSE(std::filesystem::exists(toNativePath(outputFolder())));
    EXPECT_EQ(controls_.caption(kMainWindow, ""), "yelian");

    // Not in use: the run goes on.
    check(kUseRegexCheck, false);
    EXPECT_EQ(run(job).end, End::Finished);
    EXPECT_EQ(page("a1.htm"), "T1");
}

TEST_F(GenerateSiteTest, NothingIsWrittenOutsideTheOutputFolder) {
    GenerationJob job = articles(2);
    job.push_back(fromNativePath(dir_.path() / "in" / "sub" / ".."));
    struct Case {
        bool folderForm;
        bool replaceExtension;
        std::string extension;
        int failed;
    };
    for (const Case& c :
         {Case{false, true, "/../../evil", 3}, Case{true, true, "x/../../../evil", 3},
          Case{false, false, "", 1}, Case{true, false, "", 1}}) {
        check(kFolderLinksCheck, c.folderForm);
        check(kExtensionCheck, c.replaceExtension);
        set(kExtensionEdit, c.extension);
        const RunOutcome outcome = run(job);
        EXPECT_EQ(outcome.end, End::Finished);
        EXPECT_EQ(outcome.pagesFailed, c.failed) << c.extension;
        EXPECT_EQ(outcome.pagesWritten, 3 - c.failed) << c.extension;
        // The folder in the job is an unreadable article, named by its own path.
        EXPECT_THAT(outcome.firstFailedPath,
                    ::testing::AnyOf(::testing::StartsWith(outputFolder()), job.back()));
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_.path())) {
        EXPECT_THAT(entry.path().string(), ::testing::Not(HasSubstr("evil")));
        if (entry.is_regular_file() && entry.path().parent_path().filename() != "in") {
            EXPECT_THAT(fromNativePath(entry.path()), HasSubstr("单页目录"_gbk));
        }
    }
}

TEST_F(GenerateSiteTest, OutputEncodingAndEmptyJob) {
    controls_.setSelectedIndex(kMainWindow, kOutputEncodingCombo, 2);
    GenerationJob job = articles(1);
    EXPECT_EQ(run(job).end, End::Finished);
    EXPECT_EQ(page("a1.htm"), "\xEF\xBB\xBFT1");

    GenerationJob empty;
    const RunOutcome outcome = run(empty);
    EXPECT_EQ(outcome.end, End::Nothing);
    EXPECT_EQ(outcome.outputFolder, "");
    EXPECT_EQ(desktop_.processEventsCount(), 5);
}

int entriesOn(const std::string& listPage) {
    return countOccurrences(listPage, "<p><a href=");
}

TEST_F(GenerateSiteTest, ListPagesListTheArticlesInRunOrder) {
    check(kListPagesCheck, true);
    set(kArticlesPerListPageEdit, "50");
    check(kFolderLinksCheck, true);
    GenerationJob job = articles(120);
    const RunOutcome outcome = run(job);
    EXPECT_EQ(outcome.end, End::Finished);
    EXPECT_EQ(outcome.pagesWritten, 123);
    EXPECT_EQ(outcome.listPagesWritten, 3);
    EXPECT_EQ(outcome.pagesFailed, 0);
    // The list links without the "../" the article pages need.
    for (const auto& [name, first] :
         std::vector<std::pair<std::string, int>>{{"index.htm", 1}, {"index_3.htm", 101}}) {
        const std::string n = std::to_string(first);
        EXPECT_THAT(page(name),
                    HasSubstr("<p><a href=\"a" + n + "/\">" + "《T"_gbk + n + "》</a></p>"_gbk));
    }
}

TEST_F(GenerateSiteTest, AStopClosesTheOpenListPage) {
    check(kListPagesCheck, true);
    set(kArticlesPerListPageEdit, "4");
    controls_.setSelectedIndex(kMainWindow, kOutputEncodingCombo, 2);
    desktop_.onProcessEvents([&] {
        if (controls_.caption(kMainWindow, "").starts_with("已处理 6 "_gbk)) stop_ = true;
    });
    GenerationJob job = articles(10);
    const RunOutcome outcome = run(job);
    EXPECT_EQ(outcome.end, End::Stopped);
    EXPECT_EQ(outcome.articlesDone, 6);
    EXPECT_EQ(outcome.listPagesWritten, 2);
    const std::string second = page("index_2.htm");
    EXPECT_TRUE(second.starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(entriesOn(second), 2);
    EXPECT_THAT(second, HasSubstr("index_3.htm"));
    EXPECT_TRUE(second.ends_with("</body></html>"));
    EXPECT_FALSE(exists("index_3.htm"));

    // Stopped before the first article: list page 1 is still closed, empty.
    desktop_.onProcessEvents([] {});
    stop_ = true;
    std::filesystem::remove_all(toNativePath(outputFolder()));
    const RunOutcome early = run(job);
    EXPECT_EQ(early.end, End::Stopped);
    EXPECT_EQ(early.articlesDone, 0);
    EXPECT_EQ(early.listPagesWritten, 1);
    EXPECT_EQ(entriesOn(page("index.htm")), 0);
}

TEST_F(GenerateSiteTest, ListPagesThatCannotBeWrittenAreFailedPages) {
    check(kListPagesCheck, true);
    set(kArticlesPerListPageEdit, "2");
    std::filesystem::create_directories(toNativePath(outputFolder() + "index_2.htm"));
    GenerationJob job = articles(5);
    const RunOutcome blocked = run(job);
    EXPECT_EQ(blocked.end, End::Finished);
    EXPECT_EQ(blocked.pagesWritten, 5 + 2);
    EXPECT_EQ(blocked.pagesFailed, 1);
    EXPECT_EQ(blocked.firstFailedPath, outputFolder() + "index_2.htm");

    // An article page that failed first stays the first failure.
    std::filesystem::remove(toNativePath(outputFolder() + "a1.htm"));
    std::filesystem::create_directories(toNativePath(outputFolder() + "a1.htm"));
    const RunOutcome both = run(job);
    EXPECT_EQ(both.pagesFailed, 2);
    EXPECT_EQ(both.firstFailedPath, outputFolder() + "a1.htm");

    // A bar link that leads out of the output folder: its page is not written, said once, and
    // counted as failed.
    std::filesystem::remove_all(toNativePath(outputFolder()));
    set(kPageEntryEdit, "<a href=\"x/../../p#页号#.htm\">#页号#</a>"_gbk);
    const RunOutcome refused = run(job);
    EXPECT_EQ(refused.pagesWritten, 5);
    EXPECT_EQ(refused.pagesFailed, 3);
    EXPECT_EQ(refused.firstFailedPath, "x/../../p.htm");
    EXPECT_EQ(desktop_.messages().size(), 1u);
}

TEST_F(GenerateSiteTest, KeywordsGoIntoTheBodyBeforeTheCut) {
    check(kInsertPhrasesCheck, true);
    set(kPhraseCombo, "K");
    // As many insertions as the body has characters: every character is followed by one.
    set(kInsertCountMinEdit, "12");
    set(kInsertCountMaxEdit, "12");
    check(kCutContentCheck, true);
    set(kCutHeadEdit, "[");
    set(kCutTailEdit, "]");
    setTemplate("#导入的文件内容#"_gbk);
    GenerationJob job = {dir_.write("in/a.txt", "111[2222]333")};
    EXPECT_EQ(run(job).end, End::Finished);
    EXPECT_EQ(page("a.txt"), "K2K2K2K2K");
}

TEST_F(GenerateSiteTest, KeywordsGoIntoEachPageOnceWhateverTheArticleCacheHolds) {
    check(kInsertPhrasesCheck, true);
    set(kPhraseCombo, "KW");
    set(kInsertCountMinEdit, "3");
    set(kInsertCountMaxEdit, "3");
    check(kCutContentCheck, false);
    setTemplate("#导入的文件内容#|#随机篇标题##随机篇链接#|#随机篇标题##随机篇链接#"_gbk);
    GenerationJob job;
    for (const char* name : {"a", "b", "c", "d"}) {
        job.push_back(dir_.write(std::string("in/") + name + ".txt", "甲乙丙丁戊己庚辛"_gbk));
    }
    // a again at the end: its body is held for that turn while other pages are made.
    job.push_back(job.front());
    std::vector<std::string> pages;
    desktop_.onProcessEvents([&] {
        const std::string caption = controls_.caption(kMainWindow, "");
        if (caption.starts_with("已处理 "_gbk) && (pages.empty() || pages.back() != caption)) {
            pages.push_back(caption);
            const std::string body = splitText(page(fileNameOf(job[pages.size() - 1])), "|")[0];
            EXPECT_EQ(countOccurrences(body, "KW"), 3) << pages.size();
            EXPECT_EQ(charCount(body), 8 + 3 * 2) << pages.size();
        }
    });
    EXPECT_EQ(run(job).end, End::Finished);
    EXPECT_EQ(pages.size(), 5u);
}

// ---- a run never replaces an article or a page it wrote for another article

bool hasNote(const RunOutcome& outcome, std::string_view text) {
    for (const std::string& note : outcome.failureNotes) {
        if (note.find(text) != std::string::npos) return true;
    }
    return false;
}

TEST_F(GenerateSiteTest, ALaterPageOfTheSameNameFailsAndTheFirstStays) {
    // Same file name in two folders, and x.txt beside x.htm with the extension replaced.
    GenerationJob job = {dir_.write("in/x.htm", "<title>A</title>"),
                         dir_.write("in/b/x.htm", "<title>B</title>"),
                         dir_.write("in/x.txt", "<title>C</title>")};
    check(kExtensionCheck, true);
    set(kExtensionEdit, "htm");
    const RunOutcome outcome = run(job);
    EXPECT_EQ(outcome.end, End::Finished);
    EXPECT_EQ(outcome.pagesWritten, 1);
    EXPECT_EQ(outcome.pagesFailed, 2);
    EXPECT_EQ(page("x.htm"), "A");
    EXPECT_EQ(outcome.firstFailedPath, outputFolder() + "x.htm");
    ASSERT_EQ(outcome.failureNotes.size(), 2u);
    EXPECT_THAT(outcome.failureNotes[0], HasSubstr(job[0]));
    EXPECT_THAT(outcome.failureNotes[0], HasSubstr("后一个页面未写入"_gbk));

    // The same article listed twice is one article: its page may be written again.
    GenerationJob twice = {job[0], job[0]};
    EXPECT_EQ(run(twice).pagesFailed, 0);
}

TEST_F(GenerateSiteTest, AnArticleNamedLikeAListPageKeepsItsPage) {
    GenerationJob job = {dir_.write("in/index.htm", "<title>Home</title>")};
    check(kListPagesCheck, true);
    set(kPageEntryEdit, R"(<a href="index.htm">1</a>)");
    const RunOutcome outcome = run(job);
    EXPECT_EQ(outcome.pagesWritten, 1);
    EXPECT_EQ(outcome.pagesFailed, 1);
    EXPECT_EQ(page("index.htm"), "Home");
    EXPECT_TRUE(hasNote(outcome, "后一个页面未写入"_gbk));
}

TEST_F(GenerateSiteTest, ArticlesInsideTheOutputFolderAreNeverOverwritten) {
    GenerationJob job = articles(1);
    const std::string inside = dir_.write("in/单页目录/a1.htm"_gbk, "<title>In</title>");
    job.push_back(inside);
    const RunOutcome outcome = run(job);
    // a1's page would replace the second article, and that article's page is itself.
    EXPECT_EQ(outcome.pagesFailed, 2);
    EXPECT_EQ(testing::readBytes(toNativePath(inside)), "<title>In</title>");
    EXPECT_TRUE(hasNote(outcome, "页面会覆盖本次生成的文章文件"_gbk));
}

TEST_F(GenerateSiteTest, UnreadableArticlesCountAsFailedPages) {
    GenerationJob job = articles(1);
    ASSERT_EQ(::mkfifo((dir_.path() / "in" / "fifo.htm").c_str(), 0600), 0);
    job.push_back(fromNativePath(dir_.path() / "in" / "fifo.htm"));
    job.push_back(fromNativePath(dir_.path() / "in" / "gone.htm"));
    std::filesystem::create_directories(dir_.path() / "in" / "folder.htm");
    job.push_back(fromNativePath(dir_.path() / "in" / "folder.htm"));
    const RunOutcome outcome = run(job);
    EXPECT_EQ(outcome.end, End::Finished);
    EXPECT_EQ(outcome.pagesWritten, 1);
    EXPECT_EQ(outcome.pagesFailed, 3);
    EXPECT_EQ(outcome.firstFailedPath, job[1]);
    EXPECT_THAT(outcome.failureNotes[0], HasSubstr("不是普通文件"_gbk));
    EXPECT_THAT(outcome.failureNotes[1], HasSubstr("文件不存在"_gbk));
    EXPECT_FALSE(exists("fifo.htm"));
}

TEST_F(GenerateSiteTest, APageIsNotWrittenThroughALinkPlantedInTheOutputFolder) {
    GenerationJob job = articles(1);
    const std::string victim = dir_.write("victim.txt", "mine");
    std::filesystem::create_directories(toNativePath(outputFolder()));
    std::filesystem::create_symlink(toNativePath(victim), toNativePath(outputFolder() + "a1.htm"));
    EXPECT_EQ(run(job).pagesFailed, 1);
    EXPECT_EQ(testing::readBytes(toNativePath(victim)), "mine");

    // An ordinary page of an earlier run is replaced as before.
    std::filesystem::remove(toNativePath(outputFolder() + "a1.htm"));
    dir_.write("in/单页目录/a1.htm"_gbk, "old page");
    EXPECT_EQ(run(job).pagesFailed, 0);
    EXPECT_EQ(page("a1.htm"), "T1");
}

TEST_F(GenerateSiteTest, ATitlePatternAtTheEnginesLimitsIsReportedOnce) {
    GenerationJob job;
    for (int k = 1; k <= 3; ++k) {
        job.push_back(dir_.write("in/t" + std::to_string(k) + ".htm",
                                 "<title>" + std::string(40, 'a') + "!</title>"));
    }
    check(kReplaceTitleCheck, true);
    check(kUseRegexCheck, true);
    set(kTitlePatternEdit, "(a|a)+$");
    const RunOutcome outcome = run(job);
    EXPECT_EQ(outcome.end, End::Finished);
    EXPECT_EQ(desktop_.messages().size(), 1u);
    EXPECT_EQ(page("t1.htm"), std::string(40, 'a') + "!");
}

}  // namespace
}  // namespace yelian
