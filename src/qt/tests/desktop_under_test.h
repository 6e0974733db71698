// The desktop program in the test's own process: the real widgets, dialogs answered from the
// test's queues, started on a settings file as yelian-gui starts; and the fixture of the tests
// that drive it.
#pragma once

#include <gtest/gtest.h>

#include <QTimer>
#include <functional>
#include <string>

#include "qt/gui_program.h"
#include "qt/qt_controls.h"
#include "qt/qt_desktop.h"
#include "qt/shell_event_sink.h"
#include "testing/temp_dir.h"

namespace yelian::testing {

struct DesktopUnderTest {
    explicit DesktopUnderTest(const std::string& settingsFile) {
        connectDesktop(app, controls, sink);
        startDesktop(app, settingsFile);
    }
    QtControls controls{desktopWindows(), WidgetScale{}};
    QtDesktop desktop{controls, QtDesktop::Dialogs::Scripted};
    Application app{controls, desktop};
    ShellEventSink sink{app};
};

// A test of the desktop program on a settings file of its own.
class DesktopTest : public ::testing::Test {
  protected:
    // What the user does once the modal window that the next click opens is on screen.
    void whenOpen(std::function<void()> act) { QTimer::singleShot(0, std::move(act)); }

    TempDir dir;
    DesktopUnderTest program{dir.file("settings.ini")};
    QtControls& controls = program.controls;
    QtDesktop& desktop = program.desktop;
    Application& app = program.app;
};

}  // namespace yelian::testing
