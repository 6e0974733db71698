// Articles read once per run.
#include "engine/article_cache.h"

#include <utility>

namespace yelian {

ArticleCache::ArticleCache(const std::vector<std::string>& job, Deriver derive)
    : job_(job), derive_(std::move(derive)) {
    std::unordered_map<std::string_view, std::size_t> slotOfPath;
    slotOfPath.reserve(job.size());
    slotOfEntry_.reserve(job.size());
    for (const std::string& path : job) {
        const auto [found, inserted] = slotOfPath.try_emplace(path, slotOfPath.size());
        if (inserted) slots_.emplace_back();
        slotOfEntry_.push_back(found->second);
        ++slots_[found->second].turnsLeft;
    }
}

ArticleCache::Slot& ArticleCache::derived(std::size_t i) {
    Slot& slot = slots_[slotOfEntry_[i]];
    if (!slot.derived) {
        ArticleEntry entry = derive_(job_[i]);
        slot.derived = true;
        slot.title = std::move(entry.title);
        slot.link = std::move(entry.link);
        slot.encoding = entry.encoding;
        slot.problem = std::move(entry.problem);
        if (slot.turnsLeft > 0) {
            // Held until its own page; decoding may have left spare capacity behind.
            entry.content.shrink_to_fit();
            slot.content = std::move(entry.content);
        }
    }
    return slot;
}

ArticleCache::TitleAndLink ArticleCache::titleAndLink(std::size_t i) {
    const Slot& slot = derived(i);
    return {slot.title, slot.link};
}

ArticleEntry ArticleCache::take(std::size_t i) {
    Slot& slot = derived(i);
    ArticleEntry entry;
    entry.sourcePath = job_[i];
    entry.title = slot.title;
    entry.link = slot.link;
    entry.encoding = slot.encoding;
    entry.problem = slot.problem;
    if (slot.turnsLeft > 0) --slot.turnsLeft;
    if (slot.content) {
        if (slot.turnsLeft > 0) {
            entry.content = *slot.content;
        } else {
            entry.content = std::move(*slot.content);
            slot.content.reset();
        }
    }
    return entry;
}

}  // namespace yelian
