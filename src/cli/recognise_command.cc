// Recognising the article element and title of a page file.
#include "cli/recognise_command.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

#include "cli/argument_walk.h"
#include "cli/json_text.h"
#include "cli/terminal_desktop.h"
#include "support/gbk_text.h"
#include "support/native_path.h"
#include "support/text_encoding.h"
#include "templatemaker/body_candidates.h"
#include "templatemaker/body_extractor.h"

namespace yelian {

using namespace yelian::literals;
namespace {

constexpr std::string_view kRecogniseHelp = R"(Usage: yelian recognise [OPTIONS] FILE

Finds the article element and the title of the web page saved in FILE, as the template
maker does, and prints one JSON object in UTF-8 on standard output:

  {"body":"...","title":"...","pageTitle":"...","mode":1,"failure":null}

  body       the article element's markup exactly as it stands in the page
  title      the article's title (a fitting heading, else the page title up to its site)
  pageTitle  the page's title element as one clean line
  mode       the recognition mode that gave the result (the last one tried on failure)
  failure    null on success; "no block" when no element could be chosen, or
             "low text ratio" when the best block's visible text is below 5 % of its
             markup (the template maker's marker [#文字比例低于5%#])

The page's encoding is detected (byte-order mark, meta charset, UTF-8 check; otherwise
GBK). Bytes that are no valid GBK/GB18030 come out as the private-use characters U+10FF00
plus the byte's value, so that no byte is lost.

Options:
  --candidates N
                also list up to N (1 to 5) blocks a user may have meant, the pick first,
                as "candidates":[{"body":"...","textLength":N,"kind":"..."},...];
                textLength counts the block's visible characters outside links, and kind
                says why it is offered: pick (the recognition's choice), paragraphs (the
                block that directly holds the most paragraph text), mode0 (the choice of
                mode 0), table or div (the one that lost to the pick), container (the
                element around the pick), first (the first of several posts of the same
                class that the pick holds) or length (the blocks with the most text of
                their own). When the recognition fails, the list still offers the others.
                  yelian recognise --candidates 5 page.htm
  --mode N      recognise with mode 1 (the element with the most text that no nested
                element of its kind dominates) or mode 0 (elements with equal text
                grouped, the outermost of the best group). Without --mode: mode 1, then
                mode 0 when mode 1 fails, as the template maker does.
                  yelian recognise --mode 0 page.htm
  -h, --help    show this help
                  yelian recognise --help

Example:
  yelian recognise saved/article.html > article.json

Ctrl-C stops the recognition between two of its steps.

Exit status: 0 recognised; 1 recognition failed (the JSON says why); 2 usage error or an
unreadable FILE; 130 stopped with Ctrl-C.
)";

struct RecogniseArguments {
    bool help = false;
    std::optional<RecognitionMode> mode;
    int candidates = 0;
    std::vector<std::string> files;
};

struct ParsedRecognise {
    RecogniseArguments arguments;
    std::string error;
};

ParsedRecognise parseRecogniseArguments(std::span<const std::string> args) {
    ParsedRecognise parsed;
    RecogniseArguments& out = parsed.arguments;
    std::string& error = parsed.error;
    ArgumentWalk walk(args);
    std::string value;
    while (!walk.done() && error.empty()) {
        const std::string_view arg = walk.take();
        if (walk.operandOrHelp(arg, out.files, out.help)) {
            continue;
        } else if (walk.option(arg, "--mode", value, error)) {
            if (!error.empty()) break;
            if (value == "1") {
                out.mode = RecognitionMode::Nesting;
            } else if (value == "0") {
                out.mode = RecognitionMode::Grouping;
            } else {
                error = "--mode expects 1 or 0, not '" + value + "'";
            }
        } else if (walk.option(arg, "--candidates", value, error)) {
            if (!error.empty()) break;
            if (value.size() == 1 && value[0] >= '1' && value[0] <= '5') {
                out.candidates = value[0] - '0';
            } else {
                error = "--candidates expects a number from 1 to 5, not '" + value + "'";
            }
        } else {
            error = "unknown option '" + std::string(arg) + "'";
        }
    }
    if (error.empty() && !out.help && out.files.size() != 1) {
        error = out.files.empty() ? "no FILE given: name the saved page to recognise"
                                  : "one FILE at a time, not " + std::to_string(out.files.size());
    }
    return parsed;
}

int usageError(std::ostream& err, std::string_view message) {
    err << "yelian recognise: " << message << "\nTry 'yelian recognise --help'.\n";
    return kExitUsage;
}

std::string_view failureName(RecognitionFailure failure) {
    switch (failure) {
        case RecognitionFailure::NoBlock:
            return "no block";
        case RecognitionFailure::LowTextRatio:
            return "low text ratio";
        case RecognitionFailure::Stopped:
            return "stopped";
        case RecognitionFailure::TooComplex:
            return "page too complex";
        case RecognitionFailure::None:
            break;
    }
    return {};
}

void printCandidates(std::ostream& out, const std::vector<BodyCandidate>& candidates) {
    out << ",\"candidates\":[";
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const BodyCandidate& candidate = candidates[i];
        out << (i == 0 ? "" : ",") << "{\"body\":" << jsonString(gbkToUtf8(candidate.markup))
            << ",\"textLength\":" << candidate.textLength
            << ",\"kind\":" << jsonString(candidate.kind) << "}";
    }
    out << "]";
}

void printRecognition(std::ostream& out, const Recognition& recognition, RecognitionMode mode,
                      const std::optional<std::vector<BodyCandidate>>& candidates) {
    const RecognitionFailure failure = recognition.failure;
    out << "{\"body\":" << jsonString(gbkToUtf8(recognition.body))
        << ",\"title\":" << jsonString(gbkToUtf8(recognition.title))
        << ",\"pageTitle\":" << jsonString(gbkToUtf8(recognition.pageTitle))
        << ",\"mode\":" << static_cast<int>(mode) << ",\"failure\":"
        << (failure == RecognitionFailure::None ? "null" : jsonString(failureName(failure)));
    if (candidates) printCandidates(out, *candidates);
    out << "}\n";
}

}  // namespace

int runRecognise(std::span<const std::string> args, std::ostream& out, std::ostream& err,
                 const CliEnvironment& environment) {
    const ParsedRecognise parsed = parseRecogniseArguments(args);
    if (!parsed.error.empty()) return usageError(err, parsed.error);
    const RecogniseArguments& options = parsed.arguments;
    if (options.help) {
        out << kRecogniseHelp;
        return kExitAllWritten;
    }

    const std::string& file = options.files.front();
    const TextReadResult page =
        readTextFile(fromNativePath(std::filesystem::path(file)), TextEncoding::Auto);
    if (!page.readable) {
        return usageError(
            err, "cannot read the page file " + file + " (" + terminalText(page.problem) + ")");
    }

    const std::vector<RecognitionMode> modes =
        options.mode ? std::vector{*options.mode}
                     : std::vector{RecognitionMode::Nesting, RecognitionMode::Grouping};
    BodyExtractor extractor(
        {}, [&environment] { return !(environment.interrupted && environment.interrupted()); });
    Recognition recognition;
    RecognitionMode used = modes.front();
    for (const RecognitionMode mode : modes) {
        used = mode;
        recognition = extractor.recognise(page.text, mode);
        if (recognition.failure != RecognitionFailure::NoBlock &&
            recognition.failure != RecognitionFailure::LowTextRatio) {
            break;
        }
    }
    if (recognition.failure == RecognitionFailure::Stopped) {
        err << "yelian recognise: stopped\n";
        return kExitInterrupted;
    }
    std::optional<std::vector<BodyCandidate>> candidates;
    if (options.candidates > 0) {
        candidates = bodyCandidates(extractor, page.text, recognition, options.candidates);
    }
    printRecognition(out, recognition, used, candidates);
    if (recognition.failure == RecognitionFailure::TooComplex) {
        err << "yelian recognise: "
            << terminalText(
                   "网页的元素嵌套太深，无法识别正文（每种元素连同其内容合计超过 96 MB）"_gbk)
            << '\n';
        return kExitRecognitionFailed;
    }
    if (recognition.failure != RecognitionFailure::None) {
        err << "yelian recognise: no article element recognised ("
            << failureName(recognition.failure) << ")\n";
        return kExitRecognitionFailed;
    }
    return kExitAllWritten;
}

}  // namespace yelian
