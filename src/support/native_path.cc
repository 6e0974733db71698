// Conversion between internal GBK paths and the UTF-8 names on disk.
#include "support/native_path.h"

#include <algorithm>

#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

bool isAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool existsOnDisk(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

}  // namespace

namespace {

// Walks the path's names, crossing each into its name on disk. ambiguous is set when a name
// exists on disk both as its UTF-8 form and as its raw GBK bytes.
std::filesystem::path walkNativePath(std::string_view gbkPath, bool& ambiguous) {
    // A name that came from disk as bytes that were never UTF-8 must reach the disk as those
    // bytes again: where the converted name does not exist but the raw one does, take the raw.
    std::filesystem::path native;
    std::size_t start = 0;
    while (start <= gbkPath.size()) {
        std::size_t end = gbkPath.find(kPathSeparator, start);
        if (end == std::string_view::npos) end = gbkPath.size();
        const std::string_view part = gbkPath.substr(start, end - start);
        std::string converted = isAscii(part) ? std::string(part) : gbkToUtf8(part);
        if (!isAscii(part) && converted != part && existsOnDisk(native / std::string(part))) {
            if (existsOnDisk(native / converted)) {
                ambiguous = true;
            } else {
                converted = std::string(part);
            }
        }
        native += converted;
        if (end < gbkPath.size()) native += kPathSeparator;
        start = end + 1;
    }
    return native;
}

}  // namespace

std::filesystem::path toNativePath(std::string_view gbkPath) {
    bool ambiguous = false;
    return walkNativePath(gbkPath, ambiguous);
}

Expected<std::filesystem::path> toUnambiguousNativePath(std::string_view gbkPath) {
    bool ambiguous = false;
    std::filesystem::path native = walkNativePath(gbkPath, ambiguous);
    if (ambiguous) {
        return Error{
            "文件夹中有两个文件名写法不同（UTF-8 与 GBK）但文字相同的文件，无法确定是哪一个"_gbk};
    }
    return native;
}

std::string fromNativePath(const std::filesystem::path& path) {
    const std::string& native = path.native();
    return isValidUtf8(native) ? utf8ToGbk(native) : native;
}

}  // namespace yelian
