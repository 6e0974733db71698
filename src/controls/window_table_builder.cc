#include "controls/window_table_builder.h"

#include <string>

#include "support/gbk_text.h"

namespace yelian {

WindowTableBuilder::WindowTableBuilder(std::string_view name, std::string_view utf8Caption,
                                       Geometry geometry) {
    spec_.name = std::string(name);
    spec_.caption = utf8ToGbk(utf8Caption);
    spec_.geometry = geometry;
}

ControlSpec& WindowTableBuilder::add(ControlKind kind, std::string_view name,
                                     std::string_view container, Geometry geometry,
                                     std::string_view utf8Text) {
    ControlSpec& control = spec_.controls.emplace_back();
    control.name = std::string(name);
    control.kind = kind;
    control.container = std::string(container);
    control.geometry = geometry;
    control.text = utf8ToGbk(utf8Text);
    return control;
}

std::vector<std::string> WindowTableBuilder::items(
    std::initializer_list<std::string_view> utf8Items) {
    std::vector<std::string> result;
    result.reserve(utf8Items.size());
    for (std::string_view item : utf8Items) result.push_back(utf8ToGbk(item));
    return result;
}

}  // namespace yelian
