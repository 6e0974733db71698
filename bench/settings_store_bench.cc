// How long closing the main window takes to save it: every bound control written through the
// store (each write replaces the settings file), the long texts as side files.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench_support.h"
#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "settings/settings_location.h"
#include "settings/settings_store.h"
#include "support/native_path.h"

namespace yelian {
namespace {

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

// A store over a settings file that already holds every key of the main window.
struct SavedMainWindow {
    SavedMainWindow() {
        store.open(folder.file(kSettingsFileName.str()));
        store.saveControls(controls, kMainWindow, kMainWindow);
    }

    BenchFolder folder;
    QuietDesktop desktop;
    RecordControls controls{mainWindowSpec()};
    SettingsStore store{desktop};
};

// Saving over a file that already holds every key: the usual close of the window.
void saveMainWindow(benchmark::State& state) {
    SavedMainWindow saved;
    RecordControls& controls = saved.controls;
    SettingsStore& store = saved.store;
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
    SavedMainWindow saved;
    RecordControls& controls = saved.controls;
    SettingsStore& store = saved.store;
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
        std::filesystem::remove(toNativePath(folder.file(kSettingsFileName.str())));
        SettingsStore store(desktop);
        store.open(folder.file(kSettingsFileName.str()));
        state.ResumeTiming();
        store.saveControls(controls, kMainWindow, kMainWindow);
    }
}
BENCHMARK(firstSaveOfMainWindow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace yelian
