// Desktop services for commands that wait on a download: nothing to show and no events to
// process, but a real clock, which the page fetch reads to keep its time-out.
#pragma once

#include <chrono>
#include <cstdint>
#include <thread>

#include "controls/quiet_desktop.h"

namespace yelian {

class ClockDesktop : public QuietDesktop {
  public:
    std::int64_t ticks() override {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void sleep(std::int64_t milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

}  // namespace yelian
