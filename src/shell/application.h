// The application object: everything that lives from the program's start to its end (the
// settings store, the title expression, the random generator, the simplified-to-traditional
// converter, the keyword insertion's bags, the stop flag of a run and the input dialog's
// record, the insertion target of the tag buttons and what the windows are doing), with the
// windows and desktop services it runs against. One instance is created
// before the main window and passed by reference to whatever needs these objects.
#pragma once

#include <optional>
#include <string>

#include "controls/control_ops.h"
#include "engine/generation.h"
#include "engine/keyword_insertion.h"
#include "settings/settings_store.h"
#include "shell/dialog_request.h"
#include "shell/web_pages.h"
#include "shell/window_activity.h"
#include "support/random_source.h"
#include "support/regex_object.h"
#include "support/traditional_chinese.h"
#include "templatemaker/template_maker.h"

namespace yelian {

// An edit box of a window, by name.
struct EditBoxRef {
    std::string window;
    std::string control;
};

class Application {
  public:
    // The store starts closed (startProgram opens it); the generator is seeded from the
    // system's entropy source (random().seed() makes a run reproducible).
    Application(Controls& controls, DesktopServices& desktop);
    // The same over another file system, which the settings, the old template files, the
    // folder listing and the runs all go through; it must outlive the application.
    Application(Controls& controls, DesktopServices& desktop, FileEnv& files);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application() = default;

    Controls& controls() { return controls_; }
    DesktopServices& desktop() { return desktop_; }
    Ui ui() { return {controls_, desktop_}; }

    SettingsStore& settings() { return settings_; }
    FileEnv& files() { return settings_.files(); }
    RegexObject& titlePattern() { return titlePattern_; }
    RandomSource& random() { return random_; }
    const TraditionalChinese& traditionalChinese() const { return traditionalChinese_; }
    KeywordInserter& keywordInserter() { return keywordInserter_; }
    DialogRequest& dialogRequest() { return dialogRequest_; }
    WindowActivity& windowActivity() { return windowActivity_; }
    // The template maker's handlers, alive as long as the program so that a generation still
    // running when its window closes never outlives them.
    TemplateMakerWindow& templateMaker() { return templateMaker_; }
    // The desktop's page renderer for the template maker's "渲染后识别"; the command line and
    // the tests of the window logic have none.
    void setPageRenderer(PageRenderer* renderer) { templateMaker_.setRenderer(renderer); }
    // The edit box the tag buttons insert into: none until a template editor had the focus.
    std::optional<EditBoxRef>& insertionTarget() { return insertionTarget_; }

    // The flag that stops a run before its next article: the running import button's second
    // click sets it, as does Ctrl-C on the command line.
    bool& stopRequested() { return stopRequested_; }

    // What a generation run is given: the windows, the generator, the title expression, the
    // stop flag and the keyword insertion.
    GenerationContext generationContext() {
        return {ui(), random_, titlePattern_, stopRequested_, keywordInserter_};
    }

  private:
    Controls& controls_;
    DesktopServices& desktop_;
    // The file system when none was given.
    PosixFileEnv posixFiles_;
    // Created in this order: the keyword insertion draws from the generator.
    SettingsStore settings_;
    RegexObject titlePattern_;
    RandomSource random_;
    TraditionalChinese traditionalChinese_;
    KeywordInserter keywordInserter_;
    DialogRequest dialogRequest_;
    WindowActivity windowActivity_;
    std::optional<EditBoxRef> insertionTarget_;
    bool stopRequested_ = false;
    WebPageSource webPages_;
    TemplateMakerWindow templateMaker_;
};

}  // namespace yelian
