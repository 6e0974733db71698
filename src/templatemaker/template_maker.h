// The template maker: a downloaded article page becomes a page template, its title element,
// description and article body replaced by the generator's tags. The window handlers work on
// the template maker's controls; the page comes through a PageSource, so the window logic
// does not depend on how pages are downloaded.
#pragma once

#include <string>
#include <string_view>

#include "controls/control_ops.h"
#include "support/event_hook.h"
#include "templatemaker/body_candidates.h"
#include "templatemaker/body_extractor.h"
#include "templatemaker/page_renderer.h"

namespace yelian {

// Where pages come from: the web client in the programs, a fake in tests.
class PageSource {
  public:
    virtual ~PageSource() = default;
    // The body of a secure ("https://") address exactly as received; empty on any failure or
    // time-out. While it waits, goOn (when given) is asked whether the page is still wanted;
    // false gives the download up at once.
    virtual std::string fetchBytes(std::string_view url, const GoOn& goOn) = 0;
    // Any other address as internal text, decoded by the response's charset; empty on any
    // failure. goOn as for fetchBytes.
    virtual std::string requestText(std::string_view url, const GoOn& goOn) = 0;
};

// The failure message of a left-click generation whose recognition found no body.
inline constexpr GbkConstant<
    "正文识别失败，无法自动替换正文标签！请右键单击【生成模板】来获取原始代码，然后自行编辑替换！">
    kRecognitionFailedMessage;

// The page at an address as internal text: a secure address ("https://" in any letter case)
// through fetchBytes, decoded as an article file of unknown encoding is; every other through
// requestText. Empty when the download failed.
std::string readPage(PageSource& pages, std::string_view url, const GoOn& goOn = {});

// The page with its title element made "<title>#本篇标题#</title> " and the content of its
// description meta tag made "#描述#" (the attribute added when missing). A page without either
// keeps that part.
std::string replaceTitleAndDescription(std::string_view page, MarkupScanner& scanner);

// The page with the first occurrence of body (case ignored) replaced by "#导入的文件内容#",
// then every occurrence of title (case ignored) by "#本篇标题#"; an empty title changes
// nothing after the body.
std::string replaceBodyAndTitle(std::string_view page, std::string_view body,
                                std::string_view title);

// The recognition the template maker relies on: the nesting mode, then the grouping mode when
// that finds nothing. Failed when neither finds a body (or both find only blocks with too
// little text).
Recognition recognisePage(BodyExtractor& extractor, std::string_view page);

struct MadeTemplate {
    std::string text;
    // True when a generation with body recognition found no body: text is then the page
    // with only its title and description replaced.
    bool recognitionFailed = false;
    // The page after the title and description replacements, which the body tag is put into.
    std::string page;
    Recognition recognition;
};

// The whole generation on a page already read: title and description, and with withBody the
// body and the article title.
MadeTemplate makeTemplateFromPage(std::string_view page, bool withBody, BodyExtractor& extractor);

// The handlers of the template maker window. One instance lives as long as the program, so a
// handler that is still running (a download, a recognition) never outlives it; when the
// window closes during a generation, the generation ends without writing to the window.
class TemplateMakerWindow {
  public:
    TemplateMakerWindow(Ui ui, PageSource& pages);

    // Where "渲染后识别" loads pages; none (the default) leaves the check box without effect.
    void setRenderer(PageRenderer* renderer) { renderer_ = renderer; }

    // The generation button: left click with body recognition, right click without. Ignored
    // while a generation runs. A left click also lists the candidate blocks in the candidate
    // combo box, the pick first.
    void makeTemplate(bool withBody);
    bool generating() const { return generating_; }

    // A candidate chosen in the combo box: the template is made again from the page already
    // read, with that block as the body, and previewed.
    void onCandidateChosen();

    // The tab control changed: the preview tab shows the template source rendered.
    void onTabChanged();
    void showPreview(std::string_view text);

    // Find next and previous in the template source, by the edit control's character
    // positions; "找不到！" on the button for about a second when the text is not there.
    void findNext();
    void findPrevious();

    void pasteAddress();
    void pasteSearchText();
    void pasteTemplate();
    void copyTemplate();

  private:
    bool windowOpen() const;
    void showNotFound(std::string_view button, std::string_view caption);
    void selectFound(int position, int length);
    void listCandidates(BodyExtractor& extractor);
    void showTemplate(const std::string& text);
    std::string readAddress(std::string_view url);

    Ui ui_;
    PageSource& pages_;
    PageRenderer* renderer_ = nullptr;
    bool generating_ = false;
    // The last left-click generation, which a chosen candidate is put into.
    MadeTemplate made_;
    std::vector<BodyCandidate> candidates_;
    bool listingCandidates_ = false;
};

}  // namespace yelian
