#include "qt/qt_controls.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextCursor>
#include <algorithm>

#include "qt/qt_text.h"

namespace yelian {
namespace {

using enum ControlKind;
using Control = QtWindow::Control;

bool inRange(int index, int size) {
    return index >= 0 && index < size;
}

QComboBox* comboOf(const Control* c) {
    return c != nullptr && c->info.kind == ComboBox ? static_cast<QComboBox*>(c->widget) : nullptr;
}

QListWidget* listOf(const Control* c) {
    return c != nullptr && c->info.kind == ListBox ? static_cast<QListWidget*>(c->widget) : nullptr;
}

QTabWidget* tabsOf(const Control* c) {
    return c != nullptr && c->info.kind == TabControl ? static_cast<QTabWidget*>(c->widget)
                                                      : nullptr;
}

QTabWidget* tabsHolding(const QWidget* page) {
    for (QWidget* parent = page->parentWidget(); parent != nullptr;
         parent = parent->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(parent)) return tabs;
    }
    return nullptr;
}

QLineEdit* lineEditOf(const Control* c) {
    return c != nullptr && c->info.kind == EditBox ? qobject_cast<QLineEdit*>(c->widget) : nullptr;
}

QPlainTextEdit* textEditOf(const Control* c) {
    return c != nullptr && c->info.kind == EditBox ? qobject_cast<QPlainTextEdit*>(c->widget)
                                                   : nullptr;
}

// A combo box keeps its selection and its edit text through a change of its items: Qt
// selects an item of its own accord when the first one is added or the current one removed.
class ComboKeeper {
  public:
    explicit ComboKeeper(QComboBox* combo)
        : combo_(combo), blocker_(combo), text_(combo->currentText()) {}
    void restore(int index) {
        combo_->setCurrentIndex(index);
        if (combo_->isEditable()) combo_->setEditText(index < 0 ? text_ : combo_->itemText(index));
    }

  private:
    QComboBox* combo_;
    QSignalBlocker blocker_;
    QString text_;
};

// The character positions of the control operations against the editor's own positions.
struct EditorText {
    QString text;
    int lineBreakChars;
};

EditorText editorText(const Control* c) {
    if (QLineEdit* line = lineEditOf(c)) return {line->text(), 1};
    if (QPlainTextEdit* edit = textEditOf(c)) return {edit->toPlainText(), 2};
    return {{}, 1};
}

}  // namespace

QtControls::QtControls(const std::vector<std::reference_wrapper<const WindowSpec>>& windows,
                       const WidgetScale& scale)
    : scale_(scale) {
    for (const WindowSpec& window : windows) windows_[window.name].spec = &window;
    titleTimer_.setSingleShot(true);
    titleTimer_.setInterval(40);
    QObject::connect(&titleTimer_, &QTimer::timeout, [this] { applyWindowTitles(); });
}

void QtControls::setWindowTitleSoon(QWidget* window, const QString& title) {
    for (auto& [widget, pending] : pendingTitles_) {
        if (widget == window) {
            pending = title;
            return;
        }
    }
    pendingTitles_.emplace_back(window, title);
    if (!titleTimer_.isActive()) titleTimer_.start();
}

void QtControls::applyWindowTitles() {
    for (auto& [widget, title] : pendingTitles_) {
        if (widget != nullptr) widget->setWindowTitle(title);
    }
    pendingTitles_.clear();
}

QtControls::~QtControls() {
    // Owned windows go with their owner; the rest are deleted here.
    for (auto& [name, slot] : windows_) {
        if (slot.widget != nullptr && slot.widget->parentWidget() == nullptr) delete slot.widget;
    }
}

void QtControls::setEventSink(EventSink* sink) {
    sink_ = sink;
    for (auto& [name, slot] : windows_) {
        if (slot.widget != nullptr) slot.widget->setEventSink(sink);
    }
}

void QtControls::acceptFileDrops(std::string_view window) {
    Slot* s = slot(window);
    if (s == nullptr) return;
    s->acceptsDrops = true;
    if (s->widget != nullptr) s->widget->acceptFileDrops();
}

void QtControls::setArrangement(std::string_view window, std::function<void(QtWindow&)> arrange) {
    if (Slot* s = slot(window)) s->arrange = std::move(arrange);
}

QtControls::Slot* QtControls::slot(std::string_view window) const {
    const auto found = windows_.find(std::string(window));
    return found == windows_.end() ? nullptr : &found->second;
}

QtWindow* QtControls::build(Slot& slot, QWidget* owner) const {
    auto* widget = new QtWindow(*slot.spec, scale_, sink_, owner);
    const std::string name = slot.spec->name;
    // Reads build windows too, so this runs on a const object; closing is a write all the same.
    auto* self = const_cast<QtControls*>(this);
    widget->setDefaultClose([self, name] { self->closeWindow(name); });
    // An owned window goes with its owner.
    QObject::connect(widget, &QObject::destroyed, widget, [&slot] {
        slot.shown = false;
        if (slot.modalLoop != nullptr) slot.modalLoop->quit();
    });
    if (slot.acceptsDrops) widget->acceptFileDrops();
    slot.widget = widget;
    return widget;
}

QtWindow* QtControls::windowWidget(std::string_view window) const {
    Slot* s = slot(window);
    if (s == nullptr) return nullptr;
    return s->widget != nullptr ? s->widget.data() : build(*s, nullptr);
}

Control* QtControls::find(std::string_view window, std::string_view control) const {
    QtWindow* widget = windowWidget(window);
    return widget == nullptr ? nullptr : widget->control(control);
}

QWidget* QtControls::controlWidget(std::string_view window, std::string_view control) const {
    const Control* c = find(window, control);
    return c == nullptr ? nullptr : c->widget;
}

std::string QtControls::text(std::string_view window, std::string_view control) const {
    const Control* c = find(window, control);
    if (c == nullptr) return {};
    if (QLineEdit* line = lineEditOf(c)) return fromQString(line->text());
    if (QPlainTextEdit* edit = textEditOf(c)) return fromEditorText(edit->toPlainText());
    if (QComboBox* combo = comboOf(c)) return fromQString(combo->currentText());
    return caption(window, control);
}

void QtControls::setText(std::string_view window, std::string_view control, std::string_view text) {
    Control* c = find(window, control);
    if (c == nullptr) return;
    if (QLineEdit* line = lineEditOf(c)) {
        line->setText(toQString(text));
        line->setCursorPosition(0);
    } else if (QPlainTextEdit* edit = textEditOf(c)) {
        edit->setPlainText(toEditorText(text));
    } else if (QComboBox* combo = comboOf(c)) {
        const QSignalBlocker blocker(combo);
        if (combo->isEditable()) {
            combo->setEditText(toQString(text));
        } else if (const int found = combo->findText(toQString(text)); found >= 0) {
            // Only one of its items can be shown.
            combo->setCurrentIndex(found);
        }
    } else {
        setCaption(window, control, text);
    }
}

std::string QtControls::caption(std::string_view window, std::string_view control) const {
    const Control* c = find(window, control);
    if (c == nullptr) return {};
    switch (c->info.kind) {
        case Window:
            for (const auto& [widget, title] : pendingTitles_) {
                if (widget == c->widget) return fromQString(title);
            }
            return fromQString(c->widget->windowTitle());
        case Button:
        case CheckBox:
        case RadioButton:
            return fromQString(static_cast<QAbstractButton*>(c->widget)->text());
        case GroupBox:
            return fromQString(static_cast<QGroupBox*>(c->widget)->title());
        case Label:
        case LinkLabel:
            return fromEditorText(static_cast<QLabel*>(c->widget)->text());
        case TabPage: {
            const QTabWidget* tabs = tabsHolding(c->widget);
            return tabs == nullptr ? std::string()
                                   : fromQString(tabs->tabText(tabs->indexOf(c->widget)));
        }
        case MenuItem:
            return fromQString(c->action->text());
        case EditBox:
        case ComboBox:
            return text(window, control);
        default:
            return {};
    }
}

void QtControls::setCaption(std::string_view window, std::string_view control,
                            std::string_view caption) {
    Control* c = find(window, control);
    if (c == nullptr) return;
    const QString value = toQString(caption);
    switch (c->info.kind) {
        case Window:
            setWindowTitleSoon(c->widget, value);
            break;
        case Button:
        case CheckBox:
        case RadioButton:
            static_cast<QAbstractButton*>(c->widget)->setText(value);
            break;
        case GroupBox:
            static_cast<QGroupBox*>(c->widget)->setTitle(value);
            break;
        case Label:
        case LinkLabel:
            static_cast<QLabel*>(c->widget)->setText(toEditorText(caption));
            break;
        case TabPage:
            if (QTabWidget* tabs = tabsHolding(c->widget)) {
                tabs->setTabText(tabs->indexOf(c->widget), value);
            }
            break;
        case MenuItem:
            c->action->setText(value);
            break;
        case EditBox:
        case ComboBox:
            setText(window, control, caption);
            break;
        default:
            break;
    }
}

bool QtControls::checked(std::string_view window, std::string_view control) const {
    const Control* c = find(window, control);
    if (c == nullptr || (c->info.kind != CheckBox && c->info.kind != RadioButton)) return false;
    return static_cast<QAbstractButton*>(c->widget)->isChecked();
}

void QtControls::setChecked(std::string_view window, std::string_view control, bool checked) {
    Control* c = find(window, control);
    if (c == nullptr || (c->info.kind != CheckBox && c->info.kind != RadioButton)) return;
    auto* button = static_cast<QAbstractButton*>(c->widget);
    // Qt refuses to uncheck the checked button of an exclusive group; the program may.
    const bool exclusive = button->autoExclusive();
    if (!checked) button->setAutoExclusive(false);
    button->setChecked(checked);
    button->setAutoExclusive(exclusive);
}

int QtControls::selectedIndex(std::string_view window, std::string_view control) const {
    const Control* c = find(window, control);
    if (QComboBox* combo = comboOf(c)) return combo->currentIndex();
    if (QListWidget* list = listOf(c)) return list->currentRow();
    if (QTabWidget* tabs = tabsOf(c)) return tabs->currentIndex();
    return -1;
}

void QtControls::setSelectedIndex(std::string_view window, std::string_view control, int index) {
    Control* c = find(window, control);
    if (QComboBox* combo = comboOf(c)) {
        ComboKeeper keeper(combo);
        keeper.restore(inRange(index, combo->count()) ? index : -1);
        if (combo->isEditable() && !inRange(index, combo->count())) combo->setEditText({});
    } else if (QListWidget* list = listOf(c)) {
        const QSignalBlocker blocker(list);
        if (inRange(index, list->count())) {
            list->setCurrentRow(index);
        } else {
            list->setCurrentRow(-1);
            list->clearSelection();
        }
    } else if (QTabWidget* tabs = tabsOf(c)) {
        // A tab control always shows one of its pages.
        const QSignalBlocker blocker(tabs);
        if (inRange(index, tabs->count())) tabs->setCurrentIndex(index);
    }
}

int QtControls::itemCount(std::string_view window, std::string_view control) const {
    const Control* c = find(window, control);
    if (QComboBox* combo = comboOf(c)) return combo->count();
    if (QListWidget* list = listOf(c)) return list->count();
    return 0;
}

std::string QtControls::item(std::string_view window, std::string_view control, int index) const {
    const Control* c = find(window, control);
    if (QComboBox* combo = comboOf(c)) {
        return inRange(index, combo->count()) ? fromQString(combo->itemText(index)) : std::string();
    }
    if (QListWidget* list = listOf(c)) {
        return inRange(index, list->count()) ? fromQString(list->item(index)->text())
                                             : std::string();
    }
    return {};
}

void QtControls::clearItems(std::string_view window, std::string_view control) {
    Control* c = find(window, control);
    if (QComboBox* combo = comboOf(c)) {
        const QSignalBlocker blocker(combo);
        combo->clear();
        // Emptying a combo box empties its edit part too.
        if (combo->isEditable()) combo->clearEditText();
    } else if (QListWidget* list = listOf(c)) {
        const QSignalBlocker blocker(list);
        list->clear();
    }
}

void QtControls::addItem(std::string_view window, std::string_view control, std::string_view item) {
    Control* c = find(window, control);
    if (QComboBox* combo = comboOf(c)) {
        const int index = combo->currentIndex();
        ComboKeeper keeper(combo);
        combo->addItem(toQString(item));
        keeper.restore(index);
    } else if (QListWidget* list = listOf(c)) {
        const QSignalBlocker blocker(list);
        list->addItem(toQString(item));
    }
}

void QtControls::removeItem(std::string_view window, std::string_view control, int index) {
    Control* c = find(window, control);
    // The selection stays on the same item; removing the selected item selects nothing.
    const auto selectionAfter = [index](int selected) {
        return index < selected ? selected - 1 : index == selected ? -1 : selected;
    };
    if (QComboBox* combo = comboOf(c); combo != nullptr && inRange(index, combo->count())) {
        const int selected = selectionAfter(combo->currentIndex());
        ComboKeeper keeper(combo);
        combo->removeItem(index);
        keeper.restore(selected);
    } else if (QListWidget* list = listOf(c); list != nullptr && inRange(index, list->count())) {
        const int selected = selectionAfter(list->currentRow());
        const QSignalBlocker blocker(list);
        delete list->takeItem(index);
        list->setCurrentRow(selected);
        if (selected < 0) list->clearSelection();
    }
}

void QtControls::setItem(std::string_view window, std::string_view control, int index,
                         std::string_view item) {
    Control* c = find(window, control);
    if (QComboBox* combo = comboOf(c); combo != nullptr && inRange(index, combo->count())) {
        const QSignalBlocker blocker(combo);
        combo->setItemText(index, toQString(item));
    } else if (QListWidget* list = listOf(c); list != nullptr && inRange(index, list->count())) {
        list->item(index)->setText(toQString(item));
    }
}

bool QtControls::enabled(std::string_view window, std::string_view control) const {
    const Control* c = find(window, control);
    if (c == nullptr) return false;
    if (c->action != nullptr) return c->action->isEnabled();
    // The control's own state, not its container's.
    return !c->widget->testAttribute(Qt::WA_ForceDisabled);
}

void QtControls::setEnabled(std::string_view window, std::string_view control, bool enabled) {
    Control* c = find(window, control);
    if (c == nullptr) return;
    if (c->action != nullptr) {
        c->action->setEnabled(enabled);
    } else {
        c->widget->setEnabled(enabled);
    }
}

bool QtControls::visible(std::string_view window, std::string_view control) const {
    const Control* c = find(window, control);
    if (c == nullptr) return false;
    if (c->action != nullptr) return c->action->isVisible();
    if (c->info.kind == Window) return c->widget->isVisible();
    // Hidden by the program, not merely on a page that is not shown.
    return !c->widget->isHidden();
}

void QtControls::setVisible(std::string_view window, std::string_view control, bool visible) {
    Control* c = find(window, control);
    if (c == nullptr || c->info.kind == Window) return;
    if (c->action != nullptr) {
        c->action->setVisible(visible);
    } else {
        c->widget->setVisible(visible);
    }
}

bool QtControls::readOnly(std::string_view window, std::string_view control) const {
    const Control* c = find(window, control);
    if (QLineEdit* line = lineEditOf(c)) return line->isReadOnly();
    if (QPlainTextEdit* edit = textEditOf(c)) return edit->isReadOnly();
    return false;
}

void QtControls::setReadOnly(std::string_view window, std::string_view control, bool readOnly) {
    Control* c = find(window, control);
    if (QLineEdit* line = lineEditOf(c)) line->setReadOnly(readOnly);
    if (QPlainTextEdit* edit = textEditOf(c)) edit->setReadOnly(readOnly);
}

std::string QtControls::tagText(std::string_view window, std::string_view control) const {
    const Control* c = find(window, control);
    return c == nullptr ? std::string() : c->tag;
}

void QtControls::setTagText(std::string_view window, std::string_view control,
                            std::string_view tag) {
    if (Control* c = find(window, control)) c->tag = std::string(tag);
}

void QtControls::replaceSelection(std::string_view window, std::string_view control,
                                  std::string_view text) {
    Control* c = find(window, control);
    if (QLineEdit* line = lineEditOf(c)) {
        line->insert(toQString(text));
        line->setFocus();
    } else if (QPlainTextEdit* edit = textEditOf(c)) {
        QTextCursor cursor = edit->textCursor();
        cursor.insertText(toEditorText(text));
        edit->setTextCursor(cursor);
        edit->setFocus();
    }
}

int QtControls::selectionStart(std::string_view window, std::string_view control) const {
    const Control* c = find(window, control);
    const EditorText shown = editorText(c);
    int position = 0;
    if (QLineEdit* line = lineEditOf(c)) {
        position = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
    } else if (QPlainTextEdit* edit = textEditOf(c)) {
        position = edit->textCursor().selectionStart();
    }
    return characterPositionOf(shown.text, position, shown.lineBreakChars);
}

void QtControls::selectRange(std::string_view window, std::string_view control, int start,
                             int length) {
    Control* c = find(window, control);
    const EditorText shown = editorText(c);
    const int from = qtPositionOf(shown.text, std::max(start, 0), shown.lineBreakChars);
    // A negative length selects up to the end, as an edit control does.
    const int to =
        length < 0
            ? static_cast<int>(shown.text.size())
            : qtPositionOf(shown.text,
                           characterPositionOf(shown.text, from, shown.lineBreakChars) + length,
                           shown.lineBreakChars);
    if (QLineEdit* line = lineEditOf(c)) {
        line->setSelection(from, to - from);
    } else if (QPlainTextEdit* edit = textEditOf(c)) {
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        edit->setTextCursor(cursor);
    }
}

void QtControls::setFocus(std::string_view window, std::string_view control) {
    if (Control* c = find(window, control); c != nullptr && c->widget != nullptr) {
        c->widget->setFocus();
    }
}

std::vector<ControlInfo> QtControls::controlsOf(std::string_view window) const {
    const QtWindow* widget = windowWidget(window);
    if (widget == nullptr) return {};
    std::vector<ControlInfo> result;
    // The first entry is the window itself.
    for (std::size_t i = 1; i < widget->controls().size(); ++i) {
        result.push_back(widget->controls()[i].info);
    }
    return result;
}

void QtControls::showWindow(std::string_view window, bool modal, std::string_view owner) {
    Slot* s = slot(window);
    if (s == nullptr) return;
    QtWindow* widget = windowWidget(window);
    if (s->shown) {
        widget->raise();
        widget->activateWindow();
        return;
    }
    Slot* ownerSlot = owner.empty() ? nullptr : slot(owner);
    if (ownerSlot != nullptr && ownerSlot->shown && ownerSlot->widget != nullptr) {
        // Reparenting keeps the window above its owner and lets it go with it.
        widget->setParent(ownerSlot->widget, Qt::Window);
    }
    s->shown = true;
    // The window logic fills the new window in before anyone sees it.
    if (sink_ != nullptr) sink_->controlEvent(window, {}, ControlEvent::Opened);
    if (!s->shown || s->widget != widget) return;
    if (s->arrange) widget->setArrangement(s->arrange);
    if (modal) {
        widget->setWindowModality(Qt::ApplicationModal);
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            widget->move(area.center() - widget->rect().center());
        }
    }
    widget->show();
    if (!modal) return;
    // A modal window returns to its caller only once it has closed.
    QEventLoop loop;
    s->modalLoop = &loop;
    if (s->shown) loop.exec();
    s->modalLoop = nullptr;
}

void QtControls::closeWindow(std::string_view window) {
    Slot* s = slot(window);
    if (s == nullptr || !s->shown) return;
    s->shown = false;
    if (QtWindow* widget = s->widget) {
        // The slot may hold a new window by the time this one is deleted.
        QObject::disconnect(widget, &QObject::destroyed, nullptr, nullptr);
        widget->allowClose();
        widget->close();
        // Handlers of this window may still be on the stack: the widgets go once they return.
        widget->deleteLater();
    }
    s->widget = nullptr;
    if (s->modalLoop != nullptr) s->modalLoop->quit();
    if (windowClosed_) windowClosed_(window);
}

bool QtControls::windowExists(std::string_view window) const {
    const Slot* s = slot(window);
    return s != nullptr && s->shown && s->widget != nullptr;
}

}  // namespace yelian
