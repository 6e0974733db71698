#include "cli/control_assignment.h"

#include <gtest/gtest.h>

#include "controls/main_window_names.h"
#include "controls/main_window_table.h"
#include "controls/record_controls.h"
#include "support/gbk_text.h"

namespace yelian {
namespace {

using namespace yelian::literals;

// A keyword list typed in a shell has bare LF; the run splits it at CR LF.
TEST(ControlAssignment, EditBoxLinesGetCrLfOnce) {
    RecordControls controls{mainWindowSpec()};
    EXPECT_FALSE(assignControl(controls, "编辑框关键词", "甲\n乙\r\n丙\n"));
    EXPECT_EQ(controls.text(kMainWindow, kKeywordListEdit), "甲\r\n乙\r\n丙\r\n"_gbk);
}

}  // namespace
}  // namespace yelian
