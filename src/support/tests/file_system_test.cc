#include "support/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/gbk_text.h"
#include "support/native_path.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using testing::readBytes;
using testing::TempDir;

// A GBK path inside the temporary folder, from a UTF-8 name.
std::string gbkPath(const TempDir& dir, std::string_view utf8Name) {
    return fromNativePath(dir.path()) + "/" + utf8ToGbk(utf8Name);
}

struct PathPartsCase {
    const char* path;
    const char* parent;
    const char* fileName;
    const char* baseName;
    const char* extension;
};

TEST(FileSystemPaths, TakesPathsApart) {
    const PathPartsCase cases[] = {
        {"/a/b/c.txt", "/a/b", "c.txt", "c", "txt"},
        {"/a/b/", "/a", "b", "b", ""},
        {"/a", "", "a", "a", ""},
        {"a", "", "a", "a", ""},
        {"a/b.tar.gz", "a", "b.tar.gz", "b.tar", "gz"},
        {"/", "", "", "", ""},
    };
    const FileSystem files;
    for (const PathPartsCase& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(files.parentFolderName(c.path), c.parent);
        EXPECT_EQ(files.fileName(c.path), c.fileName);
        EXPECT_EQ(files.baseName(c.path), c.baseName);
        EXPECT_EQ(files.extensionName(c.path), c.extension);
    }
}

TEST(FileSystemPaths, BuildsPathsWithOneSeparator) {
    const FileSystem files;
    EXPECT_EQ(files.buildPath("/a", "b"), "/a/b");
    EXPECT_EQ(files.buildPath("/a/", "b"), "/a/b");
    EXPECT_EQ(files.buildPath("/a/", "/b"), "/a/b");
    EXPECT_EQ(files.buildPath("", "b"), "b");
}

class FileSystemOnDisk : public ::testing::Test {
  protected:
    TempDir dir;
    FileSystem files;
};

TEST_F(FileSystemOnDisk, CreateFolderIsTrueOnlyWhenItMadeOne) {
    const std::string folder = gbkPath(dir, "新目录");
    EXPECT_TRUE(files.createFolder(folder));
    EXPECT_TRUE(files.folderExists(folder));
    EXPECT_FALSE(files.createFolder(folder));
    EXPECT_FALSE(files.createFolder(""));
}

TEST_F(FileSystemOnDisk, DeleteReportsWhetherTheObjectIsGone) {
    dir.write("a.txt", "x");
    dir.write("sub/b.txt", "y");
    EXPECT_TRUE(files.deleteFile(gbkPath(dir, "a.txt"), false));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "a.txt"));
    EXPECT_TRUE(files.deleteFile(gbkPath(dir, "missing.txt"), false));
    // A folder is not a file: deleteFile leaves it, deleteFolder removes it with its content.
    EXPECT_TRUE(files.deleteFile(gbkPath(dir, "sub"), false));
    EXPECT_TRUE(files.folderExists(gbkPath(dir, "sub")));
    EXPECT_TRUE(files.deleteFolder(gbkPath(dir, "sub"), true));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "sub"));
}

TEST_F(FileSystemOnDisk, MoveNeverOverwritesAnExistingTarget) {
    dir.write("a.txt", "source");
    dir.write("b.txt", "target");
    EXPECT_FALSE(files.moveFile(gbkPath(dir, "a.txt"), gbkPath(dir, "b.txt")));
    EXPECT_EQ(readBytes(dir.path() / "a.txt"), "source");
    EXPECT_EQ(readBytes(dir.path() / "b.txt"), "target");

    EXPECT_TRUE(files.moveFile(gbkPath(dir, "a.txt"), gbkPath(dir, "文章.txt")));
    EXPECT_EQ(readBytes(dir.path() / "文章.txt"), "source");
    EXPECT_FALSE(files.fileExists(gbkPath(dir, "a.txt")));
    // Onto itself, or only a change of letter case.
    EXPECT_TRUE(files.moveFile(gbkPath(dir, "b.txt"), gbkPath(dir, "b.txt")));
    EXPECT_TRUE(files.moveFile(gbkPath(dir, "b.txt"), gbkPath(dir, "B.txt")));
    EXPECT_EQ(readBytes(dir.path() / "B.txt"), "target");
}

TEST_F(FileSystemOnDisk, MovesIntoAFolderNamedWithATrailingSeparator) {
    dir.write("a.txt", "x");
    files.createFolder(gbkPath(dir, "into"));
    EXPECT_TRUE(files.moveFile(gbkPath(dir, "a.txt"), gbkPath(dir, "into/")));
    EXPECT_EQ(readBytes(dir.path() / "into" / "a.txt"), "x");
    EXPECT_TRUE(files.moveFolder(gbkPath(dir, "into"), gbkPath(dir, "moved")));
    EXPECT_TRUE(files.fileExists(gbkPath(dir, "moved/a.txt")));
}

TEST_F(FileSystemOnDisk, CopyIsTrueOnlyWhenItCopied) {
    dir.write("a.txt", "new");
    dir.write("b.txt", "old");
    EXPECT_FALSE(files.copyFile(gbkPath(dir, "a.txt"), gbkPath(dir, "b.txt"), false));
    EXPECT_EQ(readBytes(dir.path() / "b.txt"), "old");
    EXPECT_TRUE(files.copyFile(gbkPath(dir, "a.txt"), gbkPath(dir, "b.txt")));
    EXPECT_EQ(readBytes(dir.path() / "b.txt"), "new");
    EXPECT_FALSE(files.copyFile(gbkPath(dir, "missing"), gbkPath(dir, "c.txt")));

    dir.write("tree/x/y.txt", "y");
    EXPECT_TRUE(files.copyFolder(gbkPath(dir, "tree"), gbkPath(dir, "copy")));
    EXPECT_EQ(readBytes(dir.path() / "copy" / "x" / "y.txt"), "y");
}

TEST_F(FileSystemOnDisk, FolderCollectionsHoldFilesOrSubfoldersOnly) {
    dir.write("文章一.htm", "1");
    dir.write("b.txt", "2");
    dir.write("子目录/c.htm", "3");
    const FolderItem folder = files.getFolder(fromNativePath(dir.path()));
    ASSERT_FALSE(folder.isEmpty());

    const auto namesOf = [](const FsCollection& collection, bool asFolders) {
        std::vector<std::string> names;
        CollectionEnumerator walk;
        EXPECT_TRUE(walk.begin(collection));
        while (auto object = walk.next()) {
            if (asFolders) {
                FolderItem item;
                item.attach(*object);
                names.push_back(gbkToUtf8(item.name()));
            } else {
                FileItem item;
                item.attach(*object);
                names.push_back(gbkToUtf8(item.name()));
            }
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    EXPECT_EQ(namesOf(folder.items(false), false),
              (std::vector<std::string>{"b.txt", "文章一.htm"}));
    EXPECT_EQ(namesOf(folder.items(true), true), (std::vector<std::string>{"子目录"}));
    EXPECT_EQ(folder.size(), 3u);
    EXPECT_TRUE(files.getFolder(gbkPath(dir, "missing")).isEmpty());
}

TEST(CollectionEnumerator, RefusesEverythingWithoutAWalk) {
    CollectionEnumerator walk;
    EXPECT_FALSE(walk.next());
    EXPECT_FALSE(walk.reset());
    EXPECT_FALSE(walk.skip(1));
    EXPECT_EQ(walk.rawReset(), CollectionEnumerator::Result::NoWalk);
    EXPECT_FALSE(walk.begin(FolderItem().files()));
}

TEST_F(FileSystemOnDisk, CopiesOfAnItemShareItsObject) {
    dir.write("a.txt", "x");
    FileItem first = files.getFile(gbkPath(dir, "a.txt"));
    const FileItem second = first;
    EXPECT_TRUE(first.setName(utf8ToGbk("新名.txt")));
    EXPECT_EQ(gbkToUtf8(second.name()), "新名.txt");
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "新名.txt"));
}

TEST_F(FileSystemOnDisk, TextStreamsRoundTripGbkThroughUnicodeFiles) {
    const std::string path = gbkPath(dir, "s.txt");
    TextStreamItem out = files.createTextFile(path, true, true);
    ASSERT_FALSE(out.isEmpty());
    EXPECT_TRUE(out.writeLine(utf8ToGbk("第一行")));
    EXPECT_TRUE(out.write(utf8ToGbk("二𠀀x")));
    out.close();
    EXPECT_TRUE(readBytes(dir.path() / "s.txt").starts_with("\xFF\xFE"));

    TextStreamItem in = files.openTextFile(path, IoMode::ForReading, false, StreamFormat::Unicode);
    EXPECT_EQ(gbkToUtf8(in.readLine()), "第一行");
    EXPECT_EQ(in.line(), 2);
    EXPECT_EQ(gbkToUtf8(in.read(2)), "二𠀀");
    EXPECT_EQ(in.column(), 3);
    EXPECT_FALSE(in.atEndOfStream());
    EXPECT_EQ(in.readAll(), "x");
    EXPECT_TRUE(in.atEndOfStream());
    EXPECT_FALSE(in.write("no"));
    EXPECT_TRUE(files.createTextFile(path, false, false).isEmpty());
}

}  // namespace
}  // namespace yelian
