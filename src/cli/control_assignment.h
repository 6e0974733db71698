// "--set NAME=VALUE": one control of the main window set by its control name before a run.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "controls/control_ops.h"

namespace yelian {

// Sets the named main-window control from a value typed on the command line (UTF-8): an edit
// box takes the text, bare line breaks made CR LF; a check box or radio button 真/假, 1/0 or
// true/false; a combo box the index of an item; the tab control the index of a page. Returns what
// is wrong (UTF-8) when the name is unknown, the control cannot be set, or the value is not of its
// kind.
std::optional<std::string> assignControl(Controls& controls, std::string_view nameUtf8,
                                         std::string_view valueUtf8);

}  // namespace yelian
