#include "qt/screenshots.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <functional>

#include "controls/input_dialog_table.h"
#include "controls/main_window_names.h"
#include "controls/phrase_editor_table.h"
#include "controls/template_maker_table.h"
#include "qt/qt_text.h"
#include "qt/widget_factory.h"
#include "support/gbk_text.h"

namespace yelian {
namespace {

// Long enough for a window that was just shown to be laid out and painted.
constexpr int kSettleMilliseconds = 300;
// The seven pages of the main window's tab control.
constexpr int kTemplatePageCount = 7;

// The browser engine draws the preview in a process of its own, which takes longer.
constexpr int kPreviewMilliseconds = 1500;

void settle(int milliseconds = kSettleMilliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

class Camera {
  public:
    Camera(QtControls& controls, const QString& folder) : controls_(controls), folder_(folder) {}

    void window(std::string_view window, const QString& file) {
        if (controls_.windowExists(window)) save(controls_.windowWidget(window)->grab(), file);
    }

    // The main window with the "更多" menu dropped down under its button.
    void moreMenu(const QString& file) {
        QtWindow* main = controls_.windowWidget(kMainWindow);
        QMenu menu(main);
        for (const QtWindow::Control& control : main->controls()) {
            if (control.action != nullptr) menu.addAction(control.action);
        }
        menu.adjustSize();
        QPixmap picture = main->grab();
        const QWidget* button = controls_.controlWidget(kMainWindow, kMoreButton);
        QPoint at = button->mapTo(main, QPoint(0, button->height()));
        at.setX(std::min(at.x(), picture.width() - menu.width()));
        QPainter painter(&picture);
        painter.drawPixmap(at, menu.grab());
        painter.end();
        save(picture, file);
    }

    // A window with the list of its combo box dropped down, as the user sees it open.
    void withComboOpen(std::string_view window, std::string_view combo, const QString& file) {
        QtWindow* shown = controls_.windowWidget(window);
        auto* box = qobject_cast<QComboBox*>(controls_.controlWidget(window, combo));
        if (shown == nullptr || box == nullptr) return;
        box->showPopup();
        settle();
        QPixmap picture = shown->grab();
        QWidget* popup = box->view()->window();
        QPainter painter(&picture);
        painter.drawPixmap(shown->mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))), popup->grab());
        painter.end();
        box->hidePopup();
        save(picture, file);
    }

    // Opens a window as the user would (a modal one returns only after it closed), fills it
    // in, takes its picture once it has settled and closes it again.
    void whileOpen(std::string_view window, const QString& file, const std::function<bool()>& open,
                   bool designWithoutHandler = true, const std::function<void()>& fill = {}) {
        QTimer timer;
        timer.setSingleShot(true);
        QEventLoop wait;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (fill) fill();
            settle();
            this->window(window, file);
            controls_.closeWindow(window);
            wait.quit();
        });
        timer.start(kSettleMilliseconds);
        // Without a handler the window is shown in its design state.
        if (!open() && designWithoutHandler) controls_.showWindow(window, false, kMainWindow);
        if (timer.isActive()) wait.exec();
    }

    bool allSaved() const { return allSaved_; }

  private:
    void save(const QPixmap& picture, const QString& file) {
        allSaved_ = picture.save(QDir(folder_).filePath(file), "PNG") && allSaved_;
    }

    QtControls& controls_;
    QString folder_;
    bool allSaved_ = true;
};

}  // namespace

namespace {

using namespace yelian::literals;

// The template maker after a generation from the page at url: the source, the preview and the
// candidate blocks.
void shootTemplateMaker(QtControls& controls, EventSink& sink, Camera& camera,
                        const std::string& url) {
    sink.controlEvent(kMainWindow, kTemplateMakerLink, ControlEvent::Clicked);
    if (!controls.windowExists(kTemplateMakerWindow)) return;
    controls.setText(kTemplateMakerWindow, kAddressEdit, url);
    sink.controlEvent(kTemplateMakerWindow, kMakeTemplateButton, ControlEvent::Clicked);
    settle();
    camera.window(kTemplateMakerWindow, QStringLiteral("template-maker-source.png"));
    controls.setSelectedIndex(kTemplateMakerWindow, kTemplateMakerTabs, 1);
    sink.controlEvent(kTemplateMakerWindow, kTemplateMakerTabs, ControlEvent::Changed);
    settle(kPreviewMilliseconds);
    camera.window(kTemplateMakerWindow, QStringLiteral("template-maker-preview.png"));
    controls.setSelectedIndex(kTemplateMakerWindow, kTemplateMakerTabs, 0);
    camera.withComboOpen(kTemplateMakerWindow, kCandidateCombo,
                         QStringLiteral("template-maker-candidates.png"));
    controls.closeWindow(kTemplateMakerWindow);
}

}  // namespace

bool saveScreenshots(QtControls& controls, EventSink& sink, const QString& folder,
                     const std::string& pageUrl) {
    QDir().mkpath(folder);
    Camera camera(controls, folder);
    settle();
    const int first = controls.selectedIndex(kMainWindow, kTemplateTabs);
    for (int page = 0; page < kTemplatePageCount; ++page) {
        controls.setSelectedIndex(kMainWindow, kTemplateTabs, page);
        QCoreApplication::processEvents();
        camera.window(kMainWindow, QStringLiteral("main-window-page%1.png").arg(page + 1));
    }
    controls.setSelectedIndex(kMainWindow, kTemplateTabs, first);
    camera.moreMenu(QStringLiteral("more-menu.png"));
    camera.whileOpen(
        kPhraseEditorWindow, QStringLiteral("phrase-editor.png"),
        [&] { return sink.controlEvent(kMainWindow, kEditPhrasesButton, ControlEvent::Clicked); },
        true,
        [&] {
            for (const char* group :
                 {"春天|夏天|秋天|冬天", "早安|午安|晚安", "http://www.example.com/|示例网站"}) {
                controls.addItem(kPhraseEditorWindow, kPhraseList, utf8ToGbk(group));
            }
            controls.setSelectedIndex(kPhraseEditorWindow, kPhraseList, 1);
        });
    // The keyword list as a user keeps it, one keyword a line.
    controls.setText(kMainWindow, kKeywordListEdit,
                     "绿道\r\n滨江公园\r\n骑行路线\r\n周末去哪儿"_gbk);
    camera.whileOpen(kInputDialogWindow, QStringLiteral("input-dialog.png"), [&] {
        return sink.controlEvent(kMainWindow, kEnterKeywordsButton, ControlEvent::Clicked);
    });
    // The help text is the input dialog's, shown by the shell's handler.
    camera.whileOpen(
        kInputDialogWindow, QStringLiteral("help-text.png"),
        [&] { return sink.controlEvent(kMainWindow, kHelpLink, ControlEvent::Clicked); }, false);
    if (!pageUrl.empty()) shootTemplateMaker(controls, sink, camera, pageUrl);
    return camera.allSaved();
}

}  // namespace yelian
