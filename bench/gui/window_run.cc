// A whole generation run started from the desktop program's window, as a user starts one: the
// folder import clicked, the folder chosen in the (answered) folder browser, the report
// declined. Prints the run's wall time and how often the window's event loop ran meanwhile,
// so that bench/gui/window_run.sh can set it beside the same run of "yelian generate".
//
//   gui_window_run CORPUS_FOLDER SETTINGS_FILE
#include <QElapsedTimer>
#include <cstdio>
#include <string>

#include "bench/gui/window_bench.h"
#include "controls/main_window_names.h"
#include "shell/window_events.h"
#include "support/gbk_text.h"
#include "support/native_path.h"

using namespace yelian;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gui_window_run CORPUS_FOLDER SETTINGS_FILE\n");
        return 2;
    }
    const std::string settings(argv[2]);
    const std::string operand(argv[1]);
    return withDesktopProgram(
        argc, argv, settings, [&](QtControls& controls, QtDesktop& desktop, Application& app) {
            controls.setSelectedIndex(kMainWindow, kTemplateTabs, 0);
            controls.setText(kMainWindow, kFolderFilterEdit, "*");
            desktop.answerFolder(fromNativePath(operand));
            desktop.answerMessage(MessageAnswer::No);
            EventLoopProbe probe;
            QElapsedTimer clock;
            clock.start();
            dispatchControlEvent(app, kMainWindow, kImportFolderButton, ControlEvent::Clicked);
            const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
            std::printf("%.3f s, event loop ran %d times, longest gap %lld ms, caption %s\n",
                        seconds, probe.ticks(), static_cast<long long>(probe.longestGapMs()),
                        gbkToUtf8(controls.caption(kMainWindow, {})).c_str());
        });
}
