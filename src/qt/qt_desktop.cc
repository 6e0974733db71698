#include "qt/qt_desktop.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QTextBrowser>
#include <QUrl>
#include <chrono>
#include <thread>

#ifdef YELIAN_WEBENGINE
#include <QWebEngineView>
#endif

#include "qt/qt_text.h"
#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

// Below what the eye notices as a stall, and well inside the 50 ms a click may wait.
constexpr std::int64_t kEventInterval = 15;

MessageAnswer unansweredMessage(MessageButtons buttons) {
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

QMessageBox::StandardButtons standardButtons(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok:
            return QMessageBox::Ok;
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon standardIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::None:
            return QMessageBox::NoIcon;
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

MessageAnswer answerOf(int button) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageAnswer::Ok;
        case QMessageBox::Yes:
            return MessageAnswer::Yes;
        case QMessageBox::No:
            return MessageAnswer::No;
        default:
            return MessageAnswer::Cancel;
    }
}

// "htm;html文件" with "*.htm;*.html" becomes "htm;html文件 (*.htm *.html)".
QString filterText(const std::vector<FileFilter>& filters) {
    QStringList parts;
    for (const FileFilter& filter : filters) {
        QString patterns = toQString(filter.patterns);
        patterns.replace(u';', u' ');
        parts.append(toQString(filter.description) + QStringLiteral(" (") + patterns +
                     QStringLiteral(")"));
    }
    return parts.join(QStringLiteral(";;"));
}

#ifdef YELIAN_WEBENGINE
// A page for a browser view that is not on screen (its tab is not the current one). Loading a
// large page stalls the window for a while, so the view loads it when it is shown, and only
// the last page given meanwhile.
class DeferredPage : public QObject {
  public:
    DeferredPage(QWebEngineView* view, QString html)
        : QObject(view), view_(view), html_(std::move(html)) {
        view->installEventFilter(this);
    }
    void replace(QString html) { html_ = std::move(html); }
    // A blank base, as a browser's empty document has: the page's scripts run, its relative
    // links lead nowhere.
    static void load(QWebEngineView* view, const QString& html) {
        view->setHtml(html, QUrl(QStringLiteral("about:blank")));
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == view_ && event->type() == QEvent::Show) {
            load(view_, html_);
            // Gone from the view at once: a page given from now on is loaded directly.
            view_->removeEventFilter(this);
            setParent(nullptr);
            deleteLater();
        }
        return false;
    }

  private:
    QWebEngineView* view_;
    QString html_;
};

DeferredPage* deferredPageOf(QWebEngineView* view) {
    for (QObject* child : view->children()) {
        if (auto* page = dynamic_cast<DeferredPage*>(child)) return page;
    }
    return nullptr;
}
#endif

template <typename T>
T takeFront(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

}  // namespace

QtDesktop::QtDesktop(QtControls& controls, Dialogs dialogs)
    : controls_(controls), dialogs_(dialogs) {
    clock_.start();
}

MessageAnswer QtDesktop::messageBox(std::string_view text, std::string_view title,
                                    MessageButtons buttons, MessageIcon icon) {
    messages_.emplace_back(text);
    if (scripted()) return takeFront(messageAnswers_, unansweredMessage(buttons));
    const std::string shownTitle = title.empty() ? "信息："_gbk : std::string(title);
    QMessageBox box(standardIcon(icon), toQString(shownTitle), toEditorText(text),
                    standardButtons(buttons));
    box.setFont(designFont());
    return answerOf(box.exec());
}

std::vector<std::string> QtDesktop::chooseFiles(std::string_view title,
                                                const std::vector<FileFilter>& filters) {
    if (scripted()) return takeFront(fileAnswers_, {});
    const QStringList chosen =
        QFileDialog::getOpenFileNames(nullptr, toQString(title), {}, filterText(filters));
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(chosen.size()));
    for (const QString& path : chosen) paths.push_back(fromQString(path));
    return paths;
}

std::string QtDesktop::chooseFolder(std::string_view title, std::string_view initialFolder) {
    if (scripted()) return takeFront(folderAnswers_, {});
    return fromQString(
        QFileDialog::getExistingDirectory(nullptr, toQString(title), toQString(initialFolder)));
}

int QtDesktop::popupMenu(std::string_view window, const std::vector<std::string>& items) {
    if (scripted()) return takeFront(menuAnswers_, -1);
    QMenu menu(controls_.windowWidget(window));
    menu.setFont(designFont());
    for (const std::string& item : items) menu.addAction(toQString(item));
    const QAction* chosen = menu.exec(QCursor::pos());
    return chosen == nullptr ? -1 : static_cast<int>(menu.actions().indexOf(chosen));
}

void QtDesktop::registerDropTarget(std::string_view window) {
    controls_.acceptFileDrops(window);
}

void QtDesktop::showInBrowser(std::string_view window, std::string_view control,
                              std::string_view html) {
    QWidget* widget = controls_.controlWidget(window, control);
#ifdef YELIAN_WEBENGINE
    if (auto* view = qobject_cast<QWebEngineView*>(widget)) {
        DeferredPage* waiting = deferredPageOf(view);
        if (view->isVisible()) {
            if (waiting != nullptr) {
                view->removeEventFilter(waiting);
                delete waiting;
            }
            DeferredPage::load(view, toQString(html));
        } else if (waiting != nullptr) {
            waiting->replace(toQString(html));
        } else {
            new DeferredPage(view, toQString(html));
        }
        return;
    }
#endif
    if (auto* browser = qobject_cast<QTextBrowser*>(widget)) {
        browser->clear();
        browser->setHtml(toQString(html));
    }
}

std::string QtDesktop::clipboardText() {
    return fromEditorText(QGuiApplication::clipboard()->text());
}

void QtDesktop::setClipboardText(std::string_view text) {
    QGuiApplication::clipboard()->setText(toQString(text));
}

void QtDesktop::processPendingEvents() {
    const std::int64_t now = clock_.elapsed();
    if (lastEvents_ >= 0 && now - lastEvents_ < kEventInterval) return;
    lastEvents_ = now;
    QCoreApplication::processEvents();
}

void QtDesktop::openUrl(std::string_view url) {
    QDesktopServices::openUrl(QUrl(toQString(url)));
}

void QtDesktop::openFolder(std::string_view folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(toQString(folder)));
}

std::int64_t QtDesktop::ticks() {
    return clock_.elapsed();
}

void QtDesktop::sleep(std::int64_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace yelian
