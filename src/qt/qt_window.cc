#include "qt/qt_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QTabWidget>
#include <QUrl>
#include <unordered_set>

#include "qt/qt_text.h"

namespace yelian {
namespace {

using enum ControlKind;

// The design gives outer sizes of windows with a frame; the client area is smaller by the
// frame's borders and the caption bar.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 38;

std::unordered_set<std::string> containerNames(const WindowSpec& spec) {
    std::unordered_set<std::string> names;
    for (const ControlSpec& control : spec.controls) {
        if (!control.container.empty()) names.insert(control.container);
    }
    return names;
}

std::vector<std::string> droppedFiles(const QMimeData* data) {
    std::vector<std::string> paths;
    if (data == nullptr || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths.push_back(fromQString(url.toLocalFile()));
    }
    return paths;
}

}  // namespace

QtWindow::QtWindow(const WindowSpec& spec, const WidgetScale& scale, EventSink* sink,
                   QWidget* owner)
    : QWidget(owner, Qt::Window), name_(spec.name), sink_(sink) {
    setObjectName(toQString(spec.name));
    setWindowTitle(toQString(spec.caption));
    setFont(designFont());
    const Geometry& g = spec.geometry;
    move(scale.pixels(g.left), scale.pixels(g.top));
    setFixedSize(scale.pixels(g.width - kFrameWidth), scale.pixels(g.height - kFrameHeight));
    controls_.push_back({{std::string(), Window}, this, nullptr, {}, false});
    byName_.emplace(std::string(), 0);
    build(spec, scale);
}

void QtWindow::build(const WindowSpec& spec, const WidgetScale& scale) {
    const auto containers = containerNames(spec);
    for (const ControlSpec& control : spec.controls) {
        if (containers.contains(control.name)) addControl(control, scale, true);
    }
    for (const ControlSpec& control : spec.controls) {
        if (!containers.contains(control.name)) addControl(control, scale, false);
    }
    // Back to the design order, whatever the building order was.
    std::vector<Control> ordered;
    ordered.reserve(controls_.size());
    ordered.push_back(controls_.front());
    for (const ControlSpec& control : spec.controls)
        ordered.push_back(*this->control(control.name));
    controls_ = std::move(ordered);
    for (std::size_t i = 0; i < controls_.size(); ++i) byName_[controls_[i].info.name] = i;
    for (const Control& control : controls_) connectSignals(control);
}

void QtWindow::addControl(const ControlSpec& spec, const WidgetScale& scale, bool isContainer) {
    const Control* container = control(spec.container);
    QWidget* parent = container != nullptr ? container->widget : this;
    ControlSpec placed = spec;
    // Pages start below the tab header that the design's coordinates include.
    if (container != nullptr && container->info.kind == TabPage) {
        placed.geometry.top -= kTabHeaderHeight;
    }
    Control entry{{spec.name, spec.kind}, nullptr, nullptr, spec.tag, spec.multiline};
    if (spec.kind == MenuItem) {
        entry.action = new QAction(toQString(spec.text), this);
        entry.action->setObjectName(toQString(spec.name));
        entry.action->setEnabled(spec.enabled);
    } else {
        entry.widget = createControlWidget(placed, parent, scale, isContainer);
    }
    byName_.emplace(spec.name, controls_.size());
    controls_.push_back(entry);
}

QtWindow::Control* QtWindow::control(std::string_view name) {
    const auto found = byName_.find(std::string(name));
    return found == byName_.end() ? nullptr : &controls_[found->second];
}

const QtWindow::Control* QtWindow::control(std::string_view name) const {
    const auto found = byName_.find(std::string(name));
    return found == byName_.end() ? nullptr : &controls_[found->second];
}

void QtWindow::watch(QObject* object, const std::string& name) {
    watched_.insert(object, name);
    object->installEventFilter(this);
}

void QtWindow::send(const std::string& control, ControlEvent event) {
    if (sink_ != nullptr) sink_->controlEvent(name_, control, event);
}

// Every signal of a control that the window logic may handle becomes its control event; the
// shell ignores the ones it has no handler for.
void QtWindow::connectSignals(const Control& control) {
    const std::string name = control.info.name;
    const auto on = [this, name](ControlEvent event) { return [=, this] { send(name, event); }; };
    switch (control.info.kind) {
        case Button:
            connect(static_cast<QAbstractButton*>(control.widget), &QAbstractButton::clicked, this,
                    on(ControlEvent::Clicked));
            watch(control.widget, name);
            break;
        case CheckBox:
        case RadioButton:
            connect(static_cast<QAbstractButton*>(control.widget), &QAbstractButton::clicked, this,
                    on(ControlEvent::Clicked));
            break;
        case EditBox:
            if (auto* line = qobject_cast<QLineEdit*>(control.widget)) {
                connect(line, &QLineEdit::textChanged, this, on(ControlEvent::Changed));
                connect(line, &QLineEdit::returnPressed, this, on(ControlEvent::EnterPressed));
                watch(line, name);
            } else if (auto* edit = qobject_cast<QPlainTextEdit*>(control.widget)) {
                connect(edit, &QPlainTextEdit::textChanged, this, on(ControlEvent::Changed));
                watch(edit, name);
                watch(edit->viewport(), name);
            }
            break;
        case ComboBox:
            connect(static_cast<QComboBox*>(control.widget), &QComboBox::currentIndexChanged, this,
                    on(ControlEvent::Changed));
            break;
        case ListBox: {
            auto* list = static_cast<QListWidget*>(control.widget);
            connect(list, &QListWidget::currentRowChanged, this, on(ControlEvent::Changed));
            connect(list, &QListWidget::itemDoubleClicked, this, on(ControlEvent::DoubleClicked));
            break;
        }
        case TabControl:
            connect(static_cast<QTabWidget*>(control.widget), &QTabWidget::currentChanged, this,
                    on(ControlEvent::Changed));
            break;
        case Picture:
        case LinkLabel:
            watch(control.widget, name);
            break;
        case MenuItem:
            connect(control.action, &QAction::triggered, this, on(ControlEvent::Clicked));
            break;
        default:
            break;
    }
}

bool QtWindow::eventFilter(QObject* watched, QEvent* event) {
    const auto found = watched_.constFind(watched);
    if (found == watched_.constEnd()) return QWidget::eventFilter(watched, event);
    const Control* target = control(found.value());
    if (target == nullptr) return false;
    if (event->type() == QEvent::FocusIn && target->info.kind == EditBox) {
        send(target->info.name, ControlEvent::FocusGained);
        return false;
    }
    return filterMouse(*target, event);
}

// Link labels and edit boxes act when the left button goes down, pictures on a click, and
// buttons tell the right button apart.
bool QtWindow::filterMouse(const Control& control, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease) return false;
    const auto button = static_cast<QMouseEvent*>(event)->button();
    const bool press = type == QEvent::MouseButtonPress;
    switch (control.info.kind) {
        case LinkLabel:
            if (press && button == Qt::LeftButton) send(control.info.name, ControlEvent::Clicked);
            break;
        case EditBox:
            if (press && button == Qt::LeftButton) send(control.info.name, ControlEvent::Clicked);
            break;
        case Picture:
            if (!press && button == Qt::LeftButton) send(control.info.name, ControlEvent::Clicked);
            break;
        case Button:
            if (!press && button == Qt::RightButton) {
                send(control.info.name, ControlEvent::RightClicked);
            }
            break;
        default:
            break;
    }
    return false;
}

void QtWindow::setArrangement(std::function<void(QtWindow&)> arrange) {
    arrange_ = std::move(arrange);
    // Down to half the design size: the layout keeps every box at least empty, never negative.
    setMinimumSize(size() / 2);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    arrange_(*this);
}

void QtWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (arrange_) arrange_(*this);
}

void QtWindow::acceptFileDrops() {
    setAcceptDrops(true);
    // Editors would take a dropped file as text; the window takes every drop instead.
    for (QWidget* child : findChildren<QWidget*>()) child->setAcceptDrops(false);
}

void QtWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void QtWindow::dropEvent(QDropEvent* event) {
    if (takeDrop(event->mimeData())) event->acceptProposedAction();
}

bool QtWindow::takeDrop(const QMimeData* mime) {
    const std::vector<std::string> paths = droppedFiles(mime);
    if (paths.empty()) return false;
    if (sink_ != nullptr) sink_->filesDropped(name_, paths);
    return true;
}

// The window logic decides whether and when a window closes (a run may have to stop first);
// only the program's own close goes through at once.
void QtWindow::closeEvent(QCloseEvent* event) {
    if (closeAllowed_) {
        event->accept();
        return;
    }
    event->ignore();
    const bool handled = sink_ != nullptr && sink_->controlEvent(name_, {}, ControlEvent::Closing);
    if (!handled && defaultClose_) defaultClose_();
}

}  // namespace yelian
