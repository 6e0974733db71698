// The bookkeeping of handlers under way and of requested closes.
#include "shell/window_activity.h"

namespace yelian {

void WindowActivity::enter(std::string_view window) {
    auto found = windows_.find(window);
    if (found == windows_.end()) found = windows_.emplace(std::string(window), Entry{}).first;
    ++found->second.running;
    ++runningAnywhere_;
}

void WindowActivity::leave(std::string_view window) {
    const auto found = windows_.find(window);
    if (found == windows_.end() || found->second.running == 0) return;
    --found->second.running;
    --runningAnywhere_;
}

int WindowActivity::running(std::string_view window) const {
    const auto found = windows_.find(window);
    return found == windows_.end() ? 0 : found->second.running;
}

CloseState WindowActivity::closeState(std::string_view window) const {
    const auto found = windows_.find(window);
    return found == windows_.end() ? CloseState::Open : found->second.close;
}

void WindowActivity::setCloseState(std::string_view window, CloseState state) {
    auto found = windows_.find(window);
    if (found == windows_.end()) found = windows_.emplace(std::string(window), Entry{}).first;
    found->second.close = state;
}

HandlerScope::HandlerScope(WindowActivity& activity, std::string_view window)
    : activity_(activity), window_(window) {
    activity_.enter(window_);
}

HandlerScope::~HandlerScope() {
    activity_.leave(window_);
}

}  // namespace yelian
