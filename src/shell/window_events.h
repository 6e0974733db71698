// The one door through which a desktop front end hands the user's actions to the window logic:
// the front end maps its toolkit's signals onto (window, control, event) and calls
// dispatchControlEvent; the shell finds the handler. Controls are named as in the window
// tables (GBK names); an empty control name means the window itself.
//
// Handlers run inside other handlers (the event hook processes events during long work); the
// shell keeps track of that, so the front end may dispatch any event at any time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shell/application.h"
// The input dialog's boxes for a client size: the front end places them with
// inputDialogLayout(app.dialogRequest(), width, height) after Opened and on every resize,
// centres the dialog on the screen, and in information mode makes "按钮取消" the default
// button and gives the read-only text the default background.
#include "shell/input_dialog.h"

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
    // Windows (empty control name): the window has just been created by showWindow and is
    // about to be shown; for a modal window, before its nested loop. Not sent when showWindow
    // only raises a window that exists. The main window's start runs through startProgram
    // instead, so its Opened is not handled.
    Opened,
};

// Runs the handler of an event. False when no handler takes that event of that control, so
// that the front end can let the toolkit's default behaviour happen.
bool dispatchControlEvent(Application& app, std::string_view window, std::string_view control,
                          ControlEvent event);

// Files dropped on a window that registered as a drop target (GBK paths).
void dispatchFilesDropped(Application& app, std::string_view window,
                          const std::vector<std::string>& paths);

}  // namespace yelian
