// Printing, setting and saving the main window's settings from the command line.
#include "cli/settings_command.h"

#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "cli/argument_walk.h"
#include "cli/main_window_settings.h"
#include "cli/terminal_desktop.h"
#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "shell/application.h"
#include "shell/startup.h"
#include "support/gbk_text.h"
#include "support/native_path.h"

namespace yelian {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSettingsHelp = R"(Usage: yelian settings [OPTIONS]

Restores the main window from the settings file as the desktop program's start does
(section "主界面" with its side files, the template page "模板序号", the phrase groups and
the current group "当前词"), applies the --set values and prints the state of every control
that holds a setting, one line per control in UTF-8:

  NAME<TAB>VALUE                 edit boxes (the text), check boxes and radio buttons
                                 (真 or 假)
  NAME<TAB>INDEX<TAB>TEXT        combo boxes (the selected item's index, -1 for none, and
                                 the text shown) and the tab control 选择夹模板 (the
                                 selected page's index and caption)

in the window's design order. In VALUE and TEXT a backslash is written \\, a carriage
return \r, a line feed \n and a tab \t; nothing else is changed.

Without --save nothing is written. With --save the window is saved as closing the desktop
program's main window saves it (the controls, "模板序号" and "当前词"), creating the file
when it is missing; the template files of old versions beside it are taken over first, as
the desktop program's start does. The state is printed after saving.

Options:
  --settings FILE    the settings file (side files in the folder "inibin" beside it).
                     Default: the desktop program's settings file.
                       yelian settings --settings ~/site.ini
  --set NAME=VALUE   set one main-window control by name (repeatable): an edit box's text
                     (line breaks become CR LF); a check box or radio button with 真/假,
                     1/0 or true/false; a combo box's item index; 选择夹模板's page index.
                       yelian settings --set 选择框按顺序=真 --set 组合框输出编码=2 --save
  --save             save the window to the settings file
                       yelian settings --settings ~/site.ini --set 编辑框目录过滤=*.txt --save
  -h, --help         show this help
                       yelian settings --help

Example:
  yelian settings | grep 选择框

Exit status: 0 printed (and saved with --save); 1 --save could not save: another running
instance holds the settings file, or the file or its folder cannot be written (a warning
says which; nothing is printed); 2 usage or settings error.
)";

struct SettingsArguments {
    bool help = false;
    bool save = false;
    std::optional<std::string> settingsFile;
    std::vector<std::pair<std::string, std::string>> assignments;
};

struct ParsedSettings {
    SettingsArguments arguments;
    std::string error;
};

ParsedSettings parseSettingsArguments(std::span<const std::string> args) {
    ParsedSettings parsed;
    SettingsArguments& out = parsed.arguments;
    std::string& error = parsed.error;
    ArgumentWalk walk(args);
    while (!walk.done() && error.empty()) {
        const std::string_view arg = walk.take();
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--save") {
            out.save = true;
        } else if (walk.settingsOption(arg, out.settingsFile, out.assignments, error)) {
            continue;
        } else if (arg.starts_with("-")) {
            error = "unknown option '" + std::string(arg) + "'";
        } else {
            error = "unexpected argument '" + std::string(arg) + "'";
        }
    }
    return parsed;
}

int usageError(std::ostream& err, std::string_view message) {
    err << "yelian settings: " << message << "\nTry 'yelian settings --help'.\n";
    return kExitUsage;
}

// A value on one line of the listing: backslash, CR, LF and TAB escaped (UTF-8).
std::string listingValue(std::string_view gbk) {
    std::string escaped;
    for (const char c : gbkToUtf8(gbk)) {
        switch (c) {
            case '\\':
                escaped += "\\\\";
                break;
            case '\r':
                escaped += "\\r";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\t':
                escaped += "\\t";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

void printControls(std::ostream& out, const Controls& controls) {
    const std::vector<ControlInfo> all = controls.controlsOf(kMainWindow);
    std::vector<std::string_view> pages;
    for (const ControlInfo& control : all) {
        if (control.kind == ControlKind::TabPage) pages.push_back(control.name);
    }
    for (const ControlInfo& control : all) {
        const std::string& name = control.name;
        if (name.empty()) continue;
        std::string line = gbkToUtf8(name) + '\t';
        switch (control.kind) {
            case ControlKind::EditBox:
                line += listingValue(controls.text(kMainWindow, name));
                break;
            case ControlKind::CheckBox:
            case ControlKind::RadioButton:
                line += controls.checked(kMainWindow, name) ? "真" : "假";
                break;
            case ControlKind::ComboBox: {
                line += std::to_string(controls.selectedIndex(kMainWindow, name)) + '\t';
                line += listingValue(controls.text(kMainWindow, name));
                break;
            }
            case ControlKind::TabControl: {
                const int page = controls.selectedIndex(kMainWindow, name);
                line += std::to_string(page) + '\t';
                if (page >= 0 && static_cast<std::size_t>(page) < pages.size()) {
                    line += listingValue(
                        controls.caption(kMainWindow, pages[static_cast<std::size_t>(page)]));
                }
                break;
            }
            default:
                continue;
        }
        out << line << '\n';
    }
}

struct Terminal {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

// The window restored as the desktop program's start restores it, the values set and the
// whole window saved as its closing saves it. Prints the state once everything reached the
// file; otherwise says why and returns kExitNotSaved.
int saveMainWindow(const SettingsArguments& options, std::string_view settingsFile,
                   Terminal terminal) {
    RecordControls controls{mainWindowSpec()};
    TerminalDesktop desktop(controls, terminal.in, terminal.out, terminal.err, {});
    Application app(controls, desktop);
    SettingsStore& store = app.settings();
    store.open(settingsFile);
    if (const auto warning = persistenceWarning(store)) {
        terminal.err << terminalText(*warning) << "\nyelian settings: nothing was saved\n";
        return kExitNotSaved;
    }
    onMainWindowCreated(app);
    if (auto problem = assignControls(controls, options.assignments)) {
        return usageError(terminal.err, *problem);
    }
    saveAllSettings(app);
    if (store.saveFailed()) {
        terminal.err << "yelian settings: the settings could not all be written to "
                     << terminalText(settingsFile) << " or its side files\n";
        return kExitNotSaved;
    }
    printControls(terminal.out, controls);
    return kExitAllWritten;
}

}  // namespace

int runSettings(std::span<const std::string> args, std::istream& in, std::ostream& out,
                std::ostream& err, const CliEnvironment& environment) {
    const ParsedSettings parsed = parseSettingsArguments(args);
    if (!parsed.error.empty()) return usageError(err, parsed.error);
    const SettingsArguments& options = parsed.arguments;
    if (options.help) {
        out << kSettingsHelp;
        return kExitAllWritten;
    }
    std::string settingsFile = defaultSettingsFile(environment);
    if (options.settingsFile) {
        Expected<std::string> named = settingsFileOfArgument(*options.settingsFile);
        if (!named) return usageError(err, named.error().message);
        settingsFile = std::move(*named);
    }

    // The values are tried on a read-only restore first, so that a mistake in them leaves
    // the file as it was (saving opens, and may create, the file).
    RecordControls controls{mainWindowSpec()};
    TerminalDesktop desktop(controls, in, out, err, {});
    if (auto problem = readMainWindowSettings({controls, desktop}, settingsFile)) {
        return usageError(err, *problem);
    }
    if (auto problem = assignControls(controls, options.assignments)) {
        return usageError(err, *problem);
    }
    if (!options.save) {
        printControls(out, controls);
        return kExitAllWritten;
    }
    if (!options.settingsFile) {
        // The desktop program creates its configuration folder on its first start.
        std::error_code ignored;
        fs::create_directories(toNativePath(settingsFile).parent_path(), ignored);
    }
    return saveMainWindow(options, settingsFile, {in, out, err});
}

}  // namespace yelian
