// The program yelian-gui without its main(): the command line it takes, and the run of the
// desktop program in a QApplication that main() created.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls/window_table.h"
#include "support/expected.h"

namespace yelian {

struct GuiOptions {
    // The settings file (as given, UTF-8); none uses the same default file as yelian.
    std::optional<std::string> settingsFile;
    bool help = false;
    bool version = false;
    // Not in the help: saves pictures of the windows into this folder and quits, without
    // saving any settings (scripts/screenshots.sh).
    std::optional<std::string> screenshotFolder;
    // With --screenshot: the address of an article page for the template maker's pictures.
    std::string screenshotPage;
};

// Switches the browser engine's sandbox off when the program runs as root, where the engine
// refuses to start with it. Call before the QApplication is created.
void prepareBrowserEngine();

// One style and font on every desktop, so that the design's sizes fit everywhere alike.
void applyDesktopLook();

Expected<GuiOptions> parseGuiArguments(const std::vector<std::string>& args);
std::string guiUsage();

class Application;
class EventSink;
class QtControls;

// Every window of the desktop program, for its QtControls.
std::vector<std::reference_wrapper<const WindowSpec>> desktopWindows();
// The window logic behind the widgets: events to the sink, the windows that place their own
// controls by the shell's rules.
void connectDesktop(Application& app, QtControls& controls, EventSink& sink);

// The start of the desktop program: the settings file opened (the given one, UTF-8, or the
// default), the main window shown and restored.
void startDesktop(Application& app, const std::optional<std::string>& settingsFile);

// Shows the main window in its saved state and runs until it has closed (by the user, or by
// SIGTERM as if by its close box). Returns the exit status.
int runDesktopProgram(const GuiOptions& options);

}  // namespace yelian
