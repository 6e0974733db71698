// The command line: "yelian generate [OPTIONS] PATH...", its help, and its exit statuses.
#include "cli/cli.h"

#include <filesystem>
#include <istream>
#include <ostream>
#include <span>
#include <system_error>

#include "cli/fetch_command.h"
#include "cli/generate_arguments.h"
#include "cli/main_window_settings.h"
#include "cli/recognise_command.h"
#include "cli/settings_command.h"
#include "cli/template_command.h"
#include "cli/terminal_desktop.h"
#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "engine/generate_site.h"
#include "engine/import_jobs.h"
#include "shell/application.h"
#include "shell/import_handlers.h"
#include "support/native_path.h"
#include "taggen/phrase_groups.h"
#include "yelian_version.h"

namespace yelian {

using namespace yelian::literals;

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMainHelp = R"(Usage: yelian COMMAND [OPTIONS]

Commands:
  generate    build the pages of a static site from article files and folders
  recognise   find the article element and title of a saved web page (JSON)
  settings    show the main window's settings; set and save them with --save
  fetch       download a web page as the template maker does and print it (UTF-8)
  template    make a page template from an article page (address or saved file)

Options:
  -h, --help  show this help; "yelian COMMAND --help" shows the options of a command
                yelian settings --help
  --version   show the version

Examples:
  yelian generate --template 2 --yes articles/
  yelian recognise page.htm
  yelian settings --set 选择框按顺序=真 --save
  yelian fetch https://example.com/news/1.html
  yelian template https://example.com/news/1.html -o template.htm
)";

constexpr std::string_view kGenerateHelp = R"(Usage: yelian generate [OPTIONS] PATH...

Writes one page per article into the folder "单页目录" beside the first article of the job,
as the desktop program's import buttons do, with the main window's settings. The job is
shuffled first unless 选择框按顺序 is ticked, so the folder is beside whichever article
comes first after shuffling (the same folder when all articles come from one folder).

Each PATH is an article file, or a folder whose files are listed like the folder import
(filter of 编辑框目录过滤, default "*.htm"), sorted by name so that runs repeat. The job is
the PATHs in the order given.

Options:
  --settings FILE    restore the main window from FILE as the desktop program's start
                     does (section "主界面" and its side files, the template page, the
                     phrase groups and the current group "当前词"); a FILE that does not
                     exist restores like a first start. Default: the desktop program's
                     settings file. Settings are never written ("yelian settings --save"
                     writes them).
                       yelian generate --settings ~/site.ini articles/
  --set NAME=VALUE   set one main-window control by name before the run (repeatable): an
                     edit box's text (line breaks become CR LF); a check box or radio
                     button with 真/假, 1/0 or true/false; a combo box's item index
                     (组合框词 also takes any other text as its phrase group);
                     选择夹模板's page index.
                       yelian generate --set 选择框按顺序=真 --set 编辑框目录过滤=*.txt dir/
  --template N       use template N (1 to 5), the same as --set 选择夹模板=N-1
                       yelian generate --template 2 a.txt b.txt
  --seed N           fix the random generator, so that a run can be repeated exactly
                       yelian generate --seed 42 articles/
  -y, --yes          answer OK/Yes to the run's questions (the random-count warning);
                     without it they are asked on the terminal, and cancelled when standard
                     input is not a terminal
                       yelian generate --yes articles/
  -q, --quiet        show no progress bar
                       yelian generate --quiet articles/
  -h, --help         show this help
                       yelian generate --help

Ctrl-C stops after the current article, closes the open list page and prints the report.
The report goes to standard error, the output folder's path to standard output.

A page is never written over an article of the job, over a page the same run wrote for
another article, or through a symbolic link: such a page, and the page of an article that
cannot be read, counts as not written and is named with its reason on standard error.

Exit status: 0 every page written; 1 some pages could not be written; 2 usage or
settings error; 3 cancelled at a question; 74 standard output could not be written;
130 stopped with Ctrl-C.
)";

int usageError(std::ostream& err, std::string_view message) {
    err << "yelian generate: " << message << "\nTry 'yelian generate --help'.\n";
    return kExitUsage;
}

// The job from the PATHs: files as they are, folders listed with the folder filter, by name.
std::optional<std::string> collectJob(const std::vector<std::string>& paths,
                                      std::string_view filter, GenerationJob& job) {
    for (const std::string& path : paths) {
        std::error_code error;
        const fs::path absolute = fs::absolute(toNativePath(utf8ToGbk(path)), error);
        const std::string gbk = fromNativePath(absolute.lexically_normal());
        if (!error && fs::is_regular_file(absolute, error)) {
            job.push_back(gbk);
        } else if (!error && fs::is_directory(absolute, error)) {
            for (std::string& file : listFolderFiles(gbk, filter, ListingOrder::ByName)) {
                job.push_back(std::move(file));
            }
        } else {
            return "no such article file or folder: " + path;
        }
    }
    return std::nullopt;
}

int exitStatusOf(const RunOutcome& outcome, bool interrupted) {
    if (interrupted) return kExitInterrupted;
    switch (outcome.end) {
        case RunOutcome::End::Cancelled:
            return kExitCancelled;
        case RunOutcome::End::Refused:
            return kExitUsage;
        case RunOutcome::End::Nothing:
            return kExitAllWritten;
        case RunOutcome::End::Finished:
        case RunOutcome::End::Stopped:
            break;
    }
    return outcome.pagesFailed > 0 ? kExitPagesFailed : kExitAllWritten;
}

int generate(std::span<const std::string> args, std::istream& in, std::ostream& out,
             std::ostream& err, const CliEnvironment& environment) {
    const ParsedGenerate parsed = parseGenerateArguments(args);
    if (!parsed.error.empty()) return usageError(err, parsed.error);
    const GenerateArguments& options = parsed.arguments;
    if (options.help) {
        out << kGenerateHelp;
        return kExitAllWritten;
    }

    RecordControls controls{mainWindowSpec()};
    TerminalDesktop desktop(controls, in, out, err,
                            {.assumeYes = options.yes,
                             .canAsk = environment.inputIsTerminal,
                             .showProgress = environment.errorIsTerminal && !options.quiet,
                             .interrupted = environment.interrupted});
    // The run is built as the desktop program builds it, from the application's objects.
    Application app(controls, desktop);
    desktop.onInterrupt([&app] { app.stopRequested() = true; });

    std::string settingsFile = defaultSettingsFile(environment);
    if (options.settingsFile) {
        Expected<std::string> named = settingsFileOfArgument(*options.settingsFile);
        if (!named) return usageError(err, named.error().message);
        settingsFile = std::move(*named);
    }
    if (auto problem = readMainWindowSettings({controls, desktop}, settingsFile)) {
        return usageError(err, *problem);
    }
    if (auto problem = assignControls(controls, options.assignments)) {
        return usageError(err, *problem);
    }
    if (controls.selectedIndex(kMainWindow, kTemplateTabs) > 4) {
        err << terminalText(kChooseTemplatePageMessage) << '\n';
        return kExitUsage;
    }

    GenerationJob job;
    if (auto problem =
            collectJob(options.paths, controls.text(kMainWindow, kFolderFilterEdit), job)) {
        return usageError(err, *problem);
    }

    if (options.seed) app.random().seed(*options.seed);
    GenerationContext context = app.generationContext();
    desktop.setJobSize(job.size());
    const RunOutcome outcome = generateSite(context, job);
    desktop.clearProgress();

    switch (outcome.end) {
        case RunOutcome::End::Nothing:
            err << "yelian generate: no article files to generate from\n";
            break;
        case RunOutcome::End::Refused:
            err << terminalText(outcome.problem) << '\n';
            break;
        case RunOutcome::End::Cancelled:
            break;
        case RunOutcome::End::Finished:
        case RunOutcome::End::Stopped:
            for (const std::string& note : outcome.failureNotes) {
                err << "yelian generate: " << terminalText(note) << '\n';
            }
            err << terminalText(runSummaryText(outcome) + "，已保存在这个目录："_gbk +
                                outcome.outputFolder)
                << '\n';
            out << terminalText(outcome.outputFolder) << '\n';
            break;
    }
    return exitStatusOf(outcome, desktop.wasInterrupted());
}

}  // namespace

int finishStandardOutput(std::ostream& out, std::ostream& err, int status) {
    out.flush();
    if (out) return status;
    err << "yelian: " << terminalText("无法写入标准输出（磁盘已满或管道已关闭），输出已丢失"_gbk)
        << '\n';
    return kExitOutputLost;
}

int runCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, const CliEnvironment& environment) {
    if (args.empty()) {
        err << kMainHelp;
        return kExitUsage;
    }
    const std::string& command = args.front();
    if (command == "--help" || command == "-h" || command == "help") {
        out << kMainHelp;
        return kExitAllWritten;
    }
    if (command == "--version") {
        out << "yelian " << kVersion << '\n';
        return kExitAllWritten;
    }
    if (command == "generate") {
        return generate(std::span(args).subspan(1), in, out, err, environment);
    }
    if (command == "recognise") {
        return runRecognise(std::span(args).subspan(1), out, err, environment);
    }
    if (command == "fetch") return runFetch(std::span(args).subspan(1), out, err);
    if (command == "template") {
        return runTemplate(std::span(args).subspan(1), out, err, environment);
    }
    if (command == "settings") {
        return runSettings(std::span(args).subspan(1), in, out, err, environment);
    }
    err << "yelian: unknown command '" << command << "'\n\n" << kMainHelp;
    return kExitUsage;
}

}  // namespace yelian
