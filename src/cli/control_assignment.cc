// Setting main-window controls from command-line values.
#include "cli/control_assignment.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "support/gbk_text.h"

namespace yelian {
namespace {

std::optional<bool> parseBoolean(std::string_view value) {
    std::string lowered(value);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    if (lowered == "真" || lowered == "1" || lowered == "true") return true;
    if (lowered == "假" || lowered == "0" || lowered == "false") return false;
    return std::nullopt;
}

// A whole decimal number in [0, count); nothing otherwise.
std::optional<int> parseIndex(std::string_view value, int count) {
    int index = -1;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), index);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() || index < 0 ||
        index >= count) {
        return std::nullopt;
    }
    return index;
}

// Edit boxes hold their lines with CR LF, and the lists read from them (keywords, phrases)
// split there; a shell gives bare LF.
std::string withCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    return out;
}

// Combo boxes whose edit part takes any text (the phrase group): the value is that text.
bool isEditableCombo(std::string_view name) {
    const auto& controls = mainWindowSpec().controls;
    return std::any_of(controls.begin(), controls.end(), [&](const ControlSpec& control) {
        return control.name == name && control.kind == ControlKind::ComboBox && control.editable;
    });
}

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

}  // namespace

std::optional<std::string> assignControl(Controls& controls, std::string_view nameUtf8,
                                         std::string_view valueUtf8) {
    const std::string name = utf8ToGbk(nameUtf8);
    const std::vector<ControlInfo> all = controls.controlsOf(kMainWindow);
    const auto found = std::find_if(all.begin(), all.end(), [&](const ControlInfo& control) {
        return !control.name.empty() && control.name == name;
    });
    const std::string what = "--set " + std::string(nameUtf8) + ": ";
    if (found == all.end()) {
        return "--set: the main window has no control named " + quoted(nameUtf8);
    }
    switch (found->kind) {
        case ControlKind::EditBox:
            controls.setText(kMainWindow, name, withCrLf(utf8ToGbk(valueUtf8)));
            return std::nullopt;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton: {
            const auto checked = parseBoolean(valueUtf8);
            if (!checked) return what + quoted(valueUtf8) + " is not 真/假, 1/0 or true/false";
            controls.setChecked(kMainWindow, name, *checked);
            return std::nullopt;
        }
        case ControlKind::ComboBox:
            // An item index selects that item, as in every combo box; any other value is the
            // text of the edit part.
            if (isEditableCombo(name) &&
                !parseIndex(valueUtf8, controls.itemCount(kMainWindow, name))) {
                controls.setText(kMainWindow, name, utf8ToGbk(valueUtf8));
                return std::nullopt;
            }
            [[fallthrough]];
        case ControlKind::TabControl: {
            const bool tabs = found->kind == ControlKind::TabControl;
            const int count =
                tabs ? static_cast<int>(std::count_if(
                           all.begin(), all.end(),
                           [](const ControlInfo& c) { return c.kind == ControlKind::TabPage; }))
                     : controls.itemCount(kMainWindow, name);
            const auto index = parseIndex(valueUtf8, count);
            if (!index) {
                return what + quoted(valueUtf8) + " is not " + (tabs ? "a page" : "an item") +
                       " index from 0 to " + std::to_string(count - 1);
            }
            controls.setSelectedIndex(kMainWindow, name, *index);
            return std::nullopt;
        }
        default:
            return what +
                   "this control holds no setting (only edit boxes, check boxes, radio "
                   "buttons, combo boxes and the template tabs can be set)";
    }
}

}  // namespace yelian
