// The Qt tests run on real widgets without a display: one QApplication on the offscreen
// platform for the whole run, with the desktop program's style and font.
#include <gtest/gtest.h>

#include <QApplication>

#include "qt/gui_program.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    }
    yelian::prepareBrowserEngine();
    QApplication application(argc, argv);
    yelian::applyDesktopLook();
    return RUN_ALL_TESTS();
}
