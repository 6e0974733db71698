// The main window's handlers on real widgets, driven by the events a user's mouse and keyboard
// make: the start's enabled states, files dropped on the window, the tag buttons and their
// target editor, the live samples, the paste buttons, the input dialog and the phrase editor,
// and a run stopped or closed while it writes its pages.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "controls/input_dialog_table.h"
#include "controls/main_window_names.h"
#include "controls/phrase_editor_table.h"
#include "controls/template_maker_table.h"
#include "qt/qt_controls.h"
#include "qt/qt_desktop.h"
#include "qt/qt_text.h"
#include "qt/tests/desktop_under_test.h"
#include "shell/import_handlers.h"
#include "shell/input_dialog.h"
#include "support/gbk_text.h"
#include "taggen/phrase_groups.h"
#include "testing/start_states.h"
#include "testing/temp_dir.h"

namespace yelian {
namespace {

using namespace yelian::literals;

class DesktopHandlersTest : public testing::DesktopTest {
  protected:
    DesktopHandlersTest() {
        QWidget* main = controls.windowWidget(kMainWindow);
        main->activateWindow();
        QApplication::setActiveWindow(main);
    }

    QWidget* widget(std::string_view control, std::string_view window = kMainWindow) const {
        return controls.controlWidget(window, control);
    }
    std::string text(std::string_view control, std::string_view window = kMainWindow) const {
        return controls.text(window, control);
    }
    // A mouse click: the button takes the focus first, as it does under the pointer.
    void click(std::string_view control, std::string_view window = kMainWindow) {
        auto* button = qobject_cast<QAbstractButton*>(widget(control, window));
        ASSERT_NE(button, nullptr) << gbkToUtf8(control);
        button->setFocus(Qt::MouseFocusReason);
        button->click();
    }
    // Link labels act when the left button goes down.
    void pressLink(std::string_view control) {
        const QPointF at(2, 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, at, at, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget(control), &press);
    }
    void focusOn(std::string_view control, std::string_view window = kMainWindow) {
        QWidget* target = widget(control, window);
        QApplication::setActiveWindow(target->window());
        target->setFocus(Qt::MouseFocusReason);
    }
    // Keystrokes into the box that has the focus, one character each.
    void type(std::string_view control, const QString& keys) {
        focusOn(control);
        for (const QChar key : keys) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(key));
            QApplication::sendEvent(widget(control), &press);
        }
    }
    void eraseAll(std::string_view control) {
        focusOn(control);
        QKeyEvent selectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier);
        QApplication::sendEvent(widget(control), &selectAll);
        QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
        QApplication::sendEvent(widget(control), &erase);
    }
    void selectInEditor(std::string_view editor, int start, int length) {
        auto* edit = qobject_cast<QPlainTextEdit*>(widget(editor));
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
    }
    void showPage(int index) {
        static_cast<QTabWidget*>(widget(kTemplateTabs))->setCurrentIndex(index);
    }
    void drop(const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
        data.setUrls(urls);
        QWidget* main = controls.windowWidget(kMainWindow);
        const QPointF at(main->width() / 2.0, main->height() / 2.0);
        // As a drag does: the window takes the drag when it enters, then the drop.
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(main, &enter);
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(main, &event);
    }
};

TEST_F(DesktopHandlersTest, TheStartEnablesOnlyWhatTheDesignStatesAllow) {
    for (std::string_view name : testing::kDisabledAtStart) {
        EXPECT_FALSE(widget(name)->isEnabled()) << gbkToUtf8(name);
    }
    for (std::string_view name : testing::kEnabledAtStart) {
        EXPECT_TRUE(widget(name)->isEnabled()) << gbkToUtf8(name);
    }
    // A tick brings the dependents in at once.
    click(kListPagesCheck);
    EXPECT_TRUE(widget(kArticlesPerListPageEdit)->isEnabled());
}

TEST_F(DesktopHandlersTest, DroppedFilesFillTheSelectedTemplateEditorOnly) {
    showPage(2);
    drop({QStringLiteral("/文章/一.htm")});
    EXPECT_EQ(text(kTemplateEditor3), "/文章/一.htm"_gbk);
    drop({QStringLiteral("/a.htm"), QStringLiteral("/b.htm")});
    EXPECT_EQ(text(kTemplateEditor3), "/a.htm\r\n/b.htm\r\n");
    // The list-page settings take no files.
    showPage(6);
    drop({QStringLiteral("/c.htm")});
    EXPECT_EQ(text(kTemplateEditor3), "/a.htm\r\n/b.htm\r\n");
    EXPECT_EQ(text(kListHeadEdit).find("c.htm"), std::string::npos);
}

TEST_F(DesktopHandlersTest, TagButtonsWaitForATemplateEditorThenReplaceItsSelection) {
    const std::string before = text(kTemplateEditor1);
    click(kThisTitleButton);
    EXPECT_EQ(text(kTemplateEditor1), before);

    showPage(1);
    controls.setText(kMainWindow, kTemplateEditor2, "ab中文cd"_gbk);
    focusOn(kTemplateEditor2);
    selectInEditor(kTemplateEditor2, 2, 2);
    click(kThisTitleButton);
    EXPECT_EQ(text(kTemplateEditor2), "ab#本篇标题#cd"_gbk);
    // The focus is back in the editor, the caret behind the tag.
    EXPECT_EQ(QApplication::focusWidget(), widget(kTemplateEditor2));
    click(kRandomLinkButton);
    EXPECT_EQ(text(kTemplateEditor2), "ab#本篇标题##随机篇链接#cd"_gbk);

    // "更多" offers its four tags in a menu.
    desktop.answerPopupMenu(1);
    click(kMoreButton);
    EXPECT_EQ(text(kTemplateEditor2), "ab#本篇标题##随机篇链接##时间#cd"_gbk);
}

TEST_F(DesktopHandlersTest, TheOpenTemplateMakerTakesTheTagsUntilItCloses) {
    controls.setText(kMainWindow, kTemplateEditor1, {});
    focusOn(kTemplateEditor1);
    pressLink(kTemplateMakerLink);
    ASSERT_TRUE(controls.windowExists(kTemplateMakerWindow));
    controls.setText(kTemplateMakerWindow, kTemplateSourceEdit, "<p>x</p>");
    click(kKeywordTagButton);
    EXPECT_EQ(text(kTemplateSourceEdit, kTemplateMakerWindow), "#关键词#<p>x</p>"_gbk);
    EXPECT_EQ(text(kTemplateEditor1), "");

    controls.windowWidget(kTemplateMakerWindow)->close();
    ASSERT_FALSE(controls.windowExists(kTemplateMakerWindow));
    click(kKeywordTagButton);
    EXPECT_EQ(text(kTemplateEditor1), "");
    focusOn(kTemplateEditor1);
    click(kKeywordTagButton);
    EXPECT_EQ(text(kTemplateEditor1), "#关键词#"_gbk);
}

TEST_F(DesktopHandlersTest, EachKeystrokeInACountBoxDrawsANewSample) {
    showPage(5);
    const auto caption = [this](std::string_view group) {
        return fromQString(static_cast<QGroupBox*>(widget(group))->title());
    };
    eraseAll(kChineseLengthMaxEdit);
    std::set<std::string> samples;
    for (int i = 0; i < 3; ++i) {
        type(kChineseLengthMaxEdit, QStringLiteral("2"));
        const std::string shown = caption(kRandomChineseGroup);
        ASSERT_TRUE(shown.starts_with("#随机汉字# - "_gbk)) << gbkToUtf8(shown);
        samples.insert(shown);
    }
    EXPECT_EQ(text(kChineseLengthMaxEdit), "222");
    EXPECT_EQ(samples.size(), 3u);

    eraseAll(kTimeFormatEdit);
    type(kTimeFormatEdit, QStringLiteral("<年>年"));
    const std::string time = gbkToUtf8(caption(kTimeGroup));
    EXPECT_TRUE(time.starts_with("#时间# - ")) << time;
    EXPECT_TRUE(time.ends_with("年")) << time;
}

TEST_F(DesktopHandlersTest, PasteButtonsReplaceTheBoxWithTheClipboard) {
    showPage(6);
    QGuiApplication::clipboard()->setText(QStringLiteral("<div>列表</div>"));
    click(kPasteListHeadButton);
    EXPECT_EQ(text(kListHeadEdit), "<div>列表</div>"_gbk);
    QGuiApplication::clipboard()->clear();
    for (auto [button, edit] :
         {std::pair{std::string_view(kPasteListHeadButton), std::string_view(kListHeadEdit)},
          std::pair{std::string_view(kPastePageEntryButton), std::string_view(kPageEntryEdit)},
          std::pair{std::string_view(kPasteArticleEntryButton),
                    std::string_view(kArticleEntryEdit)},
          std::pair{std::string_view(kPasteListTailButton), std::string_view(kListTailEdit)}}) {
        click(button);
        EXPECT_EQ(text(edit), "") << gbkToUtf8(button);
    }
}

// The prompt's lines by the layout rule, each as high as a line of the dialog's font.
TEST_F(DesktopHandlersTest, TheInputDialogsPromptKeepsItsLinesAtTheFontsHeight) {
    const auto promptLines = [this](std::optional<std::string> prompt) {
        int lines = -1;
        whenOpen([&] {
            QWidget* edit = widget(kInputPromptEdit, kInputDialogWindow);
            const int spacing = edit->fontMetrics().lineSpacing();
            lines = edit->height() % spacing == 0 ? edit->height() / spacing : -2;
            click(kInputCancelButton, kInputDialogWindow);
        });
        showTextDialog(app, "x", prompt, {}, kMainWindow, true);
        return lines;
    };
    EXPECT_EQ(promptLines(std::string(130, 'p')), 2);
    EXPECT_EQ(promptLines("第一行\r\n\r\n第三行"_gbk), 3);
    // An empty prompt shows the default in one line.
    EXPECT_EQ(promptLines(std::string()), 1);
    EXPECT_EQ(promptLines(std::nullopt), 0);
}

TEST_F(DesktopHandlersTest, TheInputDialogsCloseBoxAsksOnlyAfterAnEdit) {
    // No keeps the dialog open; Yes gives the edit up.
    desktop.answerMessage(MessageAnswer::No);
    desktop.answerMessage(MessageAnswer::Yes);
    bool stayed = false;
    whenOpen([&] {
        auto* edit = static_cast<QPlainTextEdit*>(widget(kInputTextEdit, kInputDialogWindow));
        edit->setFocus();
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("改"));
        QApplication::sendEvent(edit, &key);
        controls.windowWidget(kInputDialogWindow)->close();
        stayed = controls.windowExists(kInputDialogWindow);
        controls.windowWidget(kInputDialogWindow)->close();
    });
    EXPECT_FALSE(showTextDialog(app, "原样"_gbk, {}, {}, kMainWindow, true).confirmed);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(desktop.messages(), (std::vector<std::string>{"内容已被改动，是否要放弃？"_gbk,
                                                            "内容已被改动，是否要放弃？"_gbk}));
    // Untouched, it closes without a word.
    whenOpen([&] { controls.windowWidget(kInputDialogWindow)->close(); });
    EXPECT_FALSE(showTextDialog(app, "原样"_gbk, {}, {}, kMainWindow, true).confirmed);
    EXPECT_EQ(desktop.messages().size(), 2u);
    EXPECT_FALSE(controls.windowExists(kInputDialogWindow));
}

TEST_F(DesktopHandlersTest, ClosingTheMainWindowEndsItsOpenDialogUnansweredFirst) {
    showPage(5);
    const std::string keywords = text(kKeywordListEdit);
    bool dialogGone = false;
    bool mainStillOpen = false;
    whenOpen([&] {
        controls.setText(kInputDialogWindow, kInputTextEdit, "未确认");
        controls.windowWidget(kMainWindow)->close();
        dialogGone = !controls.windowExists(kInputDialogWindow);
        mainStillOpen = controls.windowExists(kMainWindow);
    });
    click(kEnterKeywordsButton);
    EXPECT_TRUE(dialogGone);
    EXPECT_TRUE(mainStillOpen);
    EXPECT_FALSE(controls.windowExists(kMainWindow));
    EXPECT_EQ(text(kKeywordListEdit), keywords);
    EXPECT_TRUE(desktop.messages().empty());
}

class PhraseEditorOnWidgets : public DesktopHandlersTest {
  protected:
    void openWith(const std::vector<std::string>& groups, int selected) {
        savePhraseGroups(app.settings(), app.ui(), groups, selected);
        if (!controls.checked(kMainWindow, kInsertPhrasesCheck)) click(kInsertPhrasesCheck);
        showPage(5);
        click(kEditPhrasesButton);
        ASSERT_TRUE(controls.windowExists(kPhraseEditorWindow));
    }
    QListWidget* list() const {
        return static_cast<QListWidget*>(widget(kPhraseList, kPhraseEditorWindow));
    }
    std::vector<std::string> items() const {
        std::vector<std::string> shown;
        for (int i = 0; i < list()->count(); ++i)
            shown.push_back(fromQString(list()->item(i)->text()));
        return shown;
    }
    void press(std::string_view button) { click(button, kPhraseEditorWindow); }
};

TEST_F(PhraseEditorOnWidgets, DeleteKeepsASelectionInPlaceAndModifyEditsTheSelectedGroup) {
    openWith({"a", "b", "c"}, 2);
    EXPECT_EQ(list()->currentRow(), 2);
    press(kPhraseDeleteButton);
    EXPECT_EQ(items(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(list()->currentRow(), 1);
    list()->setCurrentRow(0);
    whenOpen([&] {
        EXPECT_EQ(text(kInputTextEdit, kInputDialogWindow), "a");
        controls.setText(kInputDialogWindow, kInputTextEdit, "a|c");
        click(kInputOkButton, kInputDialogWindow);
    });
    press(kPhraseModifyButton);
    EXPECT_EQ(items(), (std::vector<std::string>{"a|c", "b"}));
    press(kPhraseDeleteButton);
    press(kPhraseDeleteButton);
    EXPECT_TRUE(items().empty());
    press(kPhraseDeleteButton);
    press(kPhraseModifyButton);
    EXPECT_EQ(desktop.messages(), (std::vector<std::string>{"请先选择一个项目再删除"_gbk,
                                                            "请先选择一个项目再修改"_gbk}));
}

TEST_F(PhraseEditorOnWidgets, ClearAsksFirstAndTheClosedEditorStoresTheEmptyList) {
    openWith({"a", "b"}, 0);
    desktop.answerMessage(MessageAnswer::Cancel);
    desktop.answerMessage(MessageAnswer::Ok);
    press(kPhraseClearButton);
    EXPECT_EQ(items().size(), 2u);
    press(kPhraseClearButton);
    EXPECT_TRUE(items().empty());
    EXPECT_EQ(desktop.messages().back(), "确定要清空全部项目吗？"_gbk);
    controls.windowWidget(kPhraseEditorWindow)->close();
    EXPECT_FALSE(controls.windowExists(kPhraseEditorWindow));
    EXPECT_TRUE(storedPhraseGroups(app.settings()).empty());
    EXPECT_EQ(controls.itemCount(kMainWindow, kPhraseCombo), 0);
}

TEST_F(PhraseEditorOnWidgets, ADoubleClickedGroupGoesToTheMainWindow) {
    openWith({"甲|乙"_gbk, "丙|丁"_gbk}, 0);
    QListWidgetItem* second = list()->item(1);
    const QPointF at = list()->visualItemRect(second).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, list()->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(list()->viewport(), &event);
        if (!controls.windowExists(kPhraseEditorWindow)) break;
    }
    EXPECT_FALSE(controls.windowExists(kPhraseEditorWindow));
    EXPECT_EQ(text(kPhraseCombo), "丙|丁"_gbk);
    EXPECT_EQ(controls.itemCount(kMainWindow, kPhraseCombo), 2);
}

TEST_F(PhraseEditorOnWidgets, ClosedDuringItsDialogItClosesAfterTheDialogAndSaves) {
    openWith({}, -1);
    bool stayedOpen = false;
    whenOpen([&] {
        controls.windowWidget(kPhraseEditorWindow)->close();
        stayedOpen = controls.windowExists(kPhraseEditorWindow);
        controls.setText(kInputDialogWindow, kInputTextEdit, "新|组"_gbk);
        click(kInputOkButton, kInputDialogWindow);
    });
    press(kPhraseAddButton);
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(controls.windowExists(kPhraseEditorWindow));
    EXPECT_EQ(storedPhraseGroups(app.settings()), std::vector<std::string>{"新|组"_gbk});
}

// Ten articles imported through the file dialog; the test acts from the window's event loop,
// which the run keeps turning, once three pages are on disk.
class RunOnWidgets : public DesktopHandlersTest {
  protected:
    RunOnWidgets() {
        std::filesystem::create_directories(articles);
        std::vector<std::string> paths;
        for (int i = 0; i < 10; ++i) {
            const std::filesystem::path path = articles / ("a" + std::to_string(i) + ".htm");
            std::ofstream(path, std::ios::binary) << "<title>t" << i << "</title>x";
            paths.push_back(path.string());
        }
        desktop.answerFiles(paths);
        controls.setChecked(kMainWindow, kOrderedCheck, true);
        showPage(1);
    }
    int pagesWritten() const {
        const std::filesystem::path output = articles / std::filesystem::path(u8"单页目录");
        if (!std::filesystem::exists(output)) return 0;
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(output))
            count += entry.is_regular_file() ? 1 : 0;
        return count;
    }
    // The run turns the loop when some time has passed since the last turn; until three pages
    // are written each turn takes that long, so that the run turns it again for every article.
    void afterThreePages(std::function<void()> act) {
        constexpr int kLongerThanTheRunWaits = 20;
        QThread::msleep(kLongerThanTheRunWaits);
        auto* timer = new QTimer(controls.windowWidget(kMainWindow));
        QObject::connect(timer, &QTimer::timeout, timer, [this, timer, act = std::move(act)] {
            if (pagesWritten() < 3) {
                QThread::msleep(kLongerThanTheRunWaits);
                return;
            }
            timer->stop();
            act();
        });
        timer->start(0);
    }

    std::filesystem::path articles = dir.path() / "articles";
};

TEST_F(RunOnWidgets, ASecondClickStopsTheRunAfterTheArticleInProgress) {
    desktop.answerMessage(MessageAnswer::No);
    std::string stopping;
    afterThreePages([&] {
        click(kImportFilesButton);

        stopping = controls.caption(kMainWindow, kImportFilesButton);
    });
    click(kImportFilesButton);
    EXPECT_EQ(stopping, kImportFilesStopping.str());
    EXPECT_EQ(pagesWritten(), 3);
    ASSERT_EQ(desktop.messages().size(), 1u);
    EXPECT_TRUE(gbkToUtf8(desktop.messages()[0]).starts_with("耗时 "));
    EXPECT_EQ(controls.caption(kMainWindow, kImportFilesButton), kImportFilesIdle.str());
    EXPECT_TRUE(controls.windowExists(kMainWindow));
}

TEST_F(RunOnWidgets, ClosingTheWindowDuringARunStopsItThenSavesAndCloses) {
    controls.setText(kMainWindow, kArticlesPerListPageEdit, "17");
    bool openWhileRunning = false;
    afterThreePages([&] {
        controls.windowWidget(kMainWindow)->close();
        // Nothing is closed under the running loop.
        openWhileRunning = controls.windowExists(kMainWindow);
    });
    click(kImportFilesButton);
    EXPECT_TRUE(openWhileRunning);
    EXPECT_EQ(pagesWritten(), 3);
    EXPECT_FALSE(controls.windowExists(kMainWindow));
    EXPECT_TRUE(desktop.messages().empty());
    std::ifstream saved(dir.file("settings.ini"), std::ios::binary);
    const std::string settings{std::istreambuf_iterator<char>(saved), {}};
    EXPECT_NE(settings.find("编辑框分页=17"_gbk), std::string::npos);
}

}  // namespace
}  // namespace yelian
