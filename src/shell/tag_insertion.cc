// Tag insertion, the sample captions and the paste buttons.
#include "shell/tag_insertion.h"

#include <optional>
#include <string>
#include <vector>

#include "controls/main_window_names.h"
#include "controls/template_maker_table.h"
#include "support/date_time.h"
#include "support/shared_texts.h"
#include "taggen/random_chinese.h"
#include "taggen/random_letters.h"
#include "taggen/time_text.h"

namespace yelian {
namespace {

void setSampleCaption(Application& app, std::string_view group, std::string_view tag,
                      std::string_view sample) {
    std::string caption(tag);
    caption.append(" - ").append(sample);
    app.controls().setCaption(kMainWindow, group, caption);
}

}  // namespace

void insertTag(Application& app, std::string_view tag) {
    Controls& controls = app.controls();
    std::optional<EditBoxRef>& target = app.insertionTarget();
    if (controls.windowExists(kTemplateMakerWindow)) {
        target = EditBoxRef{kTemplateMakerWindow.str(), kTemplateSourceEdit.str()};
    }
    if (!target || !controls.windowExists(target->window)) return;
    controls.replaceSelection(target->window, target->control, tag);
    controls.setFocus(target->window, target->control);
}

void setInsertionTarget(Application& app, std::string_view editor) {
    app.insertionTarget() = EditBoxRef{kMainWindow.str(), std::string(editor)};
}

void showMoreTagsMenu(Application& app) {
    // The items show their tags, in menu order.
    const std::vector<std::string> tags = {kCounterTag, kTimeTag, kRandomChineseTag,
                                           kRandomLettersTag};
    const int chosen = app.desktop().popupMenu(kMainWindow, tags);
    if (chosen < 0 || chosen >= static_cast<int>(tags.size())) return;
    insertTag(app, tags[static_cast<std::size_t>(chosen)]);
}

void refreshRandomChineseCaption(Application& app) {
    const std::string sample = makeRandomChinese(readRandomChineseSettings(app.controls()),
                                                 app.random(), app.traditionalChinese());
    setSampleCaption(app, kRandomChineseGroup, kRandomChineseTag, sample);
}

void refreshRandomLettersCaption(Application& app) {
    const std::string sample =
        makeRandomLetters(readRandomLettersSettings(app.controls()), app.random());
    setSampleCaption(app, kRandomLettersGroup, kRandomLettersTag, sample);
}

void refreshTimeCaption(Application& app) {
    const std::string sample =
        makeTimeText(readTimeSettings(app.controls()), app.random(), currentLocalDateTime());
    setSampleCaption(app, kTimeGroup, kTimeTag, sample);
}

void pasteInto(Application& app, std::string_view window, std::string_view editBox) {
    app.controls().setText(window, editBox, app.desktop().clipboardText());
}

}  // namespace yelian
