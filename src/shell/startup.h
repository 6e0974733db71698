// The program's frame without its event loop: opening the settings and restoring the main
// window at the start, saving the main window at the end. The desktop program creates the
// Application, calls startProgram, runs its event loop and calls onMainWindowClosing when the
// main window closes.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/settings_store.h"
#include "shell/application.h"

namespace yelian {

// Opens the settings store on the settings file of the program in programFolder (GBK path;
// beside the program when that folder is writable, else in the user's configuration
// folder), shows the main window, runs onMainWindowCreated and, when the settings will not be
// saved, says so once in a message box.
void startProgram(Application& app, std::string_view programFolder);

// Brings the freshly shown main window into its saved state: restores its controls, takes
// the template files of older versions over once, selects the saved template page, accepts
// dropped files, fills the phrase combo box and enables the dependent controls to match.
void onMainWindowCreated(Application& app);

// The same restore without the takeover, so that nothing is written: the command line reads
// the main window this way from a store that may be closed (every control then keeps its
// design state and the phrase combo box is emptied, as at a first start).
void restoreMainWindowReadOnly(SettingsStore& store, Ui ui);

// Saves the main window's state; the window then closes (closing is never refused).
void onMainWindowClosing(Application& app);

// Saves the main window's controls, its selected template page and the current phrase
// group.
void saveAllSettings(Application& app);

// Why the settings of this run will not be kept, in the words shown to the user (GBK); none
// while the store saves (or before it was opened). The command line prints the same text.
std::optional<std::string> persistenceWarning(const SettingsStore& store);

}  // namespace yelian
