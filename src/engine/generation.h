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

class RegexObject;

// An ordered list of article paths (GBK text).
using GenerationJob = std::vector<std::string>;

// What a run needs from the application. The stop flag is set by a second click on the
// running import button (a handler that runs inside processPendingEvents) and read before
// each article.
struct GenerationContext {
    Ui ui;
    RandomSource& random;
    RegexObject& titlePattern;
    bool& stopRequested;
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
    std::int64_t pagesWritten = 0;
    std::int64_t pagesFailed = 0;
    std::string firstFailedPath;
    std::string problem;
    std::int64_t elapsedMilliseconds = 0;
};

}  // namespace yelian
