// The contract of the control operations on the plain record.
#include "controls/main_window_table.h"
#include "controls/phrase_editor_table.h"
#include "controls/record_controls.h"
#include "controls/tests/control_contract.h"

namespace yelian::testing {
namespace {

INSTANTIATE_TEST_SUITE_P(
    Record, ControlContract,
    ::testing::Values(ControlsBackend{
        "Record",
        [] {
            return std::make_unique<RecordControls>(
                std::initializer_list<std::reference_wrapper<const WindowSpec>>{
                    mainWindowSpec(), phraseEditorSpec()});
        }}),
    backendName);

}  // namespace
}  // namespace yelian::testing
