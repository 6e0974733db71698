// Making a page template from an article page, as the template maker window does.
#include "cli/template_command.h"

#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

#include "cli/argument_walk.h"
#include "cli/clock_desktop.h"
#include "cli/terminal_desktop.h"
#include "shell/web_pages.h"
#include "support/gbk_text.h"
#include "support/text_encoding.h"
#include "templatemaker/body_candidates.h"
#include "templatemaker/template_maker.h"
#include "web/web_text.h"

namespace yelian {

using namespace yelian::literals;

namespace {

constexpr std::string_view kTemplateHelp = R"(Usage: yelian template [OPTIONS] URL|FILE

Makes a page template from an article page as the template maker does: the title element
becomes "<title>#本篇标题#</title> ", the description meta tag's content "#描述#", the
article element "#导入的文件内容#" and the article's title "#本篇标题#". The template goes
to standard output in UTF-8.

An operand that begins with "http://" or "https://" (any case) is downloaded as the
template maker downloads it (see 'yelian fetch --help'); any other operand is a saved page
file, read in its detected encoding.

Options:
  --no-body      only the title and the description, no recognition (the right click
                 of 生成模板)
                   yelian template --no-body https://example.com/news/1.html
  --pick K       put the body tag in place of candidate K (1 to 5) of the blocks that
                 'yelian recognise --candidates 5' lists, instead of the recognition's pick
                   yelian template --pick 2 saved/article.html
  -o, --output OUT
                 write the template to OUT instead of standard output
                   yelian template https://example.com/a.html -o template.htm
  -h, --help     show this help

Exit status: 0 template made; 1 the recognition found no article element (the template
is still written, with the title and description replaced), the page offers fewer than K
candidates, the download failed, or OUT could not be written; 2 usage error or an
unreadable FILE; 130 stopped with Ctrl-C.
)";

struct TemplateArguments {
    bool help = false;
    bool withBody = true;
    int pick = 0;
    std::optional<std::string> output;
    std::vector<std::string> operands;
};

struct ParsedTemplate {
    TemplateArguments arguments;
    std::string error;
};

ParsedTemplate parseTemplateArguments(std::span<const std::string> args) {
    ParsedTemplate parsed;
    TemplateArguments& out = parsed.arguments;
    std::string& error = parsed.error;
    ArgumentWalk walk(args);
    std::string value;
    while (!walk.done() && error.empty()) {
        const std::string_view arg = walk.take();
        if (walk.operandOrHelp(arg, out.operands, out.help)) {
            continue;
        } else if (arg == "--no-body") {
            out.withBody = false;
        } else if (walk.option(arg, "--pick", value, error)) {
            if (!error.empty()) break;
            if (value.size() == 1 && value[0] >= '1' && value[0] <= '5') {
                out.pick = value[0] - '0';
            } else {
                error = "--pick expects a number from 1 to 5, not '" + value + "'";
            }
        } else if (walk.option(arg, "--output", value, error) ||
                   walk.option(arg, "-o", value, error)) {
            if (!error.empty()) break;
            out.output = value;
        } else {
            error = "unknown option '" + std::string(arg) + "'";
        }
    }
    if (error.empty() && !out.help && out.operands.size() != 1) {
        error = out.operands.empty()
                    ? "no URL or FILE given: name the article page"
                    : "one page at a time, not " + std::to_string(out.operands.size());
    }
    if (error.empty() && out.pick > 0 && !out.withBody) {
        error = "--pick chooses a body, --no-body leaves it out: give one of them";
    }
    return parsed;
}

int usageError(std::ostream& err, std::string_view message) {
    err << "yelian template: " << message << "\nTry 'yelian template --help'.\n";
    return kExitUsage;
}

bool isAddress(std::string_view operand) {
    const std::string start = lowerAscii(operand.substr(0, 8));
    return start.starts_with("http://") || start.starts_with("https://");
}

// The template with candidate pick (from 1) as the body; nothing when the page has fewer.
std::optional<std::string> templateWithCandidate(BodyExtractor& extractor, const MadeTemplate& made,
                                                 int pick) {
    const std::vector<BodyCandidate> candidates =
        bodyCandidates(extractor, made.page, made.recognition, pick);
    if (static_cast<int>(candidates.size()) < pick) return std::nullopt;
    return replaceBodyAndTitle(made.page, candidates[static_cast<std::size_t>(pick - 1)].markup,
                               made.recognition.title);
}

int writeTemplate(std::string_view text, const std::optional<std::string>& output,
                  std::ostream& out, std::ostream& err) {
    const std::string utf8 = gbkToUtf8(text);
    if (!output) {
        out << utf8;
        return kExitAllWritten;
    }
    if (!writeTextFile(utf8ToGbk(*output), text, TextEncoding::Utf8).written) {
        err << "yelian template: cannot write " << *output << '\n';
        return kExitPagesFailed;
    }
    return kExitAllWritten;
}

}  // namespace

int runTemplate(std::span<const std::string> args, std::ostream& out, std::ostream& err,
                const CliEnvironment& environment) {
    const ParsedTemplate parsed = parseTemplateArguments(args);
    if (!parsed.error.empty()) return usageError(err, parsed.error);
    const TemplateArguments& options = parsed.arguments;
    if (options.help) {
        out << kTemplateHelp;
        return kExitAllWritten;
    }

    const std::string& operand = options.operands.front();
    std::string page;
    if (isAddress(operand)) {
        ClockDesktop desktop;
        WebPageSource pages(desktop);
        page = readPage(pages, utf8ToGbk(operand));
        if (pages.lastError()) {
            err << "yelian template: " << terminalText(pages.lastError()->message) << '\n';
            return kExitDownloadFailed;
        }
    } else {
        const TextReadResult read = readTextFile(utf8ToGbk(operand), TextEncoding::Auto);
        if (!read.readable) {
            return usageError(err, "cannot read the page file " + operand + " (" +
                                       terminalText(read.problem) + ")");
        }
        page = read.text;
    }

    BodyExtractor extractor(
        {}, [&environment] { return !(environment.interrupted && environment.interrupted()); });
    const MadeTemplate made = makeTemplateFromPage(page, options.withBody, extractor);
    if (made.recognition.failure == RecognitionFailure::Stopped) {
        err << "yelian template: stopped\n";
        return kExitInterrupted;
    }
    std::string text = made.text;
    if (options.pick > 0) {
        const std::optional<std::string> chosen =
            templateWithCandidate(extractor, made, options.pick);
        if (!chosen) {
            err << "yelian template: the page offers fewer than " << options.pick
                << " candidate blocks\n";
            return kExitRecognitionFailed;
        }
        text = *chosen;
    }
    const int written = writeTemplate(text, options.output, out, err);
    if (written != kExitAllWritten) return written;
    if (made.recognitionFailed && options.pick == 0) {
        err << "yelian template: " << terminalText(kRecognitionFailedMessage) << '\n';
        return kExitRecognitionFailed;
    }
    return kExitAllWritten;
}

}  // namespace yelian
