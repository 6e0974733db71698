#include "qt/screenshots.h"

#include <QAction>
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
#include "qt/widget_factory.h"

namespace yelian {
namespace {

// Long enough for a window that was just shown to be laid out and painted.
constexpr int kSettleMilliseconds = 300;
// The seven pages of the main window's tab control.
constexpr int kTemplatePageCount = 7;

void settle() {
    QEventLoop loop;
    QTimer::singleShot(kSettleMilliseconds, &loop, &QEventLoop::quit);
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

    // Opens a window as the user would (a modal one returns only after it closed), takes its
    // picture once it has settled and closes it again.
    void whileOpen(std::string_view window, const QString& file, const std::function<bool()>& open,
                   bool designWithoutHandler = true) {
        QTimer timer;
        timer.setSingleShot(true);
        QEventLoop wait;
        QObject::connect(&timer, &QTimer::timeout, [&] {
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

bool saveScreenshots(QtControls& controls, EventSink& sink, const QString& folder) {
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
    camera.whileOpen(kPhraseEditorWindow, QStringLiteral("phrase-editor.png"), [&] {
        return sink.controlEvent(kMainWindow, kEditPhrasesButton, ControlEvent::Clicked);
    });
    camera.whileOpen(kInputDialogWindow, QStringLiteral("input-dialog.png"), [&] {
        return sink.controlEvent(kMainWindow, kEnterKeywordsButton, ControlEvent::Clicked);
    });
    // The help text is the input dialog's, shown by the shell's handler.
    camera.whileOpen(
        kInputDialogWindow, QStringLiteral("help-text.png"),
        [&] { return sink.controlEvent(kMainWindow, kHelpLink, ControlEvent::Clicked); }, false);
    return camera.allSaved();
}

}  // namespace yelian
