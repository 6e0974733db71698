// Desktop services for tests: every question the logic asks the user is answered from a queue
// the test fills beforehand, and everything shown is logged for assertions. A question without
// a scripted answer fails the test and gets the cancelling answer, so a test never hangs on a
// dialog.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/control_ops.h"

namespace yelian::testing {

class ScriptedDesktop : public DesktopServices {
  public:
    ScriptedDesktop() = default;
    ScriptedDesktop(const ScriptedDesktop&) = delete;
    ScriptedDesktop& operator=(const ScriptedDesktop&) = delete;
    // An answer left over means the logic never asked what the test expected it to ask.
    ~ScriptedDesktop() override;

    struct ShownMessage {
        std::string text;
        std::string title;
        MessageButtons buttons;
        MessageIcon icon;
    };
    struct ShownMenu {
        std::string window;
        std::vector<std::string> items;
    };
    struct BrowserWrite {
        std::string window;
        std::string control;
        std::string html;
    };

    // Scripted answers, taken in order. A message box with only an OK button needs no answer:
    // it is logged and answered Ok.
    void answerMessage(MessageAnswer answer) { messageAnswers_.push_back(answer); }
    void answerFiles(std::vector<std::string> paths) { fileAnswers_.push_back(std::move(paths)); }
    void answerFolder(std::string folder) { folderAnswers_.push_back(std::move(folder)); }
    void answerPopupMenu(int index) { menuAnswers_.push_back(index); }

    // Runs inside every processPendingEvents call, as a user acting during a long operation.
    void onProcessEvents(std::function<void()> handler) { onEvents_ = std::move(handler); }
    int processEventsCount() const { return processEventsCount_; }

    // The fake clock: ticks() reads it, sleep() and advanceClock() move it on.
    void advanceClock(std::int64_t milliseconds) { now_ += milliseconds; }
    std::int64_t sleptMilliseconds() const { return slept_; }

    const std::vector<ShownMessage>& messages() const { return messages_; }
    // The texts of the messages shown, as UTF-8 for readable assertions.
    std::vector<std::string> messageTextsUtf8() const;
    const std::vector<ShownMenu>& menus() const { return menus_; }
    const std::vector<std::string>& fileDialogTitles() const { return fileDialogTitles_; }
    const std::vector<std::string>& folderDialogInitialFolders() const { return initialFolders_; }
    const std::vector<std::string>& openedUrls() const { return openedUrls_; }
    const std::vector<std::string>& openedFolders() const { return openedFolders_; }
    const std::vector<std::string>& dropTargets() const { return dropTargets_; }
    const std::vector<BrowserWrite>& browserWrites() const { return browserWrites_; }

    MessageAnswer messageBox(std::string_view text, std::string_view title,
                             MessageButtons buttons, MessageIcon icon) override;
    std::vector<std::string> chooseFiles(std::string_view title,
                                         const std::vector<FileFilter>& filters) override;
    std::string chooseFolder(std::string_view title, std::string_view initialFolder) override;
    int popupMenu(std::string_view window, const std::vector<std::string>& items) override;
    void registerDropTarget(std::string_view window) override;
    void showInBrowser(std::string_view window, std::string_view control,
                       std::string_view html) override;
    std::string clipboardText() override { return clipboard_; }
    void setClipboardText(std::string_view text) override { clipboard_ = std::string(text); }
    void processPendingEvents() override;
    void openUrl(std::string_view url) override { openedUrls_.emplace_back(url); }
    void openFolder(std::string_view folder) override { openedFolders_.emplace_back(folder); }
    std::int64_t ticks() override { return now_; }
    void sleep(std::int64_t milliseconds) override;

  private:
    std::deque<MessageAnswer> messageAnswers_;
    std::deque<std::vector<std::string>> fileAnswers_;
    std::deque<std::string> folderAnswers_;
    std::deque<int> menuAnswers_;
    std::function<void()> onEvents_;
    int processEventsCount_ = 0;
    std::int64_t now_ = 1000;
    std::int64_t slept_ = 0;
    std::string clipboard_;
    std::vector<ShownMessage> messages_;
    std::vector<ShownMenu> menus_;
    std::vector<std::string> fileDialogTitles_;
    std::vector<std::string> initialFolders_;
    std::vector<std::string> openedUrls_;
    std::vector<std::string> openedFolders_;
    std::vector<std::string> dropTargets_;
    std::vector<BrowserWrite> browserWrites_;
};

}  // namespace yelian::testing
