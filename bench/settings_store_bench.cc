// How long closing the main window takes to save it: every bound control written through the
// store (each write replaces the settings file), the long texts as side files.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "settings/settings_location.h"
#include "settings/settings_store.h"
#include "support/native_path.h"

namespace yelian {
namespace {

// Desktop services that answer nothing: the store only lets events run and never shows a
// message in these runs.
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

class BenchFolder {
  public:
    BenchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("yelian-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string settingsFile() const {
        return fromNativePath(path_) + kPathSeparator + kSettingsFileName.str();
    }

  private:
    std::filesystem::path path_;
};

void changeEveryControl(RecordControls& controls, int round) {
    const std::string mark = std::to_string(round);
    for (const ControlInfo& control : controls.controlsOf(kMainWindow)) {
        const std::string& name = control.name;
        controls.setText(kMainWindow, name, controls.text(kMainWindow, name) + mark);
        controls.setTagText(kMainWindow, name, controls.tagText(kMainWindow, name));
        controls.setChecked(kMainWindow, name, round % 2 == 0);
        controls.setSelectedIndex(kMainWindow, name, round % 2);
    }
}

// Saving over a file that already holds every key: the usual close of the window.
void saveMainWindow(benchmark::State& state) {
    BenchFolder folder;
    QuietDesktop desktop;
    RecordControls controls{mainWindowSpec()};
    SettingsStore store(desktop);
    store.open(folder.settingsFile());
    store.saveControls(controls, kMainWindow, kMainWindow);
    int round = 0;
    for (auto _ : state) {
        controls.setText(kMainWindow, kYearFromEdit, std::to_string(++round));
        store.saveControls(controls, kMainWindow, kMainWindow);
    }
    state.counters["file_bytes"] = static_cast<double>(store.content().size());
}
BENCHMARK(saveMainWindow)->Unit(benchmark::kMillisecond);

// Every control changed since the last save: every key and side file is rewritten.
void saveChangedMainWindow(benchmark::State& state) {
    BenchFolder folder;
    QuietDesktop desktop;
    RecordControls controls{mainWindowSpec()};
    SettingsStore store(desktop);
    store.open(folder.settingsFile());
    store.saveControls(controls, kMainWindow, kMainWindow);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        changeEveryControl(controls, ++round);
        state.ResumeTiming();
        store.saveControls(controls, kMainWindow, kMainWindow);
    }
}
BENCHMARK(saveChangedMainWindow)->Unit(benchmark::kMillisecond);

// The first close, into an empty settings file: every key is created.
void firstSaveOfMainWindow(benchmark::State& state) {
    BenchFolder folder;
    QuietDesktop desktop;
    RecordControls controls{mainWindowSpec()};
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(toNativePath(folder.settingsFile()));
        SettingsStore store(desktop);
        store.open(folder.settingsFile());
        state.ResumeTiming();
        store.saveControls(controls, kMainWindow, kMainWindow);
    }
}
BENCHMARK(firstSaveOfMainWindow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace yelian
