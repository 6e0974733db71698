// The template maker in the desktop program's window, as a user works it: the address typed,
// the button clicked, the template shown with the candidate list. Prints the time from the
// click to the template in the window and how often the window's event loop ran meanwhile,
// so that bench/template_maker/run.sh can set it beside "yelian template".
//
//   gui_template_run URL SETTINGS_FILE
#include <QElapsedTimer>
#include <cstdio>
#include <string>

#include "bench/gui/window_bench.h"
#include "controls/main_window_names.h"
#include "controls/template_maker_table.h"
#include "shell/window_events.h"
#include "support/gbk_text.h"
#include "support/shared_texts.h"

using namespace yelian;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gui_template_run URL SETTINGS_FILE\n");
        return 2;
    }
    const std::string settings(argv[2]);
    const std::string operand(argv[1]);
    return withDesktopProgram(
        argc, argv, settings, [&](QtControls& controls, QtDesktop&, Application& app) {
            dispatchControlEvent(app, kMainWindow, kTemplateMakerLink, ControlEvent::Clicked);
            controls.setText(kTemplateMakerWindow, kAddressEdit, utf8ToGbk(operand));
            // Let the window come up before the clock starts.
            QCoreApplication::processEvents();
            EventLoopProbe probe;
            QElapsedTimer clock;
            clock.start();
            dispatchControlEvent(app, kTemplateMakerWindow, kMakeTemplateButton,
                                 ControlEvent::Clicked);
            const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
            const std::string made = controls.text(kTemplateMakerWindow, kTemplateSourceEdit);
            std::printf("%.3f s, event loop ran %d times, longest gap %lld ms, %s, %d candidates\n",
                        seconds, probe.ticks(), static_cast<long long>(probe.longestGapMs()),
                        made.find(kContentTag.str()) != std::string::npos ? "body tag in place"
                                                                          : "no body tag",
                        controls.itemCount(kTemplateMakerWindow, kCandidateCombo));
        });
}
