// Keeps the colour choice's module state from leaking between tests that
// run in one process, and starts each test with a clean recorder and script.
#pragma once
#include <algorithm>

#include <gtest/gtest.h>

#include "catalogue/color_choice.h"
#include "tests/fakes/recording_host.h"
#include "tests/fakes/scripted_color_dialog.h"

namespace vx::test_support {

class ColorStateGuard : public ::testing::Test {
 protected:
  void SetUp() override {
    savedLast_ = LastColor;
    std::copy(CustomColors, CustomColors + CUSTOM_COLOR_COUNT, savedCustom_);
    fakes::ClearRecordedHost();
    fakes::ResetScriptedColorDialog();
  }
  void TearDown() override {
    LastColor = savedLast_;
    std::copy(savedCustom_, savedCustom_ + CUSTOM_COLOR_COUNT, CustomColors);
    fakes::ClearRecordedHost();
    fakes::ResetScriptedColorDialog();
  }

 private:
  ColorRef savedLast_ = 0;
  ColorRef savedCustom_[CUSTOM_COLOR_COUNT] = {};
};

}  // namespace vx::test_support
