// The phrase groups of the keyword insertion: the list the phrase editor keeps, stored in the
// settings section "随机词组", and the current group, the text of the main window's combo box
// "组合框词". Each group is one line of words separated by "|", optionally ending with an
// address item ("http://...", several addresses separated by "*").
#pragma once

#include <string>
#include <vector>

#include "controls/control_ops.h"
#include "settings/settings_store.h"

namespace yelian {

// Stores the list (joined by CR LF) and the editor's selected index (-1 for none), then
// refills the combo box with loadPhraseGroups.
void savePhraseGroups(SettingsStore& store, Ui ui, const std::vector<std::string>& groups,
                      int selectedIndex);

// Refills the drop-down list of "组合框词" from the store and sets its text to the stored
// current group (empty when nothing is stored). The GUI processes pending events after each
// item.
void loadPhraseGroups(SettingsStore& store, Ui ui);

// The stored list, one group per line; an empty line between two others stays a group.
std::vector<std::string> storedPhraseGroups(SettingsStore& store);

// The stored index of the editor's selected group; the default when none is stored.
int storedPhraseGroupIndex(SettingsStore& store, int defaultIndex);

// Stores the text of "组合框词" as the current group (when the main window closes).
void saveCurrentPhraseGroup(SettingsStore& store, const Controls& controls);

}  // namespace yelian
