#include "qt/gui_program.h"

#include <unistd.h>
#include <QApplication>
#include <QStyleFactory>
#include <filesystem>
#include <system_error>

#include "controls/input_dialog_table.h"
#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/phrase_editor_table.h"
#include "controls/template_maker_table.h"
#include "qt/input_dialog_placement.h"
#include "qt/qt_controls.h"
#include "qt/qt_desktop.h"
#include "qt/screenshots.h"
#include "qt/shell_event_sink.h"
#include "qt/termination_signal.h"
#include "qt/widget_factory.h"
#ifdef YELIAN_WEBENGINE
#include "qt/web_engine_renderer.h"
#endif
#include "shell/application.h"
#include "shell/startup.h"
#include "support/gbk_text.h"
#include "support/shared_texts.h"
#include "yelian_version.h"

namespace yelian {
namespace {

std::string programFolder() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error).string() : program.parent_path().string();
}

// startProgram with a settings file of the user's choosing.
void startWithSettingsFile(Application& app, const std::string& gbkPath) {
    app.settings().open(gbkPath);
    app.controls().showWindow(kMainWindow, false, {});
    onMainWindowCreated(app);
    if (const auto warning = persistenceWarning(app.settings())) {
        app.desktop().messageBox(*warning, kBrandTitle, MessageButtons::Ok, MessageIcon::Warning);
    }
}

}  // namespace

void startDesktop(Application& app, const std::optional<std::string>& settingsFile) {
    if (settingsFile) {
        startWithSettingsFile(app, utf8ToGbk(*settingsFile));
    } else {
        startProgram(app, utf8ToGbk(programFolder()));
    }
}

void prepareBrowserEngine() {
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", QByteArrayLiteral("1"));
    }
}

void applyDesktopLook() {
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(designFont());
}

Expected<GuiOptions> parseGuiArguments(const std::vector<std::string>& args) {
    GuiOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--settings" && hasValue) {
            options.settingsFile = args[++i];
        } else if (arg == "--screenshot" && hasValue) {
            options.screenshotFolder = args[++i];
        } else if (arg == "--screenshot-page" && hasValue) {
            options.screenshotPage = args[++i];
        } else if (arg == "--settings" || arg == "--screenshot" || arg == "--screenshot-page") {
            return Error{arg + " needs a value"};
        } else {
            return Error{"unknown argument " + arg};
        }
    }
    return options;
}

std::string guiUsage() {
    return "Usage: yelian-gui [--settings FILE] [--help] [--version]\n"
           "\n"
           "The desktop program of yelian: turns a batch of article files into a static web\n"
           "site from the page templates of its main window.\n"
           "\n"
           "  --settings FILE  keep the settings in FILE instead of the default settings file\n"
           "                   (the one yelian uses: beside the program when its folder is\n"
           "                   writable, else ~/.config/yelian/)\n"
           "  --help           show this text\n"
           "  --version        show the version\n";
}

std::vector<std::reference_wrapper<const WindowSpec>> desktopWindows() {
    return {mainWindowSpec(), phraseEditorSpec(), inputDialogSpec(), templateMakerSpec()};
}

void connectDesktop(Application& app, QtControls& controls, EventSink& sink) {
    controls.setEventSink(&sink);
    installInputDialogPlacement(controls, app.dialogRequest());
}

int runDesktopProgram(const GuiOptions& options) {
    const bool screenshots = options.screenshotFolder.has_value();
    QtControls controls(desktopWindows(), screenScale());
    QtDesktop desktop(controls,
                      screenshots ? QtDesktop::Dialogs::Scripted : QtDesktop::Dialogs::Shown);
    Application app(controls, desktop);
    ShellEventSink sink(app);
    connectDesktop(app, controls, sink);
#ifdef YELIAN_WEBENGINE
    WebEngineRenderer renderer;
    app.setPageRenderer(&renderer);
#endif
    controls.onWindowClosed([](std::string_view window) {
        if (window == kMainWindow) QCoreApplication::quit();
    });
    // Logging out closes the main window as its close box does.
    auto termination = TerminationSignal::install([&controls] {
        if (controls.windowExists(kMainWindow)) controls.windowWidget(kMainWindow)->close();
    });

    startDesktop(app, options.settingsFile);
    if (screenshots) {
        return saveScreenshots(controls, sink, QString::fromStdString(*options.screenshotFolder),
                               options.screenshotPage)
                   ? 0
                   : 1;
    }
    if (!controls.windowExists(kMainWindow)) return 0;
    return QApplication::exec();
}

}  // namespace yelian
