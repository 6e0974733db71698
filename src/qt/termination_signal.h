// SIGTERM (sent when the user logs out) as a Qt event: the signal handler only writes a byte
// into a pipe, and a socket notifier on the pipe's other end runs the reaction in the event
// loop, where closing windows and saving settings is safe.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "support/expected.h"

namespace yelian {

class TerminationSignal : public QObject {
    Q_OBJECT

  public:
    // Installs the handler; only one instance may exist at a time.
    static Expected<std::unique_ptr<TerminationSignal>> install(std::function<void()> reaction);
    ~TerminationSignal() override;

  private:
    TerminationSignal(int readEnd, std::function<void()> reaction);
    void onReadable();

    int readEnd_;
    std::function<void()> reaction_;
    QSocketNotifier notifier_;
};

}  // namespace yelian
