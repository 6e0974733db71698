// Where the widgets' signals go: the desktop program hands them to the shell's dispatcher,
// the tests record them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shell/window_events.h"

namespace yelian {

class EventSink {
  public:
    virtual ~EventSink() = default;
    // True when a handler took the event; false lets the toolkit's default happen.
    virtual bool controlEvent(std::string_view window, std::string_view control,
                              ControlEvent event) = 0;
    // Files dropped on a window that accepts them (GBK paths).
    virtual void filesDropped(std::string_view window, const std::vector<std::string>& paths) = 0;
};

}  // namespace yelian
