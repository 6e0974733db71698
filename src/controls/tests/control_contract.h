// The contract of the control operations, one suite for every backend: a backend's test file
// instantiates it with a maker of its Controls over the main window and the phrase editor.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "controls/control_ops.h"

namespace yelian::testing {

struct ControlsBackend {
    std::string name;
    std::function<std::unique_ptr<Controls>()> make;
};

// A backend prints as its name, so that the cases' listed names stay the same from run to
// run (the default printer shows the object's bytes, pointers included).
inline void PrintTo(const ControlsBackend& backend, std::ostream* out) {
    *out << backend.name;
}

class ControlContract : public ::testing::TestWithParam<ControlsBackend> {
  protected:
    void SetUp() override { controls = GetParam().make(); }
    std::unique_ptr<Controls> controls;
};

// For INSTANTIATE_TEST_SUITE_P: names the cases after the backend.
inline std::string backendName(const ::testing::TestParamInfo<ControlsBackend>& info) {
    return info.param.name;
}

}  // namespace yelian::testing
