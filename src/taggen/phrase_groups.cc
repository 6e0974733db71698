#include "taggen/phrase_groups.h"

#include "controls/main_window_names.h"
#include "support/gbk_text.h"
#include "support/text_routines.h"

namespace yelian {

namespace {

inline constexpr GbkConstant<"随机词组"> kPhraseSection;
inline constexpr GbkConstant<"随机词组"> kGroupsKey;
inline constexpr GbkConstant<"词组索引"> kSelectedIndexKey;
inline constexpr GbkConstant<"当前词"> kCurrentGroupKey;

constexpr std::string_view kLineBreak = "\r\n";

}  // namespace

void savePhraseGroups(SettingsStore& store, Ui ui, const std::vector<std::string>& groups,
                      int selectedIndex) {
    std::string joined;
    for (const std::string& group : groups) {
        // An empty first group leaves nothing to separate from, so it is not kept.
        if (!joined.empty()) joined += kLineBreak;
        joined += group;
    }
    store.selectSection(kPhraseSection);
    store.writeText(kGroupsKey, joined);
    store.writeNumber(kSelectedIndexKey, selectedIndex);
    loadPhraseGroups(store, ui);
}

std::vector<std::string> storedPhraseGroups(SettingsStore& store) {
    store.selectSection(kPhraseSection);
    return splitText(store.readText(kGroupsKey, {}), kLineBreak);
}

int storedPhraseGroupIndex(SettingsStore& store, int defaultIndex) {
    store.selectSection(kPhraseSection);
    const double stored = store.readNumber(kSelectedIndexKey, defaultIndex);
    // Anything that is no index of a list box selects nothing.
    if (!(stored >= -1.0 && stored <= 2147483647.0)) return -1;
    return static_cast<int>(stored);
}

void loadPhraseGroups(SettingsStore& store, Ui ui) {
    const std::vector<std::string> groups = storedPhraseGroups(store);
    const std::string current = store.readText(kCurrentGroupKey, {});
    ui.controls.clearItems(kMainWindow, kPhraseCombo);
    for (const std::string& group : groups) {
        ui.controls.addItem(kMainWindow, kPhraseCombo, group);
        ui.desktop.processPendingEvents();
    }
    ui.controls.setText(kMainWindow, kPhraseCombo, current);
}

void saveCurrentPhraseGroup(SettingsStore& store, const Controls& controls) {
    store.selectSection(kPhraseSection);
    store.writeText(kCurrentGroupKey, controls.text(kMainWindow, kPhraseCombo));
}

}  // namespace yelian
