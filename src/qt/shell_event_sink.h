// The desktop program's event sink: every control event and every drop goes to the shell's
// dispatcher. The main window's close is the program's end: when no handler takes it, the
// settings are saved here and the window closes.
#pragma once

#include "qt/event_sink.h"
#include "shell/application.h"

namespace yelian {

class ShellEventSink : public EventSink {
  public:
    explicit ShellEventSink(Application& app) : app_(app) {}

    bool controlEvent(std::string_view window, std::string_view control,
                      ControlEvent event) override;
    void filesDropped(std::string_view window, const std::vector<std::string>& paths) override;

  private:
    Application& app_;
};

}  // namespace yelian
