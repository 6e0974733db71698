// The control operations on Qt widgets. Each window is built from its table the first time it
// is needed; a window that was closed is built anew, so it comes back in its design state.
// Writes by the program fire no selection-changed events (as the platform's controls do not);
// text writes to edit boxes do, as the user's typing does.
#pragma once

#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "controls/control_ops.h"
#include "controls/window_table.h"
#include "qt/event_sink.h"
#include "qt/qt_window.h"

class QEventLoop;

namespace yelian {

class QtControls : public Controls {
  public:
    QtControls(const std::vector<std::reference_wrapper<const WindowSpec>>& windows,
               const WidgetScale& scale);
    ~QtControls() override;
    QtControls(const QtControls&) = delete;
    QtControls& operator=(const QtControls&) = delete;

    void setEventSink(EventSink* sink);
    // Runs after a window has closed (the program ends when its main window is gone).
    void onWindowClosed(std::function<void(std::string_view)> closed) {
        windowClosed_ = std::move(closed);
    }
    // Files dropped on the window reach the sink, now and whenever it is built anew.
    void acceptFileDrops(std::string_view window);
    // The window places its own controls (now and whenever it is built anew): after its
    // Opened event and on every resize.
    void setArrangement(std::string_view window, std::function<void(QtWindow&)> arrange);
    const WidgetScale& scale() const { return scale_; }
    // The window's widget, built when needed; nullptr for an unknown window.
    QtWindow* windowWidget(std::string_view window) const;
    // The widget of a control (for screenshots and tests); nullptr when unknown.
    QWidget* controlWidget(std::string_view window, std::string_view control) const;

    std::string text(std::string_view window, std::string_view control) const override;
    void setText(std::string_view window, std::string_view control, std::string_view text) override;
    std::string caption(std::string_view window, std::string_view control) const override;
    void setCaption(std::string_view window, std::string_view control,
                    std::string_view caption) override;
    bool checked(std::string_view window, std::string_view control) const override;
    void setChecked(std::string_view window, std::string_view control, bool checked) override;
    int selectedIndex(std::string_view window, std::string_view control) const override;
    void setSelectedIndex(std::string_view window, std::string_view control, int index) override;
    int itemCount(std::string_view window, std::string_view control) const override;
    std::string item(std::string_view window, std::string_view control, int index) const override;
    void clearItems(std::string_view window, std::string_view control) override;
    void addItem(std::string_view window, std::string_view control, std::string_view item) override;
    void removeItem(std::string_view window, std::string_view control, int index) override;
    void setItem(std::string_view window, std::string_view control, int index,
                 std::string_view item) override;
    bool enabled(std::string_view window, std::string_view control) const override;
    void setEnabled(std::string_view window, std::string_view control, bool enabled) override;
    bool visible(std::string_view window, std::string_view control) const override;
    void setVisible(std::string_view window, std::string_view control, bool visible) override;
    bool readOnly(std::string_view window, std::string_view control) const override;
    void setReadOnly(std::string_view window, std::string_view control, bool readOnly) override;
    std::string tagText(std::string_view window, std::string_view control) const override;
    void setTagText(std::string_view window, std::string_view control,
                    std::string_view tag) override;
    void replaceSelection(std::string_view window, std::string_view control,
                          std::string_view text) override;
    int selectionStart(std::string_view window, std::string_view control) const override;
    void selectRange(std::string_view window, std::string_view control, int start,
                     int length) override;
    void setFocus(std::string_view window, std::string_view control) override;
    std::vector<ControlInfo> controlsOf(std::string_view window) const override;
    void showWindow(std::string_view window, bool modal, std::string_view owner) override;
    void closeWindow(std::string_view window) override;
    bool windowExists(std::string_view window) const override;

  private:
    struct Slot {
        const WindowSpec* spec = nullptr;
        QPointer<QtWindow> widget;
        bool shown = false;
        bool acceptsDrops = false;
        std::function<void(QtWindow&)> arrange;
        // The nested event loop of a modal window, while it runs.
        QEventLoop* modalLoop = nullptr;
    };

    Slot* slot(std::string_view window) const;
    QtWindow* build(Slot& slot, QWidget* owner) const;
    void setWindowTitleSoon(QWidget* window, const QString& title);
    void applyWindowTitles();
    QtWindow::Control* find(std::string_view window, std::string_view control) const;

    WidgetScale scale_;
    EventSink* sink_ = nullptr;
    std::function<void(std::string_view)> windowClosed_;
    // Built lazily, also by reads: a window's widgets are its state.
    mutable std::unordered_map<std::string, Slot> windows_;
    // A run shows its progress in the window caption once per article; each change costs a
    // round trip to the window system, so captions reach it at most every 40 ms.
    std::vector<std::pair<QPointer<QWidget>, QString>> pendingTitles_;
    QTimer titleTimer_;
};

}  // namespace yelian
