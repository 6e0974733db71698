#include "qt/termination_signal.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace yelian {
namespace {

// The pipe's write end: a signal handler can reach nothing but an object of static storage,
// so this one lives at file scope.
volatile std::sig_atomic_t signalPipe = -1;

extern "C" void onTerminate(int) {
    const char byte = 1;
    // Nothing can be done about a full pipe: a close is already pending then.
    [[maybe_unused]] const auto written = write(signalPipe, &byte, 1);
}

}  // namespace

Expected<std::unique_ptr<TerminationSignal>> TerminationSignal::install(
    std::function<void()> reaction) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return Error{"cannot create the signal pipe"};
    signalPipe = ends[1];
    struct sigaction action {};
    action.sa_handler = onTerminate;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (sigaction(SIGTERM, &action, nullptr) != 0) {
        close(ends[0]);
        close(ends[1]);
        signalPipe = -1;
        return Error{"cannot catch SIGTERM"};
    }
    return std::unique_ptr<TerminationSignal>(new TerminationSignal(ends[0], std::move(reaction)));
}

TerminationSignal::TerminationSignal(int readEnd, std::function<void()> reaction)
    : readEnd_(readEnd), reaction_(std::move(reaction)), notifier_(readEnd, QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, &TerminationSignal::onReadable);
}

TerminationSignal::~TerminationSignal() {
    std::signal(SIGTERM, SIG_DFL);
    close(signalPipe);
    signalPipe = -1;
    close(readEnd_);
}

void TerminationSignal::onReadable() {
    char bytes[16];
    while (read(readEnd_, bytes, sizeof bytes) > 0) {
    }
    reaction_();
}

}  // namespace yelian
