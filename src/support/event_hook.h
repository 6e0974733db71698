// The hooks that long work calls so that a window stays alive while it runs: one lets the
// desktop process pending events, the other asks whether the user still wants the work done.
#pragma once

#include <functional>

namespace yelian {

// Called now and then during long walks so that the window can process pending events.
using ProcessEvents = std::function<void()>;

// Asked after a step of long work; false stops it (the user cancelled).
using GoOn = std::function<bool()>;

}  // namespace yelian
