// The desktop services on Qt: message boxes, file and folder dialogs, the popup menu, the
// clipboard, the desktop's browser and file manager, and the event hook of long loops.
// Scripted mode (tests, screenshots) answers every dialog from queues instead of showing it,
// so that nothing blocks.
#pragma once

#include <QElapsedTimer>
#include <deque>
#include <string>
#include <vector>

#include "controls/control_ops.h"
#include "qt/qt_controls.h"

namespace yelian {

class QtDesktop : public DesktopServices {
  public:
    enum class Dialogs { Shown, Scripted };

    QtDesktop(QtControls& controls, Dialogs dialogs = Dialogs::Shown);

    // Scripted answers, taken in order. Without one a message box gets its first button
    // (Ok or Yes when it has only that one; else Cancel or No), a dialog is cancelled and a
    // menu chooses nothing.
    void answerMessage(MessageAnswer answer) { messageAnswers_.push_back(answer); }
    void answerFiles(std::vector<std::string> paths) { fileAnswers_.push_back(std::move(paths)); }
    void answerFolder(std::string folder) { folderAnswers_.push_back(std::move(folder)); }
    void answerPopupMenu(int index) { menuAnswers_.push_back(index); }
    // The texts of the message boxes asked so far (GBK), for assertions.
    const std::vector<std::string>& messages() const { return messages_; }

    MessageAnswer messageBox(std::string_view text, std::string_view title, MessageButtons buttons,
                             MessageIcon icon) override;
    std::vector<std::string> chooseFiles(std::string_view title,
                                         const std::vector<FileFilter>& filters) override;
    std::string chooseFolder(std::string_view title, std::string_view initialFolder) override;
    int popupMenu(std::string_view window, const std::vector<std::string>& items) override;
    void registerDropTarget(std::string_view window) override;
    void showInBrowser(std::string_view window, std::string_view control,
                       std::string_view html) override;
    std::string clipboardText() override;
    void setClipboardText(std::string_view text) override;
    // Handles the waiting events at most every few milliseconds: a loop may call it for each
    // of thousands of small steps, and the window still repaints and takes clicks in time.
    void processPendingEvents() override;
    void openUrl(std::string_view url) override;
    void openFolder(std::string_view folder) override;
    std::int64_t ticks() override;
    void sleep(std::int64_t milliseconds) override;

  private:
    bool scripted() const { return dialogs_ == Dialogs::Scripted; }

    QtControls& controls_;
    Dialogs dialogs_;
    QElapsedTimer clock_;
    std::int64_t lastEvents_ = -1;
    std::deque<MessageAnswer> messageAnswers_;
    std::deque<std::vector<std::string>> fileAnswers_;
    std::deque<std::string> folderAnswers_;
    std::deque<int> menuAnswers_;
    std::vector<std::string> messages_;
};

}  // namespace yelian
