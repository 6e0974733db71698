// The main window's table: every control with its container, geometry, design text and state.
#pragma once

#include "controls/window_table.h"

namespace yelian {

// Built once on first use.
const WindowSpec& mainWindowSpec();

}  // namespace yelian
