// Controls that hold edit-box texts and checked states in maps, for testing the readers of the
// main window's settings without a window backend.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "controls/control_ops.h"

namespace yelian::testing {

class FakeControls : public Controls {
  public:
    std::string text(std::string_view window, std::string_view control) const override {
        const auto found = texts_.find(key(window, control));
        return found == texts_.end() ? std::string() : found->second;
    }
    void setText(std::string_view window, std::string_view control,
                 std::string_view text) override {
        texts_[key(window, control)] = std::string(text);
    }
    bool checked(std::string_view window, std::string_view control) const override {
        const auto found = checked_.find(key(window, control));
        return found != checked_.end() && found->second;
    }
    void setChecked(std::string_view window, std::string_view control, bool checked) override {
        checked_[key(window, control)] = checked;
    }

    std::string caption(std::string_view, std::string_view) const override { return {}; }
    void setCaption(std::string_view, std::string_view, std::string_view) override {}
    int selectedIndex(std::string_view, std::string_view) const override { return -1; }
    void setSelectedIndex(std::string_view, std::string_view, int) override {}
    int itemCount(std::string_view, std::string_view) const override { return 0; }
    std::string item(std::string_view, std::string_view, int) const override { return {}; }
    void clearItems(std::string_view, std::string_view) override {}
    void addItem(std::string_view, std::string_view, std::string_view) override {}
    void removeItem(std::string_view, std::string_view, int) override {}
    void setItem(std::string_view, std::string_view, int, std::string_view) override {}
    bool enabled(std::string_view, std::string_view) const override { return true; }
    void setEnabled(std::string_view, std::string_view, bool) override {}
    bool visible(std::string_view, std::string_view) const override { return true; }
    void setVisible(std::string_view, std::string_view, bool) override {}
    std::string tagText(std::string_view, std::string_view) const override { return {}; }
    void setTagText(std::string_view, std::string_view, std::string_view) override {}
    void replaceSelection(std::string_view, std::string_view, std::string_view) override {}
    int selectionStart(std::string_view, std::string_view) const override { return 0; }
    void selectRange(std::string_view, std::string_view, int, int) override {}
    void setFocus(std::string_view, std::string_view) override {}
    std::vector<ControlInfo> controlsOf(std::string_view) const override { return {}; }
    void showWindow(std::string_view, bool, std::string_view) override {}
    void closeWindow(std::string_view) override {}
    bool windowExists(std::string_view) const override { return true; }

  private:
    using Key = std::pair<std::string, std::string>;
    static Key key(std::string_view window, std::string_view control) {
        return {std::string(window), std::string(control)};
    }

    std::map<Key, std::string> texts_;
    std::map<Key, bool> checked_;
};

}  // namespace yelian::testing
