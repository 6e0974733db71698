// A run on a failing file system: every page that did not reach the disk is counted as
// failed and the first is named, whatever the failure, and the run goes on with the others.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "engine/generate_site.h"
#include "engine/keyword_insertion.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "support/regex_object.h"
#include "testing/fault_file_env.h"
#include "testing/scripted_desktop.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using ::testing::HasSubstr;

class GenerateSiteFaultsTest : public ::testing::Test {
  protected:
    GenerateSiteFaultsTest() {
        controls_.setChecked(kMainWindow, kOrderedCheck, true);
        controls_.setText(kMainWindow, kTemplateEditor1, "<p>#本篇标题#</p>"_gbk);
    }
    // Articles in/a1.htm .. in/an.htm with the titles T1 .. Tn.
    GenerationJob articles(int count) {
        GenerationJob job;
        for (int k = 1; k <= count; ++k) {
            const std::string n = std::to_string(k);
            job.push_back(dir_.write("in/a" + n + ".htm", "<title>T" + n + "</title>B" + n));
        }
        return job;
    }
    std::string outputFolder() const {
        return fromNativePath(dir_.path() / "in") + "/" + "单页目录"_gbk + "/";
    }
    RunOutcome run(GenerationJob& job) { return generateSite(context_, job, files_); }

    RecordControls controls_{mainWindowSpec()};
    testing::ScriptedDesktop desktop_;
    RandomSource random_{1234};
    RegexObject titlePattern_;
    bool stop_ = false;
    KeywordInserter keywords_{random_};
    GenerationContext context_{Ui{controls_, desktop_}, random_, titlePattern_, stop_, keywords_};
    testing::TempDir dir_;
    FaultFileEnv files_;
};

TEST_F(GenerateSiteFaultsTest, FullDiskCountsTheRestAsFailedAndNamesTheFirst) {
    GenerationJob job = articles(3);
    // Room for the first page ("<p>T1</p>") and half of the second.
    files_.setFreeBytes(9 + 4);
    const RunOutcome outcome = run(job);
    EXPECT_EQ(outcome.end, RunOutcome::End::Finished);
    EXPECT_EQ(outcome.pagesWritten, 1);
    EXPECT_EQ(outcome.pagesFailed, 2);
    EXPECT_EQ(outcome.firstFailedPath, outputFolder() + "a2.htm");
    EXPECT_EQ(files_.failedWrites(), 2);
    EXPECT_EQ(testing::readBytes(toNativePath(outputFolder() + "a1.htm")), "<p>T1</p>");
}

TEST_F(GenerateSiteFaultsTest, ArticleGoneAfterListingIsAFailedPage) {
    GenerationJob job = articles(3);
    Expected<std::vector<std::string>> listed = files_.listFolder(dir_.path() / "in");
    ASSERT_TRUE(listed);
    EXPECT_THAT(*listed, ::testing::UnorderedElementsAre("a1.htm", "a2.htm", "a3.htm"));
    files_.vanishBeforeRead(toNativePath(job[1]));
    const RunOutcome outcome = run(job);
    EXPECT_EQ(outcome.pagesWritten, 2);
    EXPECT_EQ(outcome.pagesFailed, 1);
    EXPECT_EQ(outcome.firstFailedPath, job[1]);
    ASSERT_EQ(outcome.failureNotes.size(), 1u);
    EXPECT_THAT(outcome.failureNotes.front(), HasSubstr("文件不存在"_gbk));
    EXPECT_FALSE(std::filesystem::exists(toNativePath(outputFolder() + "a2.htm")));
}

TEST_F(GenerateSiteFaultsTest, FoldersThatCannotBeMadeFailEveryPageAndTheLists) {
    GenerationJob job = articles(2);
    controls_.setChecked(kMainWindow, kListPagesCheck, true);
    files_.failFolders();
    const RunOutcome outcome = run(job);
    EXPECT_EQ(outcome.end, RunOutcome::End::Finished);
    EXPECT_EQ(outcome.pagesWritten, 0);
    // Two article pages and the list page.
    EXPECT_EQ(outcome.pagesFailed, 3);
    EXPECT_EQ(outcome.firstFailedPath, outputFolder() + "a1.htm");
    EXPECT_FALSE(std::filesystem::exists(toNativePath(outputFolder())));

    // The folder form needs a folder per article.
    controls_.setChecked(kMainWindow, kListPagesCheck, false);
    controls_.setChecked(kMainWindow, kFolderLinksCheck, true);
    const RunOutcome folders = run(job);
    EXPECT_EQ(folders.pagesFailed, 2);
    ASSERT_FALSE(folders.failureNotes.empty());
    EXPECT_THAT(folders.failureNotes.front(), HasSubstr("无法创建文件夹"_gbk));
}

TEST_F(GenerateSiteFaultsTest, ARefusedRunLeavesNoOutputFolder) {
    GenerationJob job = articles(2);
    // A template path that names a folder is refused before anything is written.
    controls_.setText(kMainWindow, kTemplateEditor1, fromNativePath(dir_.path()));
    const RunOutcome outcome = run(job);
    EXPECT_EQ(outcome.end, RunOutcome::End::Refused);
    EXPECT_FALSE(std::filesystem::exists(toNativePath(outputFolder())));
}

}  // namespace
}  // namespace yelian
