// The pages of one generation run: which files it has written and which files are its
// articles, so that no page replaces an article of the job or a page the same run wrote for
// another article; and the reasons of the pages that failed, for the run's report.
//
// Files are told apart by device and inode, so two spellings of one file (a link, a folder
// named twice) are one file.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/generation.h"
#include "support/expected.h"

namespace yelian {

class RunPages {
  public:
    // Notes the files of the job as they are before the first page is written.
    explicit RunPages(const GenerationJob& job);

    // Whether the page at the GBK path may be written for the article at source (empty for a
    // list page): refused when the path is an article of the job, or a page this run wrote
    // for another source. The same source may write its page again (an article listed twice).
    Expected<void> mayWrite(std::string_view path, std::string_view source) const;
    // After the page at the path was written for source.
    void written(std::string_view path, std::string_view source);

    // A page that failed, with the reason in the system's words.
    void failed(std::string_view path, std::string_view reason);
    const std::vector<std::string>& failureNotes() const { return notes_; }

  private:
    // Device and inode.
    using Identity = std::pair<unsigned long long, unsigned long long>;
    static std::optional<Identity> identityOf(std::string_view path);

    std::set<Identity> articles_;
    // The source each written page was made for.
    std::map<Identity, std::string> written_;
    std::vector<std::string> notes_;
};

}  // namespace yelian
