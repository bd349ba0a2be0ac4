// A clean headless desktop for each controls test, the tests' dialogs made
// the current resources, the wizard's own resources at hand, and a driver
// that runs the dialog's actions.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/mfc/tests/framework_fixture.h"
#include "platform/win32/common_controls.h"
#include "wizard/frame/controls/tests/ControlsDialog.h"

namespace controls_tests {

class ControlsTest : public ModuleTest {
 protected:
  ControlsTest() : ModuleTest(JOV_CONTROLS_TEST_RESOURCES, "ControlsTests") {}
  void SetUp() override {
    ModuleTest::SetUp();
    ASSERT_NE(wizard_, nullptr) << "the wizard's resources";
  }
  void TearDown() override {
    ModuleTest::TearDown();
    FreeLibrary(wizard_);
  }

  // Runs the dialog modally with the actions; its result.
  INT_PTR Run(ControlsDialog& dialog, std::vector<DialogAction> actions) {
    driver.OnDialog(IDD_CONTROLS, std::move(actions));
    return dialog.DoModal();
  }

  // A cell of a list in its client coordinates: its middle left of the
  // arrow square, or the arrow square's middle.
  static POINT CellPoint(HWND list, int row, int column, bool arrow = false) {
    RECT r{};
    r.top = column;
    r.left = column == 0 ? LVIR_LABEL : LVIR_BOUNDS;
    ::SendMessageA(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    const int height = r.bottom - r.top;
    if (arrow) return {r.right - 1 - height / 2, (r.top + r.bottom) / 2};
    return {r.left + 10, (r.top + r.bottom) / 2};
  }

  // Loaded first, so that the tests' members can be made with it.
  HMODULE wizard_ = LoadLibraryA(JOV_WIZARD_RESOURCES);
};

}  // namespace controls_tests
