// The plain-record backend of the control operations: every window and control is a record of
// named values built from the window tables. Tests drive the window logic through it, and the
// command line uses it as its main window. No events fire: a change of a value runs no
// handler. A test that needs to act while a window is open (a modal dialog, which on a real
// desktop returns only after it closed) sets a show hook.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "controls/control_ops.h"
#include "controls/window_table.h"

namespace yelian {

class RecordControls : public Controls {
  public:
    // The windows start in their design state and do not exist until shown. A window that
    // is shown again after it was closed comes back in its design state, as a window created
    // anew from its design would.
    RecordControls(std::initializer_list<std::reference_wrapper<const WindowSpec>> windows);
    void addWindow(const WindowSpec& window);

    std::string text(std::string_view window, std::string_view control) const override;
    void setText(std::string_view window, std::string_view control, std::string_view text) override;
    std::string caption(std::string_view window, std::string_view control) const override;
    void setCaption(std::string_view window, std::string_view control,
                    std::string_view caption) override;
    bool checked(std::string_view window, std::string_view control) const override;
    void setChecked(std::string_view window, std::string_view control, bool checked) override;
    int selectedIndex(std::string_view window, std::string_view control) const override;
    void setSelectedIndex(std::string_view window, std::string_view control, int index) override;
    int itemCount(std::string_view window, std::string_view control) const override;
    std::string item(std::string_view window, std::string_view control, int index) const override;
    void clearItems(std::string_view window, std::string_view control) override;
    void addItem(std::string_view window, std::string_view control, std::string_view item) override;
    void removeItem(std::string_view window, std::string_view control, int index) override;
    void setItem(std::string_view window, std::string_view control, int index,
                 std::string_view item) override;
    bool enabled(std::string_view window, std::string_view control) const override;
    void setEnabled(std::string_view window, std::string_view control, bool enabled) override;
    bool visible(std::string_view window, std::string_view control) const override;
    void setVisible(std::string_view window, std::string_view control, bool visible) override;
    bool readOnly(std::string_view window, std::string_view control) const override;
    void setReadOnly(std::string_view window, std::string_view control, bool readOnly) override;
    std::string tagText(std::string_view window, std::string_view control) const override;
    void setTagText(std::string_view window, std::string_view control,
                    std::string_view tag) override;
    void replaceSelection(std::string_view window, std::string_view control,
                          std::string_view text) override;
    int selectionStart(std::string_view window, std::string_view control) const override;
    void selectRange(std::string_view window, std::string_view control, int start,
                     int length) override;
    void setFocus(std::string_view window, std::string_view control) override;
    std::vector<ControlInfo> controlsOf(std::string_view window) const override;
    void showWindow(std::string_view window, bool modal, std::string_view owner) override;
    void closeWindow(std::string_view window) override;
    bool windowExists(std::string_view window) const override;

    // For assertions: the selected length in characters, the control that has the focus
    // (empty names when none), and how a window was last shown.
    int selectionLength(std::string_view window, std::string_view control) const;
    struct Focus {
        std::string window;
        std::string control;
    };
    const Focus& focus() const { return focus_; }
    bool shownModal(std::string_view window) const;
    std::string ownerOf(std::string_view window) const;

    // Runs at the end of every showWindow with the window, whether it is modal, and whether
    // the call created it (it did not exist before). What the hook does happens while the
    // window is open, as a user's actions in a modal dialog happen before showWindow returns.
    using ShowHook = std::function<void(std::string_view window, bool modal, bool created)>;
    void setShowHook(ShowHook hook) { showHook_ = std::move(hook); }

  private:
    struct ControlState {
        ControlInfo info;
        std::string container;
        std::string text;
        bool checked = false;
        int selectedIndex = -1;
        std::vector<std::string> items;
        bool enabled = true;
        bool visible = true;
        bool readOnly = false;
        bool editable = false;
        std::string tag;
        // Edit boxes: the selection in characters.
        int selectionStart = 0;
        int selectionLength = 0;
        // Tab controls: the number of pages.
        int pageCount = 0;
    };

    // Heterogeneous lookup, so that a read by name builds no string.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };
    using NameIndex = std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>>;

    enum class Life { NotShown, Shown, Closed };

    struct WindowState {
        // Kept to bring the design state back when a closed window is shown again.
        WindowSpec spec;
        // The window itself (empty name) and then its controls, in the design order.
        std::vector<ControlState> controls;
        NameIndex byName;
        Life life = Life::NotShown;
        bool modal = false;
        std::string owner;
    };

    static void loadDesign(WindowState& state);
    WindowState* findWindow(std::string_view window);
    const WindowState* findWindow(std::string_view window) const;
    ControlState* find(std::string_view window, std::string_view control);
    const ControlState* find(std::string_view window, std::string_view control) const;
    void uncheckOtherRadios(WindowState& state, const ControlState& checked);

    std::unordered_map<std::string, WindowState, NameHash, std::equal_to<>> windows_;
    Focus focus_;
    ShowHook showHook_;
};

}  // namespace yelian
