#include "support/native_path.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/gbk_text.h"
#include "support/text_encoding.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;

TEST(NativePath, ChineseNamesAreUtf8OnDiskAndGbkInside) {
    testing::TempDir dir;
    const std::string gbkPath = fromNativePath(dir.path()) + "/" + "文章.txt"_gbk;
    std::ofstream(toNativePath(gbkPath)) << "x";
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "文章.txt"));
    EXPECT_EQ(fromNativePath(dir.path() / "文章.txt"), gbkPath);
}

TEST(NativePath, NamesOnDiskThatAreNotUtf8RoundTripAsRawBytes) {
    testing::TempDir dir;
    const std::filesystem::path raw = dir.path() / "\xB0\xA1\xFF" / "\xC4\xE3.txt";
    std::filesystem::create_directory(raw.parent_path());
    std::ofstream(raw) << "x";
    EXPECT_EQ(toNativePath(fromNativePath(raw)), raw);
    // A new name beside them is written as UTF-8.
    const std::string sibling = fromNativePath(raw.parent_path()) + "/" + "新"_gbk;
    EXPECT_EQ(toNativePath(sibling), raw.parent_path() / "新");
}

TEST(NativePath, ANameOnDiskInBothSpellingsIsNeverReadForTheOther) {
    testing::TempDir dir;
    std::ofstream(dir.path() / "\xC4\xE3.htm") << "raw";
    std::ofstream(dir.path() / "你.htm") << "utf8";
    const std::string gbkPath = fromNativePath(dir.path() / "\xC4\xE3.htm");
    EXPECT_EQ(gbkPath, fromNativePath(dir.path() / "你.htm"));
    const Expected<std::filesystem::path> native = toUnambiguousNativePath(gbkPath);
    ASSERT_FALSE(native);
    EXPECT_NE(native.error().message.find("写法不同"_gbk), std::string::npos);
    const TextReadResult read = readTextFile(gbkPath, TextEncoding::Auto);
    EXPECT_FALSE(read.readable);
    EXPECT_EQ(read.problem, native.error().message);

    std::filesystem::remove(dir.path() / "你.htm");
    EXPECT_EQ(readTextFile(gbkPath, TextEncoding::Auto).text, "raw");
}

}  // namespace
}  // namespace yelian
