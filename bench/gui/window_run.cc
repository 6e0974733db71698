// A whole generation run started from the desktop program's window, as a user starts one: the
// folder import clicked, the folder chosen in the (answered) folder browser, the report
// declined. Prints the run's wall time and how often the window's event loop ran meanwhile,
// so that bench/gui/window_run.sh can set it beside the same run of "yelian generate".
//
//   gui_window_run CORPUS_FOLDER SETTINGS_FILE
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <string>

#include "bench/gui/event_loop_probe.h"
#include "controls/main_window_names.h"
#include "qt/gui_program.h"
#include "qt/qt_controls.h"
#include "qt/qt_desktop.h"
#include "qt/shell_event_sink.h"
#include "shell/window_events.h"
#include "support/gbk_text.h"
#include "support/native_path.h"

using namespace yelian;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gui_window_run CORPUS_FOLDER SETTINGS_FILE\n");
        return 2;
    }
    prepareBrowserEngine();
    QApplication qt(argc, argv);
    applyDesktopLook();
    QtControls controls(desktopWindows(), WidgetScale{});
    QtDesktop desktop(controls, QtDesktop::Dialogs::Scripted);
    Application app(controls, desktop);
    ShellEventSink sink(app);
    connectDesktop(app, controls, sink);
    startDesktop(app, std::string(argv[2]));

    controls.setSelectedIndex(kMainWindow, kTemplateTabs, 0);
    controls.setText(kMainWindow, kFolderFilterEdit, "*");
    desktop.answerFolder(fromNativePath(argv[1]));
    desktop.answerMessage(MessageAnswer::No);
    EventLoopProbe probe;
    QElapsedTimer clock;
    clock.start();
    dispatchControlEvent(app, kMainWindow, kImportFolderButton, ControlEvent::Clicked);
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    std::printf("%.3f s, event loop ran %d times, longest gap %lld ms, caption %s\n", seconds,
                probe.ticks(), static_cast<long long>(probe.longestGapMs()),
                gbkToUtf8(controls.caption(kMainWindow, {})).c_str());
    return 0;
}
