// One run of the desktop program on the plain record: the four windows, a scripted desktop,
// and the application, with events sent through the shell's dispatch. A modal window runs the
// next of the queued actions while it is open, as the user acting in a dialog.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "controls/input_dialog_table.h"
#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/phrase_editor_table.h"
#include "controls/record_controls.h"
#include "controls/template_maker_table.h"
#include "shell/application.h"
#include "shell/window_events.h"
#include "testing/scripted_desktop.h"

namespace yelian::testing {

class DesktopSession {
  public:
    DesktopSession() {
        controls.setShowHook([this](std::string_view window, bool modal, bool created) {
            const std::string name(window);
            if (created) dispatchControlEvent(app, name, {}, ControlEvent::Opened);
            if (!modal || whileModal_.empty()) return;
            auto act = std::move(whileModal_.front());
            whileModal_.pop_front();
            act();
        });
    }
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // The main window shown as at the start, without a settings file.
    void showMainWindow() { controls.showWindow(kMainWindow, false, {}); }

    bool send(std::string_view window, std::string_view control, ControlEvent event) {
        return dispatchControlEvent(app, window, control, event);
    }
    bool click(std::string_view control, std::string_view window = kMainWindow) {
        return send(window, control, ControlEvent::Clicked);
    }
    // Typing into an edit box: its text changes, then the change event comes.
    void type(std::string_view window, std::string_view control, std::string_view text) {
        controls.setText(window, control, text);
        send(window, control, ControlEvent::Changed);
    }

    // What the user does in the next modal window while it is open.
    void whileModal(std::function<void()> act) { whileModal_.push_back(std::move(act)); }
    // The input dialog's answer: its text replaced and "确定", or "取消".
    void confirmDialogWith(std::string text) {
        whileModal([this, text = std::move(text)] {
            controls.setText(kInputDialogWindow, kInputTextEdit, text);
            click(kInputOkButton, kInputDialogWindow);
        });
    }
    void cancelDialog() {
        whileModal([this] { click(kInputCancelButton, kInputDialogWindow); });
    }
    bool modalActionsLeft() const { return !whileModal_.empty(); }

    std::string text(std::string_view window, std::string_view control) const {
        return controls.text(window, control);
    }

    ScriptedDesktop desktop;
    RecordControls controls{mainWindowSpec(), phraseEditorSpec(), inputDialogSpec(),
                            templateMakerSpec()};
    Application app{controls, desktop};

  private:
    std::deque<std::function<void()>> whileModal_;
};

}  // namespace yelian::testing
