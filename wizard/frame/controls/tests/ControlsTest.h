// A clean headless desktop for each controls test, the tests' dialogs made
// the current resources, the wizard's own resources at hand, and a driver
// that runs the dialog's actions.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/mfc/module_state.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/headless_driver.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/tests/headless_fixture.h"
#include "wizard/frame/controls/tests/ControlsDialog.h"

namespace controls_tests {

class ControlsTest : public testing_support::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    dialogs_ = LoadLibraryA(JOV_CONTROLS_TEST_RESOURCES);
    ASSERT_NE(dialogs_, nullptr) << LastLoadErrorText();
    wizard_ = LoadLibraryA(JOV_WIZARD_RESOURCES);
    ASSERT_NE(wizard_, nullptr) << LastLoadErrorText();
    state_.m_hCurrentResourceHandle = dialogs_;
    state_.m_lpszCurrentAppName = "ControlsTests";
    previous_ = AfxSetModuleState(&state_);
    previousDriver_ = SetUiDriver(&driver);
  }
  void TearDown() override {
    SetUiDriver(previousDriver_);
    HeadlessTest::TearDown();
    AfxIdleCleanup();
    AfxSetModuleState(previous_);
    FreeLibrary(wizard_);
    FreeLibrary(dialogs_);
  }

  // Runs the dialog modally with the actions; its result.
  INT_PTR Run(ControlsDialog& dialog, std::vector<DialogAction> actions) {
    driver.OnDialog(IDD_CONTROLS, std::move(actions));
    return dialog.DoModal();
  }
  std::vector<UiEvent> Events(UiEvent::Kind kind) const {
    std::vector<UiEvent> out;
    for (const UiEvent& e : UiJournal())
      if (e.kind == kind) out.push_back(e);
    return out;
  }
  // The actions that failed, as the journal has them.
  std::vector<std::string> Failures() const {
    std::vector<std::string> out;
    for (const UiEvent& e : UiJournal())
      if (e.kind == UiEvent::Kind::DialogAction && e.failed) out.push_back(e.detail);
    return out;
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

  HeadlessDriver driver;
  HMODULE dialogs_ = nullptr;
  HMODULE wizard_ = nullptr;
  AFX_MODULE_STATE state_{};
  AFX_MODULE_STATE* previous_ = nullptr;
  UiDriver* previousDriver_ = nullptr;
};

}  // namespace controls_tests
