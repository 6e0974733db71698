// Writes a window table in the order of the design: the window tables of the system's windows
// add their controls one by one through it. Names come as GBK (the named constants); captions
// and design texts come as UTF-8 source literals and are stored as GBK.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "controls/window_table.h"

namespace yelian {

class WindowTableBuilder {
  public:
    WindowTableBuilder(std::string_view name, std::string_view utf8Caption, Geometry geometry);

    // Adds a control and returns it for the settings that differ from the defaults. The
    // reference is valid until the next call.
    ControlSpec& add(ControlKind kind, std::string_view name, std::string_view container,
                     Geometry geometry, std::string_view utf8Text = {});

    // Combo boxes and list boxes: the items from UTF-8 source literals.
    static std::vector<std::string> items(std::initializer_list<std::string_view> utf8Items);

    WindowSpec take() { return std::move(spec_); }

  private:
    WindowSpec spec_;
};

}  // namespace yelian
