// The articles of one run, each file read once. A page needs the title and link of its
// neighbours and of randomly drawn articles; those are derived once per file and kept. The
// body of a file read ahead of its own turn (as a successor or a random draw) is kept only
// until its own page takes it, so memory holds titles and links plus the bodies still ahead.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/article_reader.h"

namespace yelian {

class ArticleCache {
  public:
    // Derives the entry of one file; called once per distinct path.
    using Deriver = std::function<ArticleEntry(std::string_view path)>;

    // The job must stay unchanged while the cache lives.
    ArticleCache(const std::vector<std::string>& job, Deriver derive);

    struct TitleAndLink {
        const std::string& title;
        const std::string& link;
    };
    // Title and link of job entry i (0-based).
    TitleAndLink titleAndLink(std::size_t i);

    // The whole entry of job entry i for its own page. Each job entry is taken once; a file
    // that occurs again later in the job keeps its body for that later turn.
    ArticleEntry take(std::size_t i);

  private:
    struct Slot {
        bool derived = false;
        std::string title;
        std::string link;
        // The body and encoding while a turn of this file is still ahead.
        std::optional<std::string> content;
        TextEncoding encoding = TextEncoding::Auto;
        std::string problem;
        // Job entries of this file whose page has not yet taken it.
        std::size_t turnsLeft = 0;
    };

    Slot& derived(std::size_t i);

    const std::vector<std::string>& job_;
    Deriver derive_;
    std::vector<std::size_t> slotOfEntry_;
    std::vector<Slot> slots_;
};

}  // namespace yelian
