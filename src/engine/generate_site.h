// The page generation run: one page per article of a job, written into the folder "单页目录"
// beside the first article, chained by previous, next and random links, with keywords
// inserted into the bodies and the articles listed on list pages when those are enabled. The
// run reads its options from the main window when it needs them, shows its progress in the
// window caption, lets the window process events after every step, and stops before the next
// article when the stop flag is set. It reports how it ended; the caller shows the report.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/generation.h"
#include "support/file_env.h"
#include "support/random_source.h"
#include "support/text_encoding.h"

namespace yelian {

// Runs the job. The job is shuffled in place unless "按顺序" is ticked. Nothing is written
// when the job is empty, when the title pattern in use does not compile (End::Refused) or
// when the user cancels the question about unequal random tags (End::Cancelled). Pages that
// cannot be written, article pages and list pages alike, are skipped and counted; the run
// goes on.
RunOutcome generateSite(GenerationContext& context, GenerationJob& job);

// How a run reads an article file. Each distinct path of a job is read exactly once.
using ArticleFileReader =
    std::function<TextReadResult(std::string_view path, TextEncoding requested)>;

// generateSite reading the articles through readFile (tests watch the reads with it).
RunOutcome generateSite(GenerationContext& context, GenerationJob& job,
                        const ArticleFileReader& readFile);

// generateSite reading the articles and the template file and writing every page through
// files (tests put a failing file system under a run with it).
RunOutcome generateSite(GenerationContext& context, GenerationJob& job, FileEnv& files);

// A random permutation of the list, drawn from a fresh ShuffleBag.
std::vector<std::string> shuffleList(std::vector<std::string> list, RandomSource& random);

}  // namespace yelian
