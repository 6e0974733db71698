#include "controls/record_controls.h"

#include <algorithm>

#include "support/gbk_text.h"

namespace yelian {
namespace {

using enum ControlKind;

// Byte offset of the character at a 0-based character position; the end of the text when the
// text is shorter.
std::size_t byteOffsetOf(std::string_view text, int chars) {
    std::size_t offset = 0;
    for (int i = 0; i < chars && offset < text.size(); ++i) offset += charLengthAt(text, offset);
    return offset;
}

int charCountOf(std::string_view text) {
    int count = 0;
    for (std::size_t offset = 0; offset < text.size(); offset += charLengthAt(text, offset)) {
        ++count;
    }
    return count;
}

bool hasItems(ControlKind kind) {
    return kind == ComboBox || kind == ListBox;
}

bool inRange(int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

}  // namespace

RecordControls::RecordControls(
    std::initializer_list<std::reference_wrapper<const WindowSpec>> windows) {
    for (const WindowSpec& window : windows) addWindow(window);
}

void RecordControls::addWindow(const WindowSpec& window) {
    WindowState& state = windows_[window.name];
    state = WindowState{};
    state.spec = window;
    loadDesign(state);
}

void RecordControls::loadDesign(WindowState& state) {
    const WindowSpec& spec = state.spec;
    state.controls.clear();
    state.byName.clear();
    state.controls.reserve(spec.controls.size() + 1);

    ControlState& self = state.controls.emplace_back();
    self.info = {std::string(), Window};
    self.text = spec.caption;
    state.byName.emplace(std::string(), 0);

    for (const ControlSpec& control : spec.controls) {
        ControlState& c = state.controls.emplace_back();
        c.info = {control.name, control.kind};
        c.container = control.container;
        c.text = control.text;
        c.checked = control.checked;
        c.selectedIndex = control.selectedIndex;
        c.items = control.items;
        c.enabled = control.enabled;
        c.visible = control.visible;
        c.readOnly = control.readOnly;
        c.editable = control.editable;
        c.tag = control.tag;
        state.byName.emplace(control.name, state.controls.size() - 1);
    }
    for (const ControlState& c : state.controls) {
        if (c.info.kind != TabPage) continue;
        const auto tabs = state.byName.find(c.container);
        if (tabs != state.byName.end()) ++state.controls[tabs->second].pageCount;
    }
}

RecordControls::WindowState* RecordControls::findWindow(std::string_view window) {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : &found->second;
}

const RecordControls::WindowState* RecordControls::findWindow(std::string_view window) const {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : &found->second;
}

RecordControls::ControlState* RecordControls::find(std::string_view window,
                                                   std::string_view control) {
    WindowState* state = findWindow(window);
    if (state == nullptr) return nullptr;
    const auto found = state->byName.find(control);
    return found == state->byName.end() ? nullptr : &state->controls[found->second];
}

const RecordControls::ControlState* RecordControls::find(std::string_view window,
                                                         std::string_view control) const {
    const WindowState* state = findWindow(window);
    if (state == nullptr) return nullptr;
    const auto found = state->byName.find(control);
    return found == state->byName.end() ? nullptr : &state->controls[found->second];
}

std::string RecordControls::text(std::string_view window, std::string_view control) const {
    const ControlState* c = find(window, control);
    if (c == nullptr) return {};
    // A combo box whose edit part cannot be typed into shows its selected item.
    if (c->info.kind == ComboBox && !c->editable) {
        return inRange(c->selectedIndex, c->items.size()) ? c->items[c->selectedIndex]
                                                          : std::string();
    }
    return c->text;
}

void RecordControls::setText(std::string_view window, std::string_view control,
                             std::string_view text) {
    ControlState* c = find(window, control);
    if (c == nullptr) return;
    if (c->info.kind == ComboBox && !c->editable) {
        // Only one of its items can be shown.
        const auto found = std::find(c->items.begin(), c->items.end(), text);
        if (found != c->items.end()) c->selectedIndex = static_cast<int>(found - c->items.begin());
        return;
    }
    c->text = std::string(text);
    c->selectionStart = 0;
    c->selectionLength = 0;
}

// Captions and texts are one value: a control shows either.
std::string RecordControls::caption(std::string_view window, std::string_view control) const {
    return text(window, control);
}

void RecordControls::setCaption(std::string_view window, std::string_view control,
                                std::string_view caption) {
    setText(window, control, caption);
}

bool RecordControls::checked(std::string_view window, std::string_view control) const {
    const ControlState* c = find(window, control);
    return c != nullptr && c->checked;
}

void RecordControls::setChecked(std::string_view window, std::string_view control, bool checked) {
    WindowState* state = findWindow(window);
    ControlState* c = find(window, control);
    if (c == nullptr || (c->info.kind != CheckBox && c->info.kind != RadioButton)) return;
    c->checked = checked;
    if (checked && c->info.kind == RadioButton) uncheckOtherRadios(*state, *c);
}

// The radio buttons of one container form one group: checking one unchecks the others.
void RecordControls::uncheckOtherRadios(WindowState& state, const ControlState& checked) {
    for (ControlState& other : state.controls) {
        if (&other != &checked && other.info.kind == RadioButton &&
            other.container == checked.container) {
            other.checked = false;
        }
    }
}

int RecordControls::selectedIndex(std::string_view window, std::string_view control) const {
    const ControlState* c = find(window, control);
    return c == nullptr ? -1 : c->selectedIndex;
}

void RecordControls::setSelectedIndex(std::string_view window, std::string_view control,
                                      int index) {
    ControlState* c = find(window, control);
    if (c == nullptr) return;
    if (c->info.kind == TabControl) {
        // A tab control always shows one of its pages.
        if (index >= 0 && index < c->pageCount) c->selectedIndex = index;
        return;
    }
    if (!hasItems(c->info.kind)) return;
    c->selectedIndex = inRange(index, c->items.size()) ? index : -1;
    if (c->editable) c->text = c->selectedIndex < 0 ? std::string() : c->items[c->selectedIndex];
}

int RecordControls::itemCount(std::string_view window, std::string_view control) const {
    const ControlState* c = find(window, control);
    return c == nullptr ? 0 : static_cast<int>(c->items.size());
}

std::string RecordControls::item(std::string_view window, std::string_view control,
                                 int index) const {
    const ControlState* c = find(window, control);
    if (c == nullptr || !inRange(index, c->items.size())) return {};
    return c->items[index];
}

void RecordControls::clearItems(std::string_view window, std::string_view control) {
    ControlState* c = find(window, control);
    if (c == nullptr || !hasItems(c->info.kind)) return;
    c->items.clear();
    c->selectedIndex = -1;
    // Emptying a combo box empties its edit part too.
    if (c->info.kind == ComboBox) c->text.clear();
}

void RecordControls::addItem(std::string_view window, std::string_view control,
                             std::string_view item) {
    ControlState* c = find(window, control);
    if (c == nullptr || !hasItems(c->info.kind)) return;
    c->items.emplace_back(item);
}

void RecordControls::removeItem(std::string_view window, std::string_view control, int index) {
    ControlState* c = find(window, control);
    if (c == nullptr || !hasItems(c->info.kind) || !inRange(index, c->items.size())) return;
    c->items.erase(c->items.begin() + index);
    // The selection stays on the same item; removing the selected item selects nothing.
    if (index < c->selectedIndex) {
        --c->selectedIndex;
    } else if (index == c->selectedIndex) {
        c->selectedIndex = -1;
    }
}

void RecordControls::setItem(std::string_view window, std::string_view control, int index,
                             std::string_view item) {
    ControlState* c = find(window, control);
    if (c == nullptr || !hasItems(c->info.kind) || !inRange(index, c->items.size())) return;
    c->items[index] = std::string(item);
}

bool RecordControls::enabled(std::string_view window, std::string_view control) const {
    const ControlState* c = find(window, control);
    return c != nullptr && c->enabled;
}

void RecordControls::setEnabled(std::string_view window, std::string_view control, bool enabled) {
    if (ControlState* c = find(window, control)) c->enabled = enabled;
}

bool RecordControls::visible(std::string_view window, std::string_view control) const {
    const ControlState* c = find(window, control);
    return c != nullptr && c->visible;
}

void RecordControls::setVisible(std::string_view window, std::string_view control, bool visible) {
    if (ControlState* c = find(window, control)) c->visible = visible;
}

bool RecordControls::readOnly(std::string_view window, std::string_view control) const {
    const ControlState* c = find(window, control);
    return c != nullptr && c->readOnly;
}

void RecordControls::setReadOnly(std::string_view window, std::string_view control, bool readOnly) {
    if (ControlState* c = find(window, control)) c->readOnly = readOnly;
}

std::string RecordControls::tagText(std::string_view window, std::string_view control) const {
    const ControlState* c = find(window, control);
    return c == nullptr ? std::string() : c->tag;
}

void RecordControls::setTagText(std::string_view window, std::string_view control,
                                std::string_view tag) {
    if (ControlState* c = find(window, control)) c->tag = std::string(tag);
}

void RecordControls::replaceSelection(std::string_view window, std::string_view control,
                                      std::string_view text) {
    ControlState* c = find(window, control);
    if (c == nullptr || c->info.kind != EditBox) return;
    const std::string_view old = c->text;
    const std::size_t begin = byteOffsetOf(old, c->selectionStart);
    const std::size_t end = begin + byteOffsetOf(old.substr(begin), c->selectionLength);
    std::string replaced;
    replaced.reserve(old.size() - (end - begin) + text.size());
    replaced.append(old.substr(0, begin)).append(text).append(old.substr(end));
    c->text = std::move(replaced);
    // The caret stands behind the inserted text.
    c->selectionStart = charCountOf(std::string_view(c->text).substr(0, begin + text.size()));
    c->selectionLength = 0;
    focus_ = {std::string(window), std::string(control)};
}

int RecordControls::selectionStart(std::string_view window, std::string_view control) const {
    const ControlState* c = find(window, control);
    return c == nullptr ? 0 : c->selectionStart;
}

int RecordControls::selectionLength(std::string_view window, std::string_view control) const {
    const ControlState* c = find(window, control);
    return c == nullptr ? 0 : c->selectionLength;
}

void RecordControls::selectRange(std::string_view window, std::string_view control, int start,
                                 int length) {
    ControlState* c = find(window, control);
    if (c == nullptr || c->info.kind != EditBox) return;
    const int count = charCountOf(c->text);
    c->selectionStart = std::clamp(start, 0, count);
    // A negative length selects up to the end, as an edit control does.
    const int rest = count - c->selectionStart;
    c->selectionLength = length < 0 ? rest : std::min(length, rest);
}

void RecordControls::setFocus(std::string_view window, std::string_view control) {
    if (find(window, control) != nullptr) focus_ = {std::string(window), std::string(control)};
}

std::vector<ControlInfo> RecordControls::controlsOf(std::string_view window) const {
    const WindowState* state = findWindow(window);
    if (state == nullptr) return {};
    std::vector<ControlInfo> result;
    result.reserve(state->controls.size() - 1);
    // The first entry is the window itself.
    for (std::size_t i = 1; i < state->controls.size(); ++i) {
        result.push_back(state->controls[i].info);
    }
    return result;
}

void RecordControls::showWindow(std::string_view window, bool modal, std::string_view owner) {
    WindowState* state = findWindow(window);
    if (state == nullptr) return;
    if (state->life == Life::Closed) loadDesign(*state);
    const bool created = state->life != Life::Shown;
    state->life = Life::Shown;
    state->modal = modal;
    state->owner = std::string(owner);
    // The hook may close or show windows, which can change the map, so the state is not used
    // after it.
    if (showHook_) showHook_(window, modal, created);
}

void RecordControls::closeWindow(std::string_view window) {
    WindowState* state = findWindow(window);
    if (state == nullptr || state->life != Life::Shown) return;
    state->life = Life::Closed;
    if (focus_.window == window) focus_ = {};
}

bool RecordControls::windowExists(std::string_view window) const {
    const WindowState* state = findWindow(window);
    return state != nullptr && state->life == Life::Shown;
}

bool RecordControls::shownModal(std::string_view window) const {
    const WindowState* state = findWindow(window);
    return state != nullptr && state->modal;
}

std::string RecordControls::ownerOf(std::string_view window) const {
    const WindowState* state = findWindow(window);
    return state == nullptr ? std::string() : state->owner;
}

}  // namespace yelian
