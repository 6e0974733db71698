// The widgets built from the window tables and the control events their signals become.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <tuple>

#include "controls/input_dialog_table.h"
#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/phrase_editor_table.h"
#include "qt/qt_controls.h"
#include "qt/qt_desktop.h"
#include "qt/qt_text.h"
#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;
using enum ControlKind;

struct RecordingSink : EventSink {
    using Event = std::tuple<std::string, std::string, ControlEvent>;
    std::vector<Event> events;
    std::vector<std::string> dropped;
    bool handles = true;

    bool controlEvent(std::string_view window, std::string_view control,
                      ControlEvent event) override {
        events.emplace_back(window, control, event);
        return handles;
    }
    void filesDropped(std::string_view, const std::vector<std::string>& paths) override {
        dropped = paths;
    }
    bool saw(std::string_view control, ControlEvent event) const {
        for (const auto& [w, c, e] : events) {
            if (c == control && e == event) return true;
        }
        return false;
    }
};

class QtWindowTest : public ::testing::Test {
  protected:
    QtWindowTest() {
        controls.setEventSink(&sink);
        controls.showWindow(kMainWindow, false, {});
        sink.events.clear();
    }
    QWidget* widget(std::string_view name) { return controls.controlWidget(kMainWindow, name); }

    QtControls controls{{mainWindowSpec(), phraseEditorSpec(), inputDialogSpec()}, WidgetScale{}};
    RecordingSink sink;
};

TEST_F(QtWindowTest, EveryControlIsAWidgetNamedAndPlacedAsInItsTable) {
    for (const WindowSpec* spec : {&mainWindowSpec(), &phraseEditorSpec(), &inputDialogSpec()}) {
        for (const ControlSpec& control : spec->controls) {
            SCOPED_TRACE(gbkToUtf8(control.name));
            QWidget* w = controls.controlWidget(spec->name, control.name);
            if (control.kind == MenuItem) {
                EXPECT_EQ(w, nullptr);
                continue;
            }
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(fromQString(w->objectName()), control.name);
            if (control.kind == TabPage) continue;
            const Geometry& g = control.geometry;
            const int top = control.container.empty() ? g.top : w->geometry().top();
            EXPECT_EQ(w->geometry(), QRect(g.left, top, g.width, g.height));
            if (!control.container.empty()) {
                QWidget* container = controls.controlWidget(spec->name, control.container);
                EXPECT_TRUE(container->isAncestorOf(w));
            }
        }
    }
}

TEST_F(QtWindowTest, OpenedComesOnceWhenAWindowIsCreatedAndBeforeAModalLoop) {
    const auto openings = [&](std::string_view window) {
        return std::count(sink.events.begin(), sink.events.end(),
                          RecordingSink::Event{std::string(window), {}, ControlEvent::Opened});
    };
    controls.showWindow(kPhraseEditorWindow, false, kMainWindow);
    controls.showWindow(kPhraseEditorWindow, false, kMainWindow);
    EXPECT_EQ(openings(kPhraseEditorWindow), 1);
    controls.closeWindow(kPhraseEditorWindow);
    controls.showWindow(kPhraseEditorWindow, false, kMainWindow);
    EXPECT_EQ(openings(kPhraseEditorWindow), 2);

    std::size_t seenInLoop = 0;
    QTimer::singleShot(0, [&] {
        seenInLoop = static_cast<std::size_t>(openings(kInputDialogWindow));
        controls.closeWindow(kInputDialogWindow);
    });
    controls.showWindow(kInputDialogWindow, true, kMainWindow);
    EXPECT_EQ(seenInLoop, 1u);
}

TEST_F(QtWindowTest, CaptionsAndTextsAreTheTablesDesign) {
    EXPECT_EQ(static_cast<QAbstractButton*>(widget(kImportFolderButton))->text(),
              QStringLiteral("  导入目录生成"));
    EXPECT_EQ(static_cast<QLabel*>(widget(kHelpLink))->text(), QStringLiteral("疑点说明"));
    EXPECT_TRUE(static_cast<QPlainTextEdit*>(widget(kTemplateEditor1))
                    ->toPlainText()
                    .startsWith(QStringLiteral("<html>\n<head>")));
    EXPECT_TRUE(widget(kKeywordListEdit)->isHidden());
    EXPECT_FALSE(static_cast<QLabel*>(widget(kLogoPicture))->pixmap().isNull());
}

TEST_F(QtWindowTest, UserActionsBecomeControlEvents) {
    static_cast<QAbstractButton*>(widget(kThisTitleButton))->click();
    static_cast<QAbstractButton*>(widget(kCutContentCheck))->click();
    static_cast<QLineEdit*>(widget(kChineseLengthMaxEdit))->setText(QStringLiteral("12"));
    QFocusEvent focus(QEvent::FocusIn);
    QApplication::sendEvent(widget(kTemplateEditor2), &focus);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(widget(kTimeFormatEdit), &enter);
    const QPointF at(3, 3);
    QMouseEvent right(QEvent::MouseButtonRelease, at, at, at, Qt::RightButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget(kImportFolderButton), &right);
    QMouseEvent press(QEvent::MouseButtonPress, at, at, at, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget(kHelpLink), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, at, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget(kHelpPicture), &release);

    EXPECT_TRUE(sink.saw(kThisTitleButton, ControlEvent::Clicked));
    EXPECT_TRUE(sink.saw(kCutContentCheck, ControlEvent::Clicked));
    EXPECT_TRUE(sink.saw(kChineseLengthMaxEdit, ControlEvent::Changed));
    EXPECT_TRUE(sink.saw(kTemplateEditor2, ControlEvent::FocusGained));
    EXPECT_TRUE(sink.saw(kTimeFormatEdit, ControlEvent::EnterPressed));
    EXPECT_TRUE(sink.saw(kImportFolderButton, ControlEvent::RightClicked));
    EXPECT_TRUE(sink.saw(kHelpLink, ControlEvent::Clicked));
    EXPECT_TRUE(sink.saw(kHelpPicture, ControlEvent::Clicked));
}

TEST_F(QtWindowTest, SelectionsChangedByTheUserAreEventsAndByTheProgramNot) {
    controls.setSelectedIndex(kMainWindow, kTemplateTabs, 6);
    controls.setSelectedIndex(kMainWindow, kTitleSourceCombo, 2);
    EXPECT_TRUE(sink.events.empty());
    static_cast<QTabWidget*>(widget(kTemplateTabs))->setCurrentIndex(2);
    EXPECT_TRUE(sink.saw(kTemplateTabs, ControlEvent::Changed));

    controls.showWindow(kPhraseEditorWindow, false, kMainWindow);
    controls.addItem(kPhraseEditorWindow, kPhraseList, "a|b");
    auto* list =
        static_cast<QListWidget*>(controls.controlWidget(kPhraseEditorWindow, kPhraseList));
    emit list->itemDoubleClicked(list->item(0));
    EXPECT_TRUE(sink.saw(kPhraseList, ControlEvent::DoubleClicked));
}

TEST_F(QtWindowTest, TheCloseBoxAsksTheHandlerAndClosesOnlyWithoutOne) {
    controls.windowWidget(kMainWindow)->close();
    EXPECT_TRUE(sink.saw("", ControlEvent::Closing));
    EXPECT_TRUE(controls.windowExists(kMainWindow));
    sink.handles = false;
    controls.windowWidget(kMainWindow)->close();
    EXPECT_FALSE(controls.windowExists(kMainWindow));
}

TEST_F(QtWindowTest, DroppedFilesReachTheSinkAndOtherDropsDoNot) {
    QtDesktop desktop(controls, QtDesktop::Dialogs::Scripted);
    desktop.registerDropTarget(kMainWindow);
    const auto drop = [&](QMimeData& data) {
        return controls.windowWidget(kMainWindow)->takeDrop(&data);
    };
    QMimeData text;
    text.setText(QStringLiteral("just text"));
    EXPECT_FALSE(drop(text));
    EXPECT_TRUE(sink.dropped.empty());
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/甲.htm")),
                   QUrl::fromLocalFile(QStringLiteral("/tmp/b.txt"))});
    EXPECT_TRUE(drop(files));
    EXPECT_EQ(sink.dropped, (std::vector<std::string>{"/tmp/甲.htm"_gbk, "/tmp/b.txt"}));
    EXPECT_FALSE(widget(kTemplateEditor1)->acceptDrops());
}

TEST_F(QtWindowTest, AModalWindowReturnsOnlyAfterItClosed) {
    bool existedWhileShown = false;
    QTimer::singleShot(20, [&] {
        existedWhileShown = controls.windowExists(kInputDialogWindow);
        controls.closeWindow(kInputDialogWindow);
    });
    controls.showWindow(kInputDialogWindow, true, kMainWindow);
    EXPECT_TRUE(existedWhileShown);
    EXPECT_FALSE(controls.windowExists(kInputDialogWindow));
}

TEST_F(QtWindowTest, ScriptedDialogsAnswerFromTheirQueuesWithoutShowing) {
    QtDesktop desktop(controls, QtDesktop::Dialogs::Scripted);
    desktop.answerMessage(MessageAnswer::Yes);
    desktop.answerFolder("/tmp/articles");
    desktop.answerFiles({"/tmp/a.htm"});
    desktop.answerPopupMenu(2);
    EXPECT_EQ(desktop.messageBox("q", "", MessageButtons::YesNo, MessageIcon::Question),
              MessageAnswer::Yes);
    EXPECT_EQ(desktop.messageBox("q", "", MessageButtons::YesNo, MessageIcon::Question),
              MessageAnswer::No);
    EXPECT_EQ(desktop.messageBox("ok", "", MessageButtons::Ok, MessageIcon::None),
              MessageAnswer::Ok);
    EXPECT_EQ(desktop.chooseFolder("t", ""), "/tmp/articles");
    EXPECT_EQ(desktop.chooseFolder("t", ""), "");
    EXPECT_EQ(desktop.chooseFiles("t", {}), std::vector<std::string>{"/tmp/a.htm"});
    EXPECT_EQ(desktop.popupMenu(kMainWindow, {"a", "b", "c"}), 2);
    EXPECT_EQ(desktop.popupMenu(kMainWindow, {"a"}), -1);
    EXPECT_EQ(desktop.messages().size(), 3u);
}

TEST_F(QtWindowTest, TheClipboardKeepsLineBreaksAsCrLf) {
    QtDesktop desktop(controls, QtDesktop::Dialogs::Scripted);
    desktop.setClipboardText("甲\r\n乙"_gbk);
    EXPECT_EQ(desktop.clipboardText(), "甲\r\n乙"_gbk);
    desktop.setClipboardText("");
    EXPECT_EQ(desktop.clipboardText(), "");
}

// A long loop that calls the hook for each of its steps still has its events handled, however
// short the steps are.
TEST_F(QtWindowTest, TheEventHookHandlesEventsDuringALongLoop) {
    QtDesktop desktop(controls, QtDesktop::Dialogs::Scripted);
    int handled = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++handled; });
    timer.start(5);
    const std::int64_t start = desktop.ticks();
    while (desktop.ticks() - start < 200) desktop.processPendingEvents();
    EXPECT_GE(handled, 3);
}

}  // namespace
}  // namespace yelian
