// What the window benchmarks share: the desktop program started in the benchmark's process
// with scripted dialogs, and a timer of its event loop that tells how often the loop ran while
// long work went on and the longest time between two turns, which is how long the window
// could not repaint.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>
#include <string>

#include "qt/gui_program.h"
#include "qt/qt_controls.h"
#include "qt/qt_desktop.h"
#include "qt/shell_event_sink.h"

namespace yelian {

// Starts the desktop program on the settings file and runs work(controls, desktop, app).
template <typename Work>
int withDesktopProgram(int& argc, char** argv, const std::string& settingsFile, Work work) {
    prepareBrowserEngine();
    QApplication qt(argc, argv);
    applyDesktopLook();
    QtControls controls(desktopWindows(), WidgetScale{});
    QtDesktop desktop(controls, QtDesktop::Dialogs::Scripted);
    Application app(controls, desktop);
    ShellEventSink sink(app);
    connectDesktop(app, controls, sink);
    startDesktop(app, settingsFile);
    work(controls, desktop, app);
    return 0;
}

class EventLoopProbe {
  public:
    EventLoopProbe() {
        clock_.start();
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            longestGapMs_ = std::max(longestGapMs_, clock_.restart());
            ++ticks_;
        });
        timer_.start();
    }
    int ticks() const { return ticks_; }
    // Counted from the probe's start, and up to now: a stall at either end counts as well.
    qint64 longestGapMs() const { return std::max(longestGapMs_, clock_.elapsed()); }

  private:
    QTimer timer_;
    QElapsedTimer clock_;
    int ticks_ = 0;
    qint64 longestGapMs_ = 0;
};

}  // namespace yelian
