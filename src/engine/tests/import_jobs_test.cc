#include "engine/import_jobs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "support/posix_file.h"
#include "testing/scripted_desktop.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using testing::ScriptedDesktop;
using testing::TempDir;

class FolderListing : public ::testing::Test {
  protected:
    FolderListing() {
        for (const char* name : {"a.htm", "B.HTM", "c.html", "a.txt", "ab.txt", "abc.txt", "a1.htm",
                                 "文章.htm", "sub/d.htm", "sub/e.txt"}) {
            dir.write(name, "x");
        }
    }

    std::string folder() const { return fromNativePath(dir.path()); }

    // The file names of full paths, as UTF-8, sorted unless the order matters.
    std::vector<std::string> names(const std::vector<std::string>& paths, bool sort) const {
        std::vector<std::string> result;
        for (const std::string& path : paths) {
            EXPECT_TRUE(path.starts_with(folder() + "/")) << path;
            result.push_back(gbkToUtf8(path.substr(folder().size() + 1)));
        }
        if (sort) std::sort(result.begin(), result.end());
        return result;
    }

    TempDir dir;
};

struct FilterCase {
    const char* filter;
    std::vector<std::string> expected;
};

TEST_F(FolderListing, LeftClickListingFollowsTheFilterRules) {
    const FilterCase cases[] = {
        {"*.htm", {"B.HTM", "a.htm", "a1.htm", "文章.htm"}},
        {"*.htm|*.txt", {"B.HTM", "a.htm", "a.txt", "a1.htm", "ab.txt", "abc.txt", "文章.htm"}},
        {"a?.txt", {"a.txt", "ab.txt"}},
        {"A*.HTM", {"a.htm", "a1.htm"}},
        {"*.HTML", {"c.html"}},
        {"", {"B.HTM", "a.htm", "a.txt", "a1.htm", "ab.txt", "abc.txt", "c.html", "文章.htm"}},
        {"*.*", {"B.HTM", "a.htm", "a.txt", "a1.htm", "ab.txt", "abc.txt", "c.html", "文章.htm"}},
        {"nothing*", {}},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(names(listFolderFiles(folder(), c.filter), true), c.expected);
    }
}

TEST_F(FolderListing, ByNameOrderIsSortedAndTakesAFinalSeparator) {
    EXPECT_EQ(names(listFolderFiles(folder() + "/", "*.txt", ListingOrder::ByName), false),
              (std::vector<std::string>{"a.txt", "ab.txt", "abc.txt"}));
    EXPECT_TRUE(listFolderFiles(folder() + "/missing", "*").empty());
}

TEST_F(FolderListing, RightClickListingGoesPatternByPattern) {
    ScriptedDesktop desktop;
    PosixFileEnv files;
    const auto listed =
        names(listFolderFilesByPattern(desktop, files, folder(), "*.htm|*.txt"), false);
    ASSERT_EQ(listed.size(), 7u);
    const auto firstTxt = std::find_if(listed.begin(), listed.end(),
                                       [](const std::string& n) { return n.ends_with(".txt"); });
    EXPECT_EQ(firstTxt - listed.begin(), 4);
    EXPECT_TRUE(std::all_of(firstTxt, listed.end(),
                            [](const std::string& n) { return n.ends_with(".txt"); }));
    EXPECT_EQ(desktop.processEventsCount(), 7);

    const auto twice =
        names(listFolderFilesByPattern(desktop, files, folder(), "*.htm|a*.htm"), false);
    EXPECT_EQ(std::count(twice.begin(), twice.end(), "a1.htm"), 2);
    // "?" is exactly one character here, and subfolders are never entered.
    EXPECT_EQ(names(listFolderFilesByPattern(desktop, files, folder(), "a?.txt"), true),
              (std::vector<std::string>{"ab.txt"}));
    EXPECT_TRUE(listFolderFilesByPattern(desktop, files, folder(), "sub/*.htm|sub").empty());
    EXPECT_EQ(listFolderFilesByPattern(desktop, files, folder(), "").size(), 8u);
}

TEST_F(FolderListing, RightClickListingTakesLinkedFilesButNoLinkedFolder) {
    ScriptedDesktop desktop;
    PosixFileEnv files;
    std::filesystem::create_symlink(dir.path() / "a.htm", dir.path() / "link.htm");
    std::filesystem::create_directory_symlink(dir.path() / "sub", dir.path() / "folder.htm");
    std::filesystem::create_symlink(dir.path() / "missing", dir.path() / "dangling.htm");
    EXPECT_EQ(names(listFolderFilesByPattern(desktop, files, folder(), "*.htm"), true),
              (std::vector<std::string>{"B.HTM", "a.htm", "a1.htm", "dangling.htm", "link.htm",
                                        "文章.htm"}));
    // A folder that cannot be listed gives nothing to run.
    EXPECT_TRUE(listFolderFilesByPattern(desktop, files, folder() + "/missing", "*").empty());
}

struct WildcardCase {
    const char* name;
    const char* pattern;
    bool matches;
};

TEST(WildcardMatches, MatchesAsFileManagersDo) {
    const WildcardCase cases[] = {
        {"a.htm", "*.htm", true},
        {"B.HTM", "*.htm", true},
        {"c.html", "*.htm", false},
        {"a.txt", "a?.txt", false},
        {"ab.txt", "a?.txt", true},
        {"abc.txt", "a*c.txt", true},
        {"README", "*.*", true},
        {"ab", "*b*", true},
        {"aXbXc", "a*b*c", true},
        {"aXbX", "a*b*c", false},
        {"文章.htm", "??.htm", true},
        {"文章.htm", "文*", true},
        {"", "*", true},
        {"a", "", false},
    };
    for (const WildcardCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " ~ " + c.pattern);
        EXPECT_EQ(wildcardMatches(utf8ToGbk(c.name), utf8ToGbk(c.pattern)), c.matches);
    }
}

}  // namespace
}  // namespace yelian
