#include "templatemaker/template_maker.h"

#include <array>

#include "controls/template_maker_table.h"
#include "support/shared_texts.h"
#include "support/text_encoding.h"
#include "support/text_routines.h"
#include "support/text_search.h"

namespace yelian {

using namespace yelian::literals;

namespace {

constexpr std::string_view kSecureScheme = "https://";
// The search text's and the editor's characters as the edit control counts its positions.
constexpr LineBreaks kEditPositions = LineBreaks::EveryByte;
constexpr int kCandidateCount = 5;

bool isSecureAddress(std::string_view url) {
    if (url.size() < kSecureScheme.size()) return false;
    for (std::size_t i = 0; i < kSecureScheme.size(); ++i) {
        char c = url[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kSecureScheme[i]) return false;
    }
    return true;
}

// The first occurrence of find, case ignored, replaced; the text unchanged when there is none.
std::string replaceFirst(std::string_view text, std::string_view find,
                         std::string_view replacement) {
    std::string result(text);
    const std::size_t at = findText(result, find, 0, true);
    if (!find.empty() && at != kNotFound) result.replace(at, find.size(), replacement);
    return result;
}

bool foundBody(const Recognition& recognition) {
    return !recognition.body.empty() && recognition.body != kLowTextRatioMarker.str();
}

}  // namespace

std::string readPage(PageSource& pages, std::string_view url, const GoOn& goOn) {
    if (isSecureAddress(url)) {
        return readTextBytes(pages.fetchBytes(url, goOn), TextEncoding::Auto).text;
    }
    return pages.requestText(url, goOn);
}

std::string replaceTitleAndDescription(std::string_view page, MarkupScanner& scanner) {
    const std::string title = textBetween(page, "<title>", "</title>");
    std::string result = replaceFirst(page, "<title>" + title + "</title>",
                                      "<title>"_gbk + kThisTitleTag.str() + "</title> ");
    const std::string meta = scanner.searchElements(result, "meta", {"name"}, {"description"});
    if (meta.empty()) return result;
    const std::string described = scanner.attribute(meta, "content", kDescriptionTag, true);
    const std::array<ReplacePair, 1> pairs = {{{meta, described}}};
    return replacePairs(result, pairs, true);
}

std::string replaceBodyAndTitle(std::string_view page, std::string_view body,
                                std::string_view title) {
    std::string result = replaceFirst(page, body, kContentTag);
    if (title.empty()) return result;
    const std::array<ReplacePair, 1> pairs = {{{title, kThisTitleTag}}};
    return replacePairs(result, pairs);
}

Recognition recognisePage(BodyExtractor& extractor, std::string_view page) {
    Recognition recognition = extractor.recognise(page, RecognitionMode::Nesting);
    if (foundBody(recognition) || recognition.failure == RecognitionFailure::Stopped) {
        return recognition;
    }
    return extractor.recognise(page, RecognitionMode::Grouping);
}

MadeTemplate makeTemplateFromPage(std::string_view page, bool withBody, BodyExtractor& extractor) {
    MarkupScanner scanner;
    MadeTemplate made;
    made.page = replaceTitleAndDescription(page, scanner);
    made.text = made.page;
    if (!withBody) return made;
    made.recognition = recognisePage(extractor, made.page);
    if (!foundBody(made.recognition)) {
        made.recognitionFailed = true;
        return made;
    }
    made.text = replaceBodyAndTitle(made.page, made.recognition.body, made.recognition.title);
    return made;
}

TemplateMakerWindow::TemplateMakerWindow(Ui ui, PageSource& pages) : ui_(ui), pages_(pages) {}

bool TemplateMakerWindow::windowOpen() const {
    return ui_.controls.windowExists(kTemplateMakerWindow);
}

void TemplateMakerWindow::makeTemplate(bool withBody) {
    // The button stays enabled while it works (its caption tells the step), so a click that
    // arrives through the event hook must not start a second generation inside the first.
    if (generating_) return;
    generating_ = true;
    Controls& controls = ui_.controls;
    controls.setCaption(kTemplateMakerWindow, kMakeTemplateButton, kMakeTemplateDownloading);
    const std::string page = readAddress(controls.text(kTemplateMakerWindow, kAddressEdit));
    BodyExtractor extractor([this] { ui_.desktop.processPendingEvents(); },
                            [this] { return windowOpen(); });
    MadeTemplate made;
    if (windowOpen()) {
        if (withBody) {
            controls.setCaption(kTemplateMakerWindow, kMakeTemplateButton,
                                kMakeTemplateRecognising);
        }
        made = makeTemplateFromPage(page, withBody, extractor);
    }
    // Closed while it worked: there is nothing left to show the template in.
    if (!windowOpen() || made.recognition.failure == RecognitionFailure::Stopped) {
        generating_ = false;
        return;
    }
    made_ = std::move(made);
    if (withBody) {
        listCandidates(extractor);
    } else {
        candidates_.clear();
        controls.clearItems(kTemplateMakerWindow, kCandidateCombo);
        controls.setEnabled(kTemplateMakerWindow, kCandidateCombo, false);
    }
    generating_ = false;
    if (!windowOpen()) return;
    if (made_.recognitionFailed) {
        ui_.desktop.messageBox(kRecognitionFailedMessage, {}, MessageButtons::Ok,
                               MessageIcon::None);
    }
    showTemplate(made_.text);
    controls.setCaption(kTemplateMakerWindow, kMakeTemplateButton, kMakeTemplateIdle);
}

// The page as its scripts leave it when the user asked for that and a renderer is there, else
// the source as downloaded.
std::string TemplateMakerWindow::readAddress(std::string_view url) {
    if (renderer_ == nullptr || !ui_.controls.checked(kTemplateMakerWindow, kRenderedCheck)) {
        // Closing the window gives the download up.
        return readPage(pages_, url, [this] { return windowOpen(); });
    }
    return renderer_->renderedPage(url, [this] { return windowOpen(); });
}

void TemplateMakerWindow::listCandidates(BodyExtractor& extractor) {
    candidates_ = bodyCandidates(extractor, made_.page, made_.recognition, kCandidateCount);
    Controls& controls = ui_.controls;
    // Filling the list moves its selection, which must not count as the user's choice.
    listingCandidates_ = true;
    controls.clearItems(kTemplateMakerWindow, kCandidateCombo);
    for (std::size_t i = 0; i < candidates_.size(); ++i) {
        controls.addItem(kTemplateMakerWindow, kCandidateCombo,
                         candidateLabel(static_cast<int>(i) + 1, candidates_[i]));
    }
    const bool picked = !made_.recognitionFailed && !candidates_.empty();
    controls.setSelectedIndex(kTemplateMakerWindow, kCandidateCombo, picked ? 0 : -1);
    controls.setEnabled(kTemplateMakerWindow, kCandidateCombo, !candidates_.empty());
    listingCandidates_ = false;
}

void TemplateMakerWindow::onCandidateChosen() {
    if (listingCandidates_ || generating_) return;
    const int chosen = ui_.controls.selectedIndex(kTemplateMakerWindow, kCandidateCombo);
    if (chosen < 0 || chosen >= static_cast<int>(candidates_.size())) return;
    showTemplate(replaceBodyAndTitle(
        made_.page, candidates_[static_cast<std::size_t>(chosen)].markup, made_.recognition.title));
}

void TemplateMakerWindow::showTemplate(const std::string& text) {
    ui_.controls.setText(kTemplateMakerWindow, kTemplateSourceEdit, text);
    showPreview(text);
}

void TemplateMakerWindow::onTabChanged() {
    if (ui_.controls.selectedIndex(kTemplateMakerWindow, kTemplateMakerTabs) != 1) return;
    showPreview(ui_.controls.text(kTemplateMakerWindow, kTemplateSourceEdit));
}

void TemplateMakerWindow::showPreview(std::string_view text) {
    ui_.desktop.showInBrowser(kTemplateMakerWindow, kTemplatePreview, text);
}

void TemplateMakerWindow::findNext() {
    const Controls& controls = ui_.controls;
    const std::string needle = controls.text(kTemplateMakerWindow, kSearchEdit);
    const std::string text = controls.text(kTemplateMakerWindow, kTemplateSourceEdit);
    const int length = charCount(needle, kEditPositions);
    const int start = controls.selectionStart(kTemplateMakerWindow, kTemplateSourceEdit);
    int found = findCharPos(text, needle, start + length + 1, true, true);
    if (found == -1) found = findCharPos(text, needle, 1, true, true);
    if (found == -1) {
        showNotFound(kFindNextButton, kFindNextCaption);
        return;
    }
    selectFound(found, length);
}

void TemplateMakerWindow::findPrevious() {
    const Controls& controls = ui_.controls;
    const std::string needle = controls.text(kTemplateMakerWindow, kSearchEdit);
    const std::string text = controls.text(kTemplateMakerWindow, kTemplateSourceEdit);
    const int start = controls.selectionStart(kTemplateMakerWindow, kTemplateSourceEdit);
    int found = findCharPosBackward(text, needle, start, true, true);
    if (found == -1) {
        found = findCharPosBackward(text, needle, charCount(text, kEditPositions), true, true);
    }
    if (found == -1) {
        showNotFound(kFindPreviousButton, kFindPreviousCaption);
        return;
    }
    selectFound(found, charCount(needle, kEditPositions));
}

void TemplateMakerWindow::selectFound(int position, int length) {
    ui_.controls.selectRange(kTemplateMakerWindow, kTemplateSourceEdit, position - 1, length);
}

void TemplateMakerWindow::showNotFound(std::string_view button, std::string_view caption) {
    ui_.controls.setCaption(kTemplateMakerWindow, button, kNotFoundCaption);
    for (int i = 0; i < 100 && windowOpen(); ++i) {
        ui_.desktop.sleep(10);
        ui_.desktop.processPendingEvents();
    }
    ui_.controls.setCaption(kTemplateMakerWindow, button, caption);
}

void TemplateMakerWindow::pasteAddress() {
    ui_.controls.setText(kTemplateMakerWindow, kAddressEdit, ui_.desktop.clipboardText());
}

void TemplateMakerWindow::pasteSearchText() {
    ui_.controls.setText(kTemplateMakerWindow, kSearchEdit, ui_.desktop.clipboardText());
}

void TemplateMakerWindow::pasteTemplate() {
    ui_.controls.setText(kTemplateMakerWindow, kTemplateSourceEdit, ui_.desktop.clipboardText());
}

void TemplateMakerWindow::copyTemplate() {
    ui_.desktop.setClipboardText(ui_.controls.text(kTemplateMakerWindow, kTemplateSourceEdit));
}

}  // namespace yelian
