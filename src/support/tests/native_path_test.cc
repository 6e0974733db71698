#include "support/native_path.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/gbk_text.h"
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

}  // namespace
}  // namespace yelian
