// The contract of a generation run: what a run is given and what it reports. The import
// handlers and the command line build a GenerationContext from the application's objects and
// hand generateSite a job of article paths.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "controls/control_ops.h"
#include "support/random_source.h"

namespace yelian {

class KeywordInserter;
class RegexObject;

// An ordered list of article paths (GBK text).
using GenerationJob = std::vector<std::string>;

// What a run needs from the application. The stop flag is set by a second click on the
// running import button (a handler that runs inside processPendingEvents) and read before
// each article. The keyword insertion belongs to the application because its word and
// address bags outlive the runs.
struct GenerationContext {
    Ui ui;
    RandomSource& random;
    RegexObject& titlePattern;
    bool& stopRequested;
    KeywordInserter& keywords;
};

// How a run ended; the report shown to the user is built from it.
struct RunOutcome {
    enum class End {
        Nothing,    // empty job: nothing happened
        Cancelled,  // cancelled at a question before any page was written
        Finished,   // every article was handled
        Stopped,    // the stop flag ended the run early
        Refused,    // an option made the run impossible (e.g. a title pattern that does not
                    // compile); nothing was written and `problem` says why
    };
    End end = End::Nothing;
    std::string outputFolder;
    std::int64_t articlesDone = 0;
    // Pages of every kind: the article pages and the list pages. A list page that was not
    // written because its link leads out of the output folder counts as failed.
    std::int64_t pagesWritten = 0;
    std::int64_t pagesFailed = 0;
    // The first page that failed (for a list page refused for its link: that link).
    std::string firstFailedPath;
    // Every page that failed, as "path：reason" (GBK), in the order they failed; a failed
    // write of a list page may have no note beyond firstFailedPath.
    std::vector<std::string> failureNotes;
    // Of pagesWritten, the list pages.
    std::int64_t listPagesWritten = 0;
    std::string problem;
    std::int64_t elapsedMilliseconds = 0;
};

}  // namespace yelian
