// The secondary windows on real widgets, driven through the shell as the user drives them:
// the input dialog filled in and laid out when it opens, the help text, the phrase editor
// asking for a group, and the template maker's preview and rendered pages.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <functional>

#include "controls/input_dialog_table.h"
#include "controls/main_window_names.h"
#include "controls/phrase_editor_table.h"
#include "controls/template_maker_table.h"
#include "qt/qt_controls.h"
#include "qt/qt_desktop.h"
#include "qt/tests/desktop_under_test.h"
#include "shell/input_dialog.h"
#include "support/gbk_text.h"
#include "testing/temp_dir.h"
#include "web/tests/local_server.h"

#ifdef YELIAN_WEBENGINE
#include <QEventLoop>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "qt/web_engine_renderer.h"
#endif

namespace yelian {
namespace {

using namespace yelian::literals;

class DesktopWindowsTest : public testing::DesktopTest {
  protected:
    // Buttons are clicked; link labels act on the left button going down, as in QtWindow.
    void click(std::string_view window, std::string_view control) {
        QWidget* widget = controls.controlWidget(window, control);
        if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->click();
            return;
        }
        const QPointF at(2, 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, at, at, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
    }
    QRect geometryOf(std::string_view control) {
        return controls.controlWidget(kInputDialogWindow, control)->geometry();
    }
};

TEST_F(DesktopWindowsTest, TheInputDialogIsFilledAndLaidOutBeforeTheUserSeesIt) {
    const std::string prompt(130, 'p');
    bool looked = false;
    whenOpen([&] {
        looked = true;
        ASSERT_TRUE(controls.windowExists(kInputDialogWindow));
        EXPECT_EQ(controls.text(kInputDialogWindow, kInputPromptEdit), prompt);
        EXPECT_EQ(controls.text(kInputDialogWindow, kInputTextEdit), "甲\r\n乙"_gbk);
        const QWidget* dialog = controls.windowWidget(kInputDialogWindow);
        const InputDialogLayout expected =
            inputDialogLayout(app.dialogRequest(), dialog->width(), dialog->height());
        // Two lines by the rule, each as high as the font's lines.
        const int lineSpacing = controls.controlWidget(kInputDialogWindow, kInputPromptEdit)
                                    ->fontMetrics()
                                    .lineSpacing();
        EXPECT_EQ(expected.prompt.height, 24);
        EXPECT_EQ(geometryOf(kInputPromptEdit).height(), 2 * lineSpacing);
        EXPECT_EQ(geometryOf(kInputTextEdit).top(), geometryOf(kInputPromptEdit).bottom() + 1 + 5);
        EXPECT_EQ(geometryOf(kInputTextEdit).bottom() + 1,
                  expected.text.top + expected.text.height);
        EXPECT_EQ(geometryOf(kInputCancelButton).right() + 1, dialog->width() - 5);
        EXPECT_EQ(geometryOf(kInputOkButton).right() + 1, geometryOf(kInputCancelButton).left());
        // A taller window gives the text box all the extra room; the buttons stay below it.
        const int textHeight = geometryOf(kInputTextEdit).height();
        controls.windowWidget(kInputDialogWindow)->resize(dialog->width(), dialog->height() + 100);
        EXPECT_EQ(geometryOf(kInputTextEdit).height(), textHeight + 100);
        EXPECT_GT(geometryOf(kInputOkButton).top(), geometryOf(kInputTextEdit).bottom());
        controls.setText(kInputDialogWindow, kInputTextEdit, "丙"_gbk);
        click(kInputDialogWindow, kInputOkButton);
    });
    const TextDialogResult result =
        showTextDialog(app, "甲\r\n乙"_gbk, prompt, {}, kMainWindow, true);
    EXPECT_TRUE(looked);
    EXPECT_TRUE(result.confirmed);
    EXPECT_EQ(result.text, "丙"_gbk);
    EXPECT_FALSE(controls.windowExists(kInputDialogWindow));
}

TEST_F(DesktopWindowsTest, TheHelpTextIsReadOnlyAndClosesWithEnter) {
    bool looked = false;
    whenOpen([&] {
        looked = true;
        auto* text = static_cast<QPlainTextEdit*>(
            controls.controlWidget(kInputDialogWindow, kInputTextEdit));
        EXPECT_TRUE(text->isReadOnly());
        EXPECT_GT(text->toPlainText().size(), 100);
        EXPECT_EQ(text->palette().color(QPalette::Base),
                  controls.windowWidget(kInputDialogWindow)->palette().color(QPalette::Base));
        EXPECT_TRUE(controls.controlWidget(kInputDialogWindow, kInputOkButton)->isHidden());
        EXPECT_TRUE(controls.controlWidget(kInputDialogWindow, kInputToolbarFrame)->isHidden());
        auto* close = static_cast<QPushButton*>(
            controls.controlWidget(kInputDialogWindow, kInputCancelButton));
        EXPECT_TRUE(close->isDefault());
        EXPECT_EQ(geometryOf(kInputPromptEdit).height(), 0);
        close->click();
    });
    click(kMainWindow, kHelpLink);
    EXPECT_TRUE(looked);
    EXPECT_FALSE(controls.windowExists(kInputDialogWindow));
    // The next dialog in input mode has no default button left over.
    whenOpen([&] {
        EXPECT_FALSE(static_cast<QPushButton*>(
                         controls.controlWidget(kInputDialogWindow, kInputCancelButton))
                         ->isDefault());
        click(kInputDialogWindow, kInputCancelButton);
    });
    click(kMainWindow, kEnterKeywordsButton);
}

TEST_F(DesktopWindowsTest, ThePhraseEditorTakesAGroupFromTheInputDialog) {
    // The editor's button works once the phrase insertion is switched on.
    if (!controls.checked(kMainWindow, kInsertPhrasesCheck))
        click(kMainWindow, kInsertPhrasesCheck);
    click(kMainWindow, kEditPhrasesButton);
    ASSERT_TRUE(controls.windowExists(kPhraseEditorWindow));
    const int before = controls.itemCount(kPhraseEditorWindow, kPhraseList);
    whenOpen([&] {
        controls.setText(kInputDialogWindow, kInputTextEdit, "春天|夏天"_gbk);
        click(kInputDialogWindow, kInputOkButton);
    });
    click(kPhraseEditorWindow, kPhraseAddButton);
    ASSERT_EQ(controls.itemCount(kPhraseEditorWindow, kPhraseList), before + 1);
    EXPECT_EQ(controls.item(kPhraseEditorWindow, kPhraseList, before), "春天|夏天"_gbk);
    // A second opening only raises the editor: its list is not loaded again over the edit.
    click(kMainWindow, kEditPhrasesButton);
    EXPECT_EQ(controls.itemCount(kPhraseEditorWindow, kPhraseList), before + 1);
}

TEST_F(DesktopWindowsTest, TheTemplateMakerOpensFromTheMainWindowWithItsSavedAddress) {
    click(kMainWindow, kTemplateMakerLink);
    ASSERT_TRUE(controls.windowExists(kTemplateMakerWindow));
    controls.setText(kTemplateMakerWindow, kAddressEdit, "http://127.0.0.1:1/a.html");
    controls.setChecked(kTemplateMakerWindow, kRenderedCheck, true);
    controls.windowWidget(kTemplateMakerWindow)->close();
    EXPECT_FALSE(controls.windowExists(kTemplateMakerWindow));
    click(kMainWindow, kTemplateMakerLink);
    EXPECT_EQ(controls.text(kTemplateMakerWindow, kAddressEdit), "http://127.0.0.1:1/a.html");
    EXPECT_TRUE(controls.checked(kTemplateMakerWindow, kRenderedCheck));
}

TEST_F(DesktopWindowsTest, ClosingTheTemplateMakerGivesItsDownloadUp) {
    const testing::SilentServer silent;
    for (const std::string scheme : {"http", "https"}) {
        SCOPED_TRACE(scheme);
        click(kMainWindow, kTemplateMakerLink);
        std::string address = silent.url("/article.html");
        address.replace(0, 4, scheme);
        controls.setText(kTemplateMakerWindow, kAddressEdit, address);
        QTimer::singleShot(200, [this] { controls.windowWidget(kTemplateMakerWindow)->close(); });
        const std::int64_t start = desktop.ticks();
        click(kTemplateMakerWindow, kMakeTemplateButton);
        // Without giving up, the wait would last until the download's time-out (a minute or
        // more); nothing is said to a window that is gone.
        EXPECT_LT(desktop.ticks() - start, 20000);
        EXPECT_FALSE(controls.windowExists(kTemplateMakerWindow));
        EXPECT_TRUE(desktop.messages().empty());
        EXPECT_FALSE(app.templateMaker().generating());
    }
}

#ifdef YELIAN_WEBENGINE

// An article page that arrives empty: once the page has loaded, a script builds the article
// from its data, as pages written by scripts do.
std::string scriptedArticlePage() {
    std::string lines;
    for (int i = 0; i < 12; ++i) {
        lines +=
            "'新建的滨江绿道全长十二公里，沿途设有观景平台、休息驿站和自行车租赁点，"
            "串联起城东新区、老城区和南部高教园区，市民纷纷前来体验。',";
    }
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>滨江绿道开放</title>"
           "</head><body><div id=\"nav\"><a href=\"/\">首页</a></div><div id=\"app\"></div>"
           "<script>var lines = [" +
           lines +
           "];\nwindow.addEventListener('load', function () { setTimeout(function () {\n"
           "  var article = document.createElement('div');\n"
           "  lines.forEach(function (line) {\n"
           "    var p = document.createElement('p'); p.textContent = line; "
           "article.appendChild(p);\n"
           "  });\n"
           "  document.getElementById('app').appendChild(article);\n"
           "}, 100); });</script></body></html>";
}

testing::Reply htmlReply(std::string body) {
    return {200, {{"Content-Type", "text/html; charset=utf-8"}}, std::move(body)};
}

TEST_F(DesktopWindowsTest, RenderedRecognitionFindsTheArticleAScriptWrote) {
    const testing::LocalServer server(
        [](const testing::SeenRequest&) { return htmlReply(scriptedArticlePage()); });
    ASSERT_TRUE(server.running());
    WebEngineRenderer renderer;
    app.setPageRenderer(&renderer);
    click(kMainWindow, kTemplateMakerLink);
    controls.setText(kTemplateMakerWindow, kAddressEdit, server.url("/article.html"));

    click(kTemplateMakerWindow, kMakeTemplateButton);
    EXPECT_EQ(desktop.messages(), (std::vector<std::string>{kRecognitionFailedMessage.str()}));
    EXPECT_EQ(controls.text(kTemplateMakerWindow, kTemplateSourceEdit).find("#导入的文件内容#"_gbk),
              std::string::npos);

    controls.setChecked(kTemplateMakerWindow, kRenderedCheck, true);
    click(kTemplateMakerWindow, kMakeTemplateButton);
    EXPECT_EQ(desktop.messages().size(), 1u);
    const std::string made = controls.text(kTemplateMakerWindow, kTemplateSourceEdit);
    EXPECT_NE(made.find("#导入的文件内容#"_gbk), std::string::npos);
    EXPECT_NE(made.find("<title>#本篇标题#</title>"_gbk), std::string::npos);
    // The script that wrote the article keeps its copy; the document's own is replaced.
    EXPECT_EQ(made.substr(0, made.find("<script")).find("市民纷纷前来体验"_gbk), std::string::npos);
    EXPECT_EQ(controls.caption(kTemplateMakerWindow, kMakeTemplateButton), "生成模板"_gbk);
}

TEST_F(DesktopWindowsTest, ARenderedPageThatNeverLoadsGivesNothing) {
    WebEngineRenderer renderer;
    // Nothing listens on port 1.
    EXPECT_EQ(renderer.renderedPage("http://127.0.0.1:1/", [] { return true; }), "");
    // A caller that no longer wants the page ends the wait at once.
    const testing::LocalServer server(
        [](const testing::SeenRequest&) { return htmlReply(scriptedArticlePage()); });
    const std::int64_t start = desktop.ticks();
    EXPECT_EQ(renderer.renderedPage(server.url("/"), [] { return false; }), "");
    EXPECT_LT(desktop.ticks() - start, 1000);
}

TEST_F(DesktopWindowsTest, ThePreviewIsABrowserThatRunsThePagesScripts) {
    click(kMainWindow, kTemplateMakerLink);
    auto* view = qobject_cast<QWebEngineView*>(
        controls.controlWidget(kTemplateMakerWindow, kTemplatePreview));
    ASSERT_NE(view, nullptr);
    QEventLoop wait;
    bool loaded = false;
    QObject::connect(view, &QWebEngineView::loadFinished, &wait, [&] {
        loaded = true;
        wait.quit();
    });
    // The source tab is in front: the view loads the page only when it comes on screen.
    desktop.showInBrowser(kTemplateMakerWindow, kTemplatePreview, "<p>旧</p>"_gbk);
    desktop.showInBrowser(kTemplateMakerWindow, kTemplatePreview,
                          "<html><body><p id=t>甲</p><script>document.getElementById('t')"
                          ".textContent += '乙';</script></body></html>"_gbk);
    QTimer::singleShot(300, &wait, &QEventLoop::quit);
    wait.exec();
    EXPECT_FALSE(loaded);
    {
        auto* tabs = static_cast<QTabWidget*>(
            controls.controlWidget(kTemplateMakerWindow, kTemplateMakerTabs));
        // Without the tab event, which would preview the template source instead.
        const QSignalBlocker quiet(tabs);
        tabs->setCurrentIndex(1);
    }
    QTimer::singleShot(10000, &wait, &QEventLoop::quit);
    wait.exec();
    EXPECT_TRUE(loaded);
    QString shown;
    view->page()->toPlainText([&](const QString& text) {
        shown = text;
        wait.quit();
    });
    QTimer::singleShot(10000, &wait, &QEventLoop::quit);
    wait.exec();
    EXPECT_EQ(shown.trimmed(), QStringLiteral("甲乙"));
}

#endif

}  // namespace
}  // namespace yelian
