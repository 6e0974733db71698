// The command line's desktop services: messages go to standard error, questions are asked on
// the terminal (or answered by --yes, or cancelled when nobody can answer), the window caption's
// progress text becomes a progress bar, and Ctrl-C acts as the second click on the running
// import button. Opening a folder prints its path on standard output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>

#include "controls/control_ops.h"
#include "controls/quiet_desktop.h"

namespace yelian {

struct TerminalSettings {
    // Answer OK or Yes to every question.
    bool assumeYes = false;
    // Questions can be asked: standard input is a terminal.
    bool canAsk = false;
    // Draw the progress bar: standard error is a terminal and --quiet was not given.
    bool showProgress = false;
    // True once the user pressed Ctrl-C.
    std::function<bool()> interrupted;
};

// There are no dialogs on the command line: they come back cancelled.
class TerminalDesktop : public QuietDesktop {
  public:
    // Reads the main window's caption for the progress.
    TerminalDesktop(const Controls& controls, std::istream& in, std::ostream& out,
                    std::ostream& err, TerminalSettings settings);

    // What Ctrl-C does, once, at the next event processing: stop the run.
    void onInterrupt(std::function<void()> requestStop) { requestStop_ = std::move(requestStop); }

    // The number of articles of the run, for the progress bar.
    void setJobSize(std::size_t size) { jobSize_ = size; }
    // Removes the progress bar before the report is written.
    void clearProgress();
    bool wasInterrupted() const { return interruptSeen_; }

    MessageAnswer messageBox(std::string_view text, std::string_view title, MessageButtons buttons,
                             MessageIcon icon) override;
    std::string clipboardText() override { return clipboard_; }
    void setClipboardText(std::string_view text) override { clipboard_ = std::string(text); }
    void processPendingEvents() override;
    void openUrl(std::string_view url) override;
    void openFolder(std::string_view folder) override;
    std::int64_t ticks() override;
    void sleep(std::int64_t milliseconds) override;

  private:
    void drawProgress();

    const Controls& controls_;
    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
    TerminalSettings settings_;
    std::function<void()> requestStop_;
    bool interruptSeen_ = false;
    std::size_t jobSize_ = 0;
    std::string drawnCaption_;
    bool barShown_ = false;
    std::string clipboard_;
};

// GBK text as the terminal shows it: UTF-8 with CR LF turned into LF.
std::string terminalText(std::string_view gbk);

}  // namespace yelian
