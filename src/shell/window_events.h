// The one door through which a desktop front end hands the user's actions to the window logic:
// the front end maps its toolkit's signals onto (window, control, event) and calls
// dispatchControlEvent; the shell finds the handler. Controls are named as in the window
// tables (GBK names); an empty control name means the window itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shell/application.h"

namespace yelian {

enum class ControlEvent {
    // Buttons, pictures, check and radio boxes, menu items: the left button clicked. Link
    // labels: the left button pressed on them.
    Clicked,
    // The right mouse button released on a button (the folder import's second mode).
    RightClicked,
    // List boxes: an item double-clicked.
    DoubleClicked,
    // Edit boxes: the text changed (each keystroke); combo boxes, list boxes and tab controls:
    // the selection changed.
    Changed,
    // Edit boxes: the control got the keyboard focus.
    FocusGained,
    // Edit boxes: Enter pressed in a single-line box.
    EnterPressed,
    // Windows (empty control name): the user asked to close the window (close box, Alt-F4,
    // or the session ending). The handler saves what the window keeps and closes it through
    // Controls::closeWindow: at once, or, while a run or another long step is going, once
    // that has stopped. The front end never closes a window on its own.
    Closing,
};

// Runs the handler of an event. False when no handler takes that event of that control, so
// that the front end can let the toolkit's default behaviour happen.
bool dispatchControlEvent(Application& app, std::string_view window, std::string_view control,
                          ControlEvent event);

// Files dropped on a window that registered as a drop target (GBK paths).
void dispatchFilesDropped(Application& app, std::string_view window,
                          const std::vector<std::string>& paths);

}  // namespace yelian
