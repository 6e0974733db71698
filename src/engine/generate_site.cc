// The page generation run.
#include "engine/generate_site.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>

#include "controls/control_ops.h"
#include "controls/main_window_names.h"
#include "engine/article_cache.h"
#include "engine/article_reader.h"
#include "engine/keyword_insertion.h"
#include "engine/list_pages.h"
#include "engine/run_pages.h"
#include "engine/tag_expansion.h"
#include "support/markup_scanner.h"
#include "support/native_path.h"
#include "support/number_text.h"
#include "support/posix_file.h"
#include "support/regex_object.h"
#include "support/shared_texts.h"
#include "support/shuffle_bag.h"
#include "support/text_routines.h"

namespace yelian {
namespace {

using namespace yelian::literals;

constexpr int kTemplateCount = 5;

// The template editor of the selected tab, or nothing when a tab other than the five
// templates is selected.
std::optional<std::string> selectedTemplateText(const Controls& controls) {
    const std::array<std::string_view, kTemplateCount> editors{
        kTemplateEditor1, kTemplateEditor2, kTemplateEditor3, kTemplateEditor4, kTemplateEditor5};
    const int tab = controls.selectedIndex(kMainWindow, kTemplateTabs);
    if (tab < 0 || tab >= kTemplateCount) return std::nullopt;
    return controls.text(kMainWindow, editors[static_cast<std::size_t>(tab)]);
}

bool pathExists(FileEnv& files, std::string_view text) {
    return !text.empty() && files.status(toNativePath(text)).kind != FileKind::Missing;
}

// A template editor may hold the path of a template file instead of the template. A path that
// names something unreadable (a folder, a device, a FIFO, a file too large) refuses the run:
// pages from an empty template would be reported as written.
Expected<std::string> templateFrom(FileEnv& files, const Controls& controls, std::string text) {
    if (!pathExists(files, text)) return text;
    TextReadResult read = readTextFile(files, text, inputEncodingOf(controls));
    if (!read.readable) {
        return Error{"模板文件无法读取（"_gbk + read.problem + "）："_gbk + text};
    }
    return std::move(read.text);
}

// The folder of the first article, with "单页目录" and a final separator. A job path without
// any folder stands for the current folder, never for the root.
std::string outputFolderOf(std::string_view firstPath) {
    const std::string separator(1, kPathSeparator);
    std::string folder = folderOf(firstPath);
    if (folder.empty() && firstPath.find(kPathSeparator) == std::string_view::npos) folder = ".";
    return folder + separator + "单页目录"_gbk + separator;
}

// The extension of the index file of the folder form.
std::string indexExtensionOf(const Controls& controls) {
    std::string extension = controls.text(kMainWindow, kExtensionEdit);
    if (!controls.checked(kMainWindow, kExtensionCheck) || extension.empty()) return "html";
    return extension;
}

TextEncoding outputEncodingOf(const Controls& controls, TextEncoding detected) {
    const int index = controls.selectedIndex(kMainWindow, kOutputEncodingCombo);
    if (index <= 0 || index > static_cast<int>(TextEncoding::Big5Hkscs)) return detected;
    return static_cast<TextEncoding>(index);
}

// An output name must stay one plain name inside the output folder, whatever the article's
// file name or the extension setting hold.
bool isPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::string folderFormLink(std::string_view link) {
    return baseNameOf(link) + "/";
}

// The problem that refuses a run whose title replacement would use a pattern that does not
// compile. The pattern is compiled for every run, whether it is used or not.
std::optional<std::string> compileTitlePattern(const Controls& controls, RegexObject& pattern) {
    const std::string text = controls.text(kMainWindow, kTitlePatternEdit);
    if (pattern.create(text, true, true, true)) return std::nullopt;
    if (!controls.checked(kMainWindow, kReplaceTitleCheck) ||
        !controls.checked(kMainWindow, kUseRegexCheck)) {
        return std::nullopt;
    }
    return "标题匹配式无法使用："_gbk + text + "\r\n" + pattern.errorText();
}

// The number of random articles per page; nothing when the user cancels the question about
// unequal numbers of random title and link tags.
std::optional<std::size_t> askRandomCount(DesktopServices& desktop, std::string_view pageTemplate) {
    const int links = countOccurrences(pageTemplate, kRandomLinkTag);
    const int titles = countOccurrences(pageTemplate, kRandomTitleTag);
    if (links != titles) {
        const std::string question =
            "程序检测到模板中插入的#随机篇链接#（"_gbk + integerToText(links) +
            "个）和#随机篇标题#（"_gbk + integerToText(titles) +
            "个）数量不一致，这会导致链接混乱！\r\n\r\n继续则确认，否则请取消"_gbk;
        if (desktop.messageBox(question, "", MessageButtons::OkCancel, MessageIcon::Warning) ==
            MessageAnswer::Cancel) {
            return std::nullopt;
        }
    }
    return static_cast<std::size_t>(std::max(links, titles));
}

// One run after its checks and questions: the articles, the per-run state and the outcome.
class Run {
  public:
    Run(GenerationContext& context, const GenerationJob& job, const ArticleFileReader& readFile,
        FileEnv& files, std::string pageTemplate, std::size_t randomCount, RunOutcome& outcome)
        : controls_(context.ui.controls),
          desktop_(context.ui.desktop),
          keywords_(context.keywords),
          files_(files),
          lists_(context.ui, &pages_, files),
          job_(job),
          pages_(job),
          articles_(job,
                    [this, &context, &readFile](std::string_view path) {
                        const Controls& controls = context.ui.controls;
                        ArticleEntry entry =
                            articleFromText(controls, context.titlePattern, path,
                                            readFile(path, inputEncodingOf(controls)));
                        warnOfTitlePattern();
                        return entry;
                    }),
          titlePattern_(context.titlePattern),
          randomBag_(context.random),
          expansion_(context.ui.controls, context.random),
          pageTemplate_(std::move(pageTemplate)),
          randomCount_(randomCount),
          indexExtension_(indexExtensionOf(context.ui.controls)),
          outcome_(outcome) {}

    // Before the first article: opens the first list page and prepares the keyword insertion.
    void start(const MarkupScanner& tags);
    // Builds, writes and announces the page of job entry i (0-based).
    void makePage(std::size_t i);
    // After the last article or a stop: writes the open list page.
    void finish();
    const std::vector<std::string>& failureNotes() const { return pages_.failureNotes(); }

  private:
    struct Neighbour {
        std::string title;
        std::string link;
    };
    Neighbour neighbour(std::size_t i, bool folderForm);
    bool writePage(const ArticleEntry& article, bool folderForm, std::string_view page,
                   TextEncoding encoding);
    bool writeFile(const std::string& path, std::string_view source, std::string_view page,
                   TextEncoding encoding);
    void pageFailed(std::string path, std::string_view reason);
    void warnOfTitlePattern();
    void countListPages();

    Controls& controls_;
    DesktopServices& desktop_;
    KeywordInserter& keywords_;
    FileEnv& files_;
    ListPages lists_;
    // The list pages already counted into the outcome.
    std::int64_t listsWrittenCounted_ = 0;
    std::int64_t listsFailedCounted_ = 0;
    // The encoding the last article page was written in; the open list page is written in it.
    std::optional<TextEncoding> lastEncoding_;
    const GenerationJob& job_;
    RunPages pages_;
    ArticleCache articles_;
    RegexObject& titlePattern_;
    // The title pattern failed on a title (the engine's limits); said once per run.
    bool titlePatternWarned_ = false;
    ShuffleBag randomBag_;
    ExpansionState expansion_;
    const std::string pageTemplate_;
    const std::size_t randomCount_;
    const std::string indexExtension_;
    RunOutcome& outcome_;
};

Run::Neighbour Run::neighbour(std::size_t i, bool folderForm) {
    const ArticleCache::TitleAndLink entry = articles_.titleAndLink(i);
    return {entry.title, folderForm ? folderFormLink(entry.link) : entry.link};
}

void Run::makePage(std::size_t i) {
    const std::size_t count = job_.size();
    const bool folderForm = controls_.checked(kMainWindow, kFolderLinksCheck);

    ArticleEntry current = articles_.take(i);
    if (folderForm) current.link = folderFormLink(current.link);
    const TextEncoding encoding = outputEncodingOf(controls_, current.encoding);
    // Into this page's body only: the cache keeps the file's own body for any later turn.
    current.content =
        keywords_.insertIntoArticle({controls_, desktop_}, std::move(current.content));
    desktop_.processPendingEvents();

    const Neighbour previous =
        i == 0 ? Neighbour{"没有上一篇了"_gbk, "#"} : neighbour(i - 1, folderForm);
    desktop_.processPendingEvents();
    const Neighbour next =
        i + 1 == count ? Neighbour{"没有下一篇了"_gbk, "#"} : neighbour(i + 1, folderForm);
    desktop_.processPendingEvents();

    std::vector<std::string> randomTitles;
    std::vector<std::string> randomLinks;
    for (std::size_t k = 0; k < randomCount_; ++k) {
        const auto drawn = randomBag_.draw(1, static_cast<std::int64_t>(count));
        Neighbour random = neighbour(static_cast<std::size_t>(drawn - 1), folderForm);
        randomTitles.push_back(std::move(random.title));
        randomLinks.push_back(std::move(random.link));
        desktop_.processPendingEvents();
        desktop_.processPendingEvents();
    }
    desktop_.processPendingEvents();

    const std::string content = cutContent(controls_, std::move(current.content));
    const PageValues values{current.title, current.link, previous.title, previous.link, next.title,
                            next.link,     randomTitles, randomLinks,    content,       folderForm};
    const bool written =
        writePage(current, folderForm, expandPage(pageTemplate_, values, expansion_), encoding);
    ++outcome_.articlesDone;
    lastEncoding_ = encoding;

    controls_.setCaption(kMainWindow, "",
                         "已处理 "_gbk + integerToText(static_cast<std::int64_t>(i + 1)) +
                             " 个文件，当前："_gbk + current.title);
    // A page that was not written gets no entry: a list must not link to a missing page or to
    // another article's page.
    if (written) {
        lists_.addListEntry(current.link, current.title, encoding, static_cast<std::int64_t>(i + 1),
                            static_cast<std::int64_t>(count));
    } else {
        lists_.skipListEntry(encoding, static_cast<std::int64_t>(i + 1),
                             static_cast<std::int64_t>(count));
    }
    countListPages();
    desktop_.processPendingEvents();
}

void Run::start(const MarkupScanner& tags) {
    lists_.startListPages(outcome_.outputFolder, static_cast<std::int64_t>(job_.size()), tags);
    countListPages();
    keywords_.prepareRun(controls_);
}

void Run::finish() {
    // A run stopped before its first article still closes list page 1, in the encoding the
    // pages would have been written in.
    lists_.finishListPages(lastEncoding_.value_or(outputEncodingOf(controls_, TextEncoding::Gbk)));
    countListPages();
}

// Folds what the list pages did since the last call into the outcome, so that a list page
// that failed is reported like an article page that failed, in the order they failed.
void Run::countListPages() {
    const ListPagesReport& report = lists_.report();
    const std::int64_t written = report.pagesWritten - listsWrittenCounted_;
    const std::int64_t failed = report.pagesFailed - listsFailedCounted_;
    outcome_.pagesWritten += written;
    outcome_.listPagesWritten += written;
    if (failed > 0) {
        if (outcome_.pagesFailed == 0) outcome_.firstFailedPath = report.firstFailedPath;
        outcome_.pagesFailed += failed;
    }
    listsWrittenCounted_ = report.pagesWritten;
    listsFailedCounted_ = report.pagesFailed;
}

bool Run::writePage(const ArticleEntry& article, bool folderForm, std::string_view page,
                    TextEncoding encoding) {
    const std::string& folder = outcome_.outputFolder;
    const std::string_view link = article.link;
    if (!article.problem.empty()) {
        pageFailed(article.sourcePath, "文章无法读取（"_gbk + article.problem + "）"_gbk);
        return false;
    }
    if (!folderForm) {
        std::string path = folder + std::string(link);
        if (!isPlainName(link)) {
            pageFailed(std::move(path), "文件名无法使用"_gbk);
            return false;
        }
        return writeFile(path, article.sourcePath, page, encoding);
    }
    const std::string name(link.substr(0, link.size() - 1));
    const std::string indexName = "index." + indexExtension_;
    const std::string articleFolder = folder + name + kPathSeparator;
    std::string path = articleFolder + indexName;
    if (!isPlainName(name) || !isPlainName(indexName)) {
        pageFailed(std::move(path), "文件名无法使用"_gbk);
        return false;
    }
    if (!makeFolders(files_, articleFolder).ok) {
        pageFailed(std::move(path), "无法创建文件夹"_gbk);
        return false;
    }
    return writeFile(path, article.sourcePath, page, encoding);
}

bool Run::writeFile(const std::string& path, std::string_view source, std::string_view page,
                    TextEncoding encoding) {
    if (Expected<void> allowed = pages_.mayWrite(path, source); !allowed) {
        pageFailed(path, allowed.error().message);
        return false;
    }
    if (!writeTextFile(files_, path, page, encoding).written) {
        pageFailed(path, "无法写入（磁盘已满、没有权限，或不是普通文件）"_gbk);
        return false;
    }
    pages_.written(path, source);
    ++outcome_.pagesWritten;
    return true;
}

void Run::pageFailed(std::string path, std::string_view reason) {
    pages_.failed(path, reason);
    if (outcome_.pagesFailed == 0) outcome_.firstFailedPath = std::move(path);
    ++outcome_.pagesFailed;
}

void Run::warnOfTitlePattern() {
    if (titlePatternWarned_ || titlePattern_.errorText().empty() ||
        !controls_.checked(kMainWindow, kReplaceTitleCheck) ||
        !controls_.checked(kMainWindow, kUseRegexCheck)) {
        return;
    }
    titlePatternWarned_ = true;
    desktop_.messageBox(
        "标题匹配式处理标题时出错，出错的标题保持原样：\r\n"_gbk + titlePattern_.errorText(), {},
        MessageButtons::Ok, MessageIcon::Warning);
}

}  // namespace

std::vector<std::string> shuffleList(std::vector<std::string> list, RandomSource& random) {
    ShuffleBag bag(random);
    const auto count = static_cast<std::int64_t>(list.size());
    std::vector<std::string> shuffled;
    shuffled.reserve(list.size());
    for (std::int64_t i = 0; i < count; ++i) {
        shuffled.push_back(std::move(list[static_cast<std::size_t>(bag.draw(1, count) - 1)]));
    }
    return shuffled;
}

namespace {

RunOutcome runJob(GenerationContext& context, GenerationJob& job, const ArticleFileReader& readFile,
                  FileEnv& files) {
    RunOutcome outcome;
    if (job.empty()) return outcome;
    Controls& controls = context.ui.controls;
    DesktopServices& desktop = context.ui.desktop;

    // Whatever would make the run impossible is said before anything is written.
    std::optional<std::string> templateText = selectedTemplateText(controls);
    if (!templateText) {
        outcome.end = RunOutcome::End::Refused;
        outcome.problem = "请选择左边5个模板的其中一个来处理"_gbk;
        return outcome;
    }
    if (std::optional<std::string> problem = compileTitlePattern(controls, context.titlePattern)) {
        outcome.end = RunOutcome::End::Refused;
        outcome.problem = std::move(*problem);
        return outcome;
    }

    if (!controls.checked(kMainWindow, kOrderedCheck))
        job = shuffleList(std::move(job), context.random);
    outcome.outputFolder = outputFolderOf(job.front());
    // The list pages read the hrefs of the bar with it; long searches keep the window alive.
    const MarkupScanner tags([&desktop] { desktop.processPendingEvents(); });

    const std::int64_t startTicks = desktop.ticks();
    Expected<std::string> pageTemplate = templateFrom(files, controls, std::move(*templateText));
    if (!pageTemplate) {
        outcome.end = RunOutcome::End::Refused;
        outcome.problem = pageTemplate.error().message;
        return outcome;
    }
    const std::optional<std::size_t> randomCount = askRandomCount(desktop, *pageTemplate);
    if (!randomCount) {
        outcome.end = RunOutcome::End::Cancelled;
        return outcome;
    }

    // Only a run that goes ahead makes its folder: a refused or cancelled one leaves no trace.
    makeFolders(files, outcome.outputFolder);
    // The tag expansion's counter and keywords are read with the run.
    Run run(context, job, readFile, files, std::move(*pageTemplate), *randomCount, outcome);
    run.start(tags);
    const std::string savedCaption = controls.caption(kMainWindow, "");

    outcome.end = RunOutcome::End::Finished;
    for (std::size_t i = 0; i < job.size(); ++i) {
        if (context.stopRequested) {
            outcome.end = RunOutcome::End::Stopped;
            break;
        }
        run.makePage(i);
    }

    controls.setCaption(kMainWindow, "", savedCaption);
    run.finish();
    outcome.failureNotes = run.failureNotes();
    outcome.elapsedMilliseconds = desktop.ticks() - startTicks;
    return outcome;
}

}  // namespace

RunOutcome generateSite(GenerationContext& context, GenerationJob& job) {
    PosixFileEnv files;
    return generateSite(context, job, files);
}

RunOutcome generateSite(GenerationContext& context, GenerationJob& job,
                        const ArticleFileReader& readFile) {
    PosixFileEnv files;
    return runJob(context, job, readFile, files);
}

RunOutcome generateSite(GenerationContext& context, GenerationJob& job, FileEnv& files) {
    return runJob(
        context, job,
        [&files](std::string_view path, TextEncoding requested) {
            return readTextFile(files, path, requested);
        },
        files);
}

}  // namespace yelian
