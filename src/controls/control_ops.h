// The control operations: the only way the system's logic reaches its windows. Windows and
// controls are named by their GBK control names (for example "编辑框模板1"_gbk); all texts are
// GBK. Three backends implement them: the plain record (tests and the command line), the Qt
// widgets and the command line's terminal services.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace yelian {

enum class ControlKind {
    Window,
    Button,
    EditBox,
    CheckBox,
    RadioButton,
    ComboBox,
    ListBox,
    Label,
    GroupBox,
    TabControl,
    TabPage,
    Picture,
    LinkLabel,
    DropTarget,
    Frame,
    Browser,
    MenuItem,
};

struct ControlInfo {
    std::string name;
    ControlKind kind;
};

// State of the named controls of the named windows. Reads give the state at the moment of the
// call; writes take effect at once. An unknown window or control reads as empty, 0, false or
// -1 and ignores writes.
class Controls {
  public:
    virtual ~Controls() = default;

    // Edit boxes; combo boxes (the edit part).
    virtual std::string text(std::string_view window, std::string_view control) const = 0;
    virtual void setText(std::string_view window, std::string_view control,
                         std::string_view text) = 0;

    // Windows (an empty control name), buttons, group boxes, labels, link labels, tab pages.
    virtual std::string caption(std::string_view window, std::string_view control) const = 0;
    virtual void setCaption(std::string_view window, std::string_view control,
                            std::string_view caption) = 0;

    // Check boxes, radio buttons.
    virtual bool checked(std::string_view window, std::string_view control) const = 0;
    virtual void setChecked(std::string_view window, std::string_view control, bool checked) = 0;

    // Combo boxes, list boxes, tab controls (the selected page); -1 selects nothing.
    virtual int selectedIndex(std::string_view window, std::string_view control) const = 0;
    virtual void setSelectedIndex(std::string_view window, std::string_view control, int index) = 0;

    // Items of combo boxes and list boxes; an index outside the list reads as empty text and
    // is ignored by removeItem and setItem.
    virtual int itemCount(std::string_view window, std::string_view control) const = 0;
    virtual std::string item(std::string_view window, std::string_view control,
                             int index) const = 0;
    virtual void clearItems(std::string_view window, std::string_view control) = 0;
    virtual void addItem(std::string_view window, std::string_view control,
                         std::string_view item) = 0;
    virtual void removeItem(std::string_view window, std::string_view control, int index) = 0;
    virtual void setItem(std::string_view window, std::string_view control, int index,
                         std::string_view item) = 0;

    // Any control.
    virtual bool enabled(std::string_view window, std::string_view control) const = 0;
    virtual void setEnabled(std::string_view window, std::string_view control, bool enabled) = 0;
    virtual bool visible(std::string_view window, std::string_view control) const = 0;
    virtual void setVisible(std::string_view window, std::string_view control, bool visible) = 0;

    // Edit boxes: a read-only box shows its text without letting the user change it; the
    // program still writes it.
    virtual bool readOnly(std::string_view window, std::string_view control) const = 0;
    virtual void setReadOnly(std::string_view window, std::string_view control,
                             bool readOnly) = 0;

    // The free tag text set in the window design (settings binding, remembered folder).
    virtual std::string tagText(std::string_view window, std::string_view control) const = 0;
    virtual void setTagText(std::string_view window, std::string_view control,
                            std::string_view tag) = 0;

    // Edit boxes: replace the current selection (insert at the caret when nothing is
    // selected) and give the control the keyboard focus.
    virtual void replaceSelection(std::string_view window, std::string_view control,
                                  std::string_view text) = 0;
    // Edit boxes: the selection start as a 0-based character position, and selecting a range
    // of characters.
    virtual int selectionStart(std::string_view window, std::string_view control) const = 0;
    virtual void selectRange(std::string_view window, std::string_view control, int start,
                             int length) = 0;
    virtual void setFocus(std::string_view window, std::string_view control) = 0;

    // Every control of a window with its name and kind, in the design order.
    virtual std::vector<ControlInfo> controlsOf(std::string_view window) const = 0;

    // Windows: show (modal or not, with an owner window or none), close, and whether a window
    // still exists.
    virtual void showWindow(std::string_view window, bool modal, std::string_view owner) = 0;
    virtual void closeWindow(std::string_view window) = 0;
    virtual bool windowExists(std::string_view window) const = 0;
};

enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// One filter of the open-file dialog: a description and its patterns ("*.htm;*.html").
struct FileFilter {
    std::string description;
    std::string patterns;
};

// The desktop services around the windows.
class DesktopServices {
  public:
    virtual ~DesktopServices() = default;

    // A message box; an empty title shows "信息：".
    virtual MessageAnswer messageBox(std::string_view text, std::string_view title,
                                     MessageButtons buttons, MessageIcon icon) = 0;
    // The multi-selection open-file dialog; the chosen paths, empty when cancelled.
    virtual std::vector<std::string> chooseFiles(std::string_view title,
                                                 const std::vector<FileFilter>& filters) = 0;
    // The folder browser; the chosen folder, or empty text when cancelled.
    virtual std::string chooseFolder(std::string_view title, std::string_view initialFolder) = 0;
    // A popup menu at the mouse position; the index of the chosen item, -1 for none.
    virtual int popupMenu(std::string_view window, const std::vector<std::string>& items) = 0;
    // Registers a window as a drop target for files; drops reach the window's handler.
    virtual void registerDropTarget(std::string_view window) = 0;
    // The browser control: show an empty document, then write the text into it.
    virtual void showInBrowser(std::string_view window, std::string_view control,
                               std::string_view html) = 0;

    // The clipboard as text: empty when it holds no text.
    virtual std::string clipboardText() = 0;
    virtual void setClipboardText(std::string_view text) = 0;

    // Lets the windows handle the events that are waiting, then returns. Long loops call it
    // once per step; handlers that run inside it may set flags that the loop reads after.
    virtual void processPendingEvents() = 0;

    virtual void openUrl(std::string_view url) = 0;
    virtual void openFolder(std::string_view folder) = 0;

    // A monotonic millisecond tick count, and sleeping.
    virtual std::int64_t ticks() = 0;
    virtual void sleep(std::int64_t milliseconds) = 0;
};

// What the logic is given: the windows' controls and the desktop services around them.
struct Ui {
    Controls& controls;
    DesktopServices& desktop;
};

}  // namespace yelian
