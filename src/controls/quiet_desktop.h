// Desktop services without a desktop: every question is answered OK, dialogs come back
// cancelled, there are no events to process and the clock stands still. The command line
// builds on it; benchmarks use it as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "controls/control_ops.h"

namespace yelian {

class QuietDesktop : public DesktopServices {
  public:
    MessageAnswer messageBox(std::string_view, std::string_view, MessageButtons,
                             MessageIcon) override {
        return MessageAnswer::Ok;
    }
    std::vector<std::string> chooseFiles(std::string_view,
                                         const std::vector<FileFilter>&) override {
        return {};
    }
    std::string chooseFolder(std::string_view, std::string_view) override { return {}; }
    int popupMenu(std::string_view, const std::vector<std::string>&) override { return -1; }
    void registerDropTarget(std::string_view) override {}
    void showInBrowser(std::string_view, std::string_view, std::string_view) override {}
    std::string clipboardText() override { return {}; }
    void setClipboardText(std::string_view) override {}
    void processPendingEvents() override {}
    void openUrl(std::string_view) override {}
    void openFolder(std::string_view) override {}
    std::int64_t ticks() override { return 0; }
    void sleep(std::int64_t) override {}
};

}  // namespace yelian
