// The random-phrase editor's handlers.
#include "shell/phrase_editor.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/phrase_editor_table.h"
#include "shell/input_dialog.h"
#include "support/gbk_text.h"
#include "taggen/phrase_groups.h"

namespace yelian {
namespace {

using namespace yelian::literals;

// The initial text of a new group: three words and an address, as the format wants them.
inline constexpr GbkConstant<"词1|词2|词3|http://www.example.com/"> kNewGroupText;

int selected(Application& app) {
    return app.controls().selectedIndex(kPhraseEditorWindow, kPhraseList);
}

std::vector<std::string> listedGroups(Application& app) {
    const int count = app.controls().itemCount(kPhraseEditorWindow, kPhraseList);
    std::vector<std::string> groups;
    groups.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        groups.push_back(app.controls().item(kPhraseEditorWindow, kPhraseList, i));
    }
    return groups;
}

void saveListedGroups(Application& app) {
    savePhraseGroups(app.settings(), app.ui(), listedGroups(app), selected(app));
}

void say(Application& app, std::string_view text) {
    app.desktop().messageBox(text, "信息："_gbk, MessageButtons::Ok, MessageIcon::Information);
}

// The group the user enters, starting from the text given; none when cancelled.
std::optional<std::string> askGroup(Application& app, std::string_view initialText) {
    TextDialogResult result = showTextDialog(app, initialText, std::nullopt, {}, {}, true);
    if (!result.confirmed) return std::nullopt;
    return std::move(result.text);
}

}  // namespace

void openPhraseEditor(Application& app) {
    app.controls().showWindow(kPhraseEditorWindow, false, kMainWindow);
}

void onPhraseEditorOpened(Application& app) {
    Controls& controls = app.controls();
    const std::vector<std::string> groups = storedPhraseGroups(app.settings());
    controls.clearItems(kPhraseEditorWindow, kPhraseList);
    for (const std::string& group : groups)
        controls.addItem(kPhraseEditorWindow, kPhraseList, group);
    controls.setSelectedIndex(kPhraseEditorWindow, kPhraseList,
                              storedPhraseGroupIndex(app.settings(), selected(app)));
}

void closePhraseEditor(Application& app) {
    saveListedGroups(app);
    app.controls().closeWindow(kPhraseEditorWindow);
}

void onPhraseDoubleClicked(Application& app) {
    const int index = selected(app);
    if (index < 0) return;
    const std::string group = app.controls().item(kPhraseEditorWindow, kPhraseList, index);
    saveListedGroups(app);
    app.controls().setText(kMainWindow, kPhraseCombo, group);
    app.controls().closeWindow(kPhraseEditorWindow);
}

void onPhraseAdd(Application& app) {
    if (const auto group = askGroup(app, kNewGroupText)) {
        app.controls().addItem(kPhraseEditorWindow, kPhraseList, *group);
    }
}

void onPhraseDelete(Application& app) {
    const int index = selected(app);
    if (index < 0) {
        say(app, "请先选择一个项目再删除"_gbk);
        return;
    }
    Controls& controls = app.controls();
    controls.removeItem(kPhraseEditorWindow, kPhraseList, index);
    const int last = controls.itemCount(kPhraseEditorWindow, kPhraseList) - 1;
    controls.setSelectedIndex(kPhraseEditorWindow, kPhraseList, std::min(index, last));
}

void onPhraseModify(Application& app) {
    const int index = selected(app);
    if (index < 0) {
        say(app, "请先选择一个项目再修改"_gbk);
        return;
    }
    const std::string current = app.controls().item(kPhraseEditorWindow, kPhraseList, index);
    if (const auto group = askGroup(app, current)) {
        app.controls().setItem(kPhraseEditorWindow, kPhraseList, index, *group);
    }
}

void onPhraseClear(Application& app) {
    if (app.desktop().messageBox("确定要清空全部项目吗？"_gbk, "信息："_gbk,
                                 MessageButtons::OkCancel,
                                 MessageIcon::Question) == MessageAnswer::Ok) {
        app.controls().clearItems(kPhraseEditorWindow, kPhraseList);
    }
}

}  // namespace yelian
