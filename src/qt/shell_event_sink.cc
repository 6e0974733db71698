#include "qt/shell_event_sink.h"

#include "controls/main_window_names.h"
#include "shell/startup.h"

namespace yelian {

bool ShellEventSink::controlEvent(std::string_view window, std::string_view control,
                                  ControlEvent event) {
    if (dispatchControlEvent(app_, window, control, event)) return true;
    if (event != ControlEvent::Closing || window != kMainWindow || !control.empty()) return false;
    onMainWindowClosing(app_);
    app_.controls().closeWindow(kMainWindow);
    return true;
}

void ShellEventSink::filesDropped(std::string_view window, const std::vector<std::string>& paths) {
    dispatchFilesDropped(app_, window, paths);
}

}  // namespace yelian
