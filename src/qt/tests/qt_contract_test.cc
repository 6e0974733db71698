// The contract of the control operations on the Qt widgets.
#include "controls/main_window_table.h"
#include "controls/phrase_editor_table.h"
#include "controls/tests/control_contract.h"
#include "qt/qt_controls.h"

namespace yelian::testing {
namespace {

std::unique_ptr<Controls> makeQtControls() {
    return std::make_unique<QtControls>(
        std::initializer_list<std::reference_wrapper<const WindowSpec>>{mainWindowSpec(),
                                                                        phraseEditorSpec()},
        WidgetScale{});
}

INSTANTIATE_TEST_SUITE_P(Qt, ControlContract,
                         ::testing::Values(ControlsBackend{"Qt", makeQtControls}), backendName);

}  // namespace
}  // namespace yelian::testing
