// The real file system behind the seam: the replacement keeps the old file's mode and leaves
// no temporary, and status tells apart what may stand at a path.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "support/posix_file.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

TEST(PosixFileEnv, ReplacementKeepsTheModeAndLeavesNoTemporary) {
    testing::TempDir dir;
    const std::filesystem::path file = dir.write("a.ini", "old");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    PosixFileEnv files;
    ASSERT_TRUE(files.replaceFile(file, "new"));
    EXPECT_EQ(testing::readBytes(file), "new");
    EXPECT_EQ(files.status(file).mode, 0640u);
    EXPECT_FALSE(std::filesystem::exists(temporaryPathOf(file)));
}

TEST(PosixFileEnv, FailedRenameRemovesTheTemporary) {
    testing::TempDir dir;
    // A folder at the name cannot be replaced by a file.
    std::filesystem::create_directory(dir.path() / "taken");
    PosixFileEnv files;
    EXPECT_FALSE(files.replaceFile(dir.path() / "taken", "bytes"));
    EXPECT_FALSE(std::filesystem::exists(temporaryPathOf(dir.path() / "taken")));
}

TEST(PosixFileEnv, StatusTellsKindsApartWithoutFollowingLinks) {
    testing::TempDir dir;
    const std::filesystem::path file = dir.write("f", "12345");
    ASSERT_EQ(::mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink(file, dir.path() / "link");
    PosixFileEnv files;
    EXPECT_EQ(files.status(file).kind, FileKind::Regular);
    EXPECT_EQ(files.status(file).size, 5u);
    EXPECT_EQ(files.status(dir.path()).kind, FileKind::Folder);
    EXPECT_EQ(files.status(dir.path() / "fifo").kind, FileKind::Other);
    EXPECT_EQ(files.status(dir.path() / "link").kind, FileKind::Other);
    EXPECT_EQ(files.status(dir.path() / "none").kind, FileKind::Missing);
    Expected<std::vector<std::string>> names = files.listFolder(dir.path());
    ASSERT_TRUE(names);
    EXPECT_THAT(*names, ::testing::UnorderedElementsAre("f", "fifo", "link"));
    EXPECT_FALSE(files.listFolder(dir.path() / "none"));
}

}  // namespace
}  // namespace yelian
