// The program "yelian-gui": the desktop program in a Qt application.
#include <QApplication>
#include <iostream>
#include <string>
#include <vector>

#include "qt/gui_program.h"
#include "yelian_version.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto options = yelian::parseGuiArguments(args);
    if (!options) {
        std::cerr << "yelian-gui: " << options.error().message << "\n\n" << yelian::guiUsage();
        return 2;
    }
    if (options->help) {
        std::cout << yelian::guiUsage();
        return 0;
    }
    if (options->version) {
        std::cout << "yelian-gui " << yelian::kVersion << '\n';
        return 0;
    }
    yelian::prepareBrowserEngine();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("yelian"));
    QApplication::setApplicationVersion(QString::fromLatin1(yelian::kVersion));
    QApplication::setDesktopFileName(QStringLiteral("yelian"));
    yelian::applyDesktopLook();
    return yelian::runDesktopProgram(*options);
}
