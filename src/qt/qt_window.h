// One window of the system as Qt widgets, built from its window table in one pass (containers
// first, so that every control finds its container and lies above it). It maps the widgets'
// signals onto the control events of its controls and hands them to the event sink.
#pragma once

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "controls/window_table.h"
#include "qt/event_sink.h"
#include "qt/widget_factory.h"

class QAction;
class QMimeData;

namespace yelian {

class QtWindow : public QWidget {
    Q_OBJECT

  public:
    struct Control {
        ControlInfo info;
        // Menu items have an action instead of a widget.
        QWidget* widget = nullptr;
        QAction* action = nullptr;
        std::string tag;
        bool multiline = false;
    };

    QtWindow(const WindowSpec& spec, const WidgetScale& scale, EventSink* sink,
             QWidget* owner = nullptr);

    std::string_view name() const { return name_; }
    // The named control; nullptr for an unknown name. The empty name is the window itself.
    Control* control(std::string_view name);
    const Control* control(std::string_view name) const;
    // Every control in the design order.
    const std::vector<Control>& controls() const { return controls_; }

    void setEventSink(EventSink* sink) { sink_ = sink; }
    // What happens when the user closes the window and no handler takes the event.
    void setDefaultClose(std::function<void()> close) { defaultClose_ = std::move(close); }
    // Places the controls for the client size: once when set, and on every resize. A window
    // that places its own controls may be resized by the user.
    void setArrangement(std::function<void(QtWindow&)> arrange);
    // The next close request is the program's own: it goes through.
    void allowClose() { closeAllowed_ = true; }
    // Files dropped anywhere on the window reach the sink; the window's editors stop taking
    // drops of their own.
    void acceptFileDrops();
    // A drop on the window: the local files in it go to the sink; other data is ignored.
    // True when there were files.
    bool takeDrop(const QMimeData* mime);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void build(const WindowSpec& spec, const WidgetScale& scale);
    void addControl(const ControlSpec& spec, const WidgetScale& scale, bool isContainer);
    void connectSignals(const Control& control);
    void watch(QObject* object, const std::string& name);
    void send(const std::string& control, ControlEvent event);
    bool filterMouse(const Control& control, QEvent* event);

    std::string name_;
    std::vector<Control> controls_;
    std::unordered_map<std::string, std::size_t> byName_;
    QHash<QObject*, std::string> watched_;
    EventSink* sink_ = nullptr;
    std::function<void()> defaultClose_;
    std::function<void(QtWindow&)> arrange_;
    bool closeAllowed_ = false;
};

}  // namespace yelian
