// The application object's construction.
#include "shell/application.h"

namespace yelian {

Application::Application(Controls& controls, DesktopServices& desktop)
    : Application(controls, desktop, posixFiles_) {}

Application::Application(Controls& controls, DesktopServices& desktop, FileEnv& files)
    : controls_(controls),
      desktop_(desktop),
      settings_(desktop, files),
      keywordInserter_(random_),
      webPages_(desktop),
      templateMaker_({controls, desktop}, webPages_) {}

}  // namespace yelian
