// Output claims of one run, by file identity.
#include "engine/run_pages.h"

#include <sys/stat.h>

#include "support/gbk_text.h"
#include "support/native_path.h"

namespace yelian {

using namespace yelian::literals;

RunPages::RunPages(const GenerationJob& job) {
    for (const std::string& path : job) {
        if (const auto identity = identityOf(path)) articles_.insert(*identity);
    }
}

std::optional<RunPages::Identity> RunPages::identityOf(std::string_view path) {
    struct stat status {};
    if (::stat(toNativePath(path).c_str(), &status) != 0) return std::nullopt;
    return Identity{status.st_dev, status.st_ino};
}

Expected<void> RunPages::mayWrite(std::string_view path, std::string_view source) const {
    const auto identity = identityOf(path);
    // A page that does not exist yet replaces nothing.
    if (!identity) return {};
    if (articles_.contains(*identity)) {
        return Error{"页面会覆盖本次生成的文章文件，未写入"_gbk};
    }
    const auto page = written_.find(*identity);
    if (page != written_.end() && page->second != source) {
        return Error{"与本次生成的另一个页面同名（"_gbk +
                     (page->second.empty() ? "列表页"_gbk : page->second) +
                     "），后一个页面未写入"_gbk};
    }
    return {};
}

void RunPages::written(std::string_view path, std::string_view source) {
    if (const auto identity = identityOf(path)) written_[*identity] = std::string(source);
}

void RunPages::failed(std::string_view path, std::string_view reason) {
    notes_.push_back(std::string(path) + "："_gbk + std::string(reason));
}

}  // namespace yelian
