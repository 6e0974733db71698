// How fast the command line's main window answers the reads a generation run makes for every
// article.
#include <benchmark/benchmark.h>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"

#include <string>

namespace yelian {
namespace {

void readOptions(benchmark::State& state) {
    RecordControls controls{mainWindowSpec()};
    for (auto _ : state) {
        benchmark::DoNotOptimize(controls.checked(kMainWindow, kCutContentCheck));
        benchmark::DoNotOptimize(controls.selectedIndex(kMainWindow, kOutputEncodingCombo));
        benchmark::DoNotOptimize(controls.text(kMainWindow, kYearFromEdit));
    }
    state.SetItemsProcessed(state.iterations() * 3);
}
BENCHMARK(readOptions);

void replaceSelectionInTemplate(benchmark::State& state) {
    RecordControls controls{mainWindowSpec()};
    const std::string sample = controls.text(kMainWindow, kTemplateEditor1);
    for (auto _ : state) {
        controls.setText(kMainWindow, kTemplateEditor1, sample);
        controls.selectRange(kMainWindow, kTemplateEditor1, 400, 2);
        controls.replaceSelection(kMainWindow, kTemplateEditor1, "#x#");
    }
}
BENCHMARK(replaceSelectionInTemplate);

}  // namespace
}  // namespace yelian
