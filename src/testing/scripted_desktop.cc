#include "testing/scripted_desktop.h"

#include <gtest/gtest.h>

#include "support/gbk_text.h"

namespace yelian::testing {
namespace {

bool answerFits(MessageAnswer answer, MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return answer == MessageAnswer::Ok;
        case MessageButtons::OkCancel:
            return answer == MessageAnswer::Ok || answer == MessageAnswer::Cancel;
        case MessageButtons::YesNo:
            return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
    }
    return false;
}

MessageAnswer cancellingAnswer(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MessageAnswer::Ok;
        case MessageButtons::OkCancel:
            return MessageAnswer::Cancel;
        case MessageButtons::YesNo:
            return MessageAnswer::No;
    }
    return MessageAnswer::Cancel;
}

}  // namespace

ScriptedDesktop::~ScriptedDesktop() {
    EXPECT_TRUE(messageAnswers_.empty()) << "message box answers never used";
    EXPECT_TRUE(fileAnswers_.empty()) << "file dialog answers never used";
    EXPECT_TRUE(folderAnswers_.empty()) << "folder dialog answers never used";
    EXPECT_TRUE(menuAnswers_.empty()) << "popup menu answers never used";
}

std::vector<std::string> ScriptedDesktop::messageTextsUtf8() const {
    std::vector<std::string> texts;
    texts.reserve(messages_.size());
    for (const ShownMessage& message : messages_) texts.push_back(gbkToUtf8(message.text));
    return texts;
}

MessageAnswer ScriptedDesktop::messageBox(std::string_view text, std::string_view title,
                                          MessageButtons buttons, MessageIcon icon) {
    messages_.push_back({std::string(text), std::string(title), buttons, icon});
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (messageAnswers_.empty()) {
        ADD_FAILURE() << "unanswered message box: " << gbkToUtf8(text);
        return cancellingAnswer(buttons);
    }
    const MessageAnswer answer = messageAnswers_.front();
    messageAnswers_.pop_front();
    if (!answerFits(answer, buttons)) {
        ADD_FAILURE() << "scripted answer does not fit the buttons of: " << gbkToUtf8(text);
        return cancellingAnswer(buttons);
    }
    return answer;
}

std::vector<std::string> ScriptedDesktop::chooseFiles(std::string_view title,
                                                      const std::vector<FileFilter>&) {
    fileDialogTitles_.emplace_back(title);
    if (fileAnswers_.empty()) {
        ADD_FAILURE() << "unanswered file dialog: " << gbkToUtf8(title);
        return {};
    }
    std::vector<std::string> paths = std::move(fileAnswers_.front());
    fileAnswers_.pop_front();
    return paths;
}

std::string ScriptedDesktop::chooseFolder(std::string_view title,
                                          std::string_view initialFolder) {
    initialFolders_.emplace_back(initialFolder);
    if (folderAnswers_.empty()) {
        ADD_FAILURE() << "unanswered folder dialog: " << gbkToUtf8(title);
        return {};
    }
    std::string folder = std::move(folderAnswers_.front());
    folderAnswers_.pop_front();
    return folder;
}

int ScriptedDesktop::popupMenu(std::string_view window, const std::vector<std::string>& items) {
    menus_.push_back({std::string(window), items});
    if (menuAnswers_.empty()) {
        ADD_FAILURE() << "unanswered popup menu in window: " << gbkToUtf8(window);
        return -1;
    }
    const int index = menuAnswers_.front();
    menuAnswers_.pop_front();
    return index;
}

void ScriptedDesktop::registerDropTarget(std::string_view window) {
    dropTargets_.emplace_back(window);
}

void ScriptedDesktop::showInBrowser(std::string_view window, std::string_view control,
                                    std::string_view html) {
    browserWrites_.push_back({std::string(window), std::string(control), std::string(html)});
}

void ScriptedDesktop::processPendingEvents() {
    ++processEventsCount_;
    if (onEvents_) onEvents_();
}

void ScriptedDesktop::sleep(std::int64_t milliseconds) {
    slept_ += milliseconds;
    now_ += milliseconds;
}

}  // namespace yelian::testing
