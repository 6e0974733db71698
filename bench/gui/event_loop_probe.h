// A timer of the window's event loop for the window benchmarks: how often it fired while
// long work went on, and the longest time between two firings, which is how long the window
// could not repaint.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>

namespace yelian {

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
