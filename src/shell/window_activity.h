// What each window is doing while handlers run inside other handlers (the event hook lets the
// desktop dispatch events during long work): how many of its handlers are under way, and
// whether a request to close it waits for them, is being carried out, or none is.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace yelian {

enum class CloseState {
    // No close requested.
    Open,
    // Asked for while a handler was still under way; carried out once they have ended.
    Pending,
    // Being carried out (saving, asking): further requests are the same request.
    InProgress,
};

class WindowActivity {
  public:
    void enter(std::string_view window);
    void leave(std::string_view window);
    // Handlers of the window under way, the one asking included.
    int running(std::string_view window) const;
    int runningAnywhere() const { return runningAnywhere_; }

    CloseState closeState(std::string_view window) const;
    void setCloseState(std::string_view window, CloseState state);

  private:
    struct Entry {
        int running = 0;
        CloseState close = CloseState::Open;
    };
    std::map<std::string, Entry, std::less<>> windows_;
    int runningAnywhere_ = 0;
};

// Counts one handler of a window for as long as it runs.
class HandlerScope {
  public:
    HandlerScope(WindowActivity& activity, std::string_view window);
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;
    ~HandlerScope();

  private:
    WindowActivity& activity_;
    std::string window_;
};

}  // namespace yelian
