// The dialog tests' own module: its resources loaded and made current, its
// name for message boxes, a clean headless desktop and a driver.
#pragma once

#include <gtest/gtest.h>

#include "platform/mfc/CWnd.h"
#include "platform/mfc/module_state.h"
#include "platform/mfc/tests/data/dialog_test_ids.h"
#include "platform/win32/headless_driver.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/tests/headless_fixture.h"

class FrameworkTest : public testing_support::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    resources_ = LoadLibraryA(JOV_DIALOG_TEST_RESOURCES);
    ASSERT_NE(resources_, nullptr) << LastLoadErrorText();
    state_.m_hCurrentResourceHandle = resources_;
    state_.m_lpszCurrentAppName = "DialogTests";
    previous_ = AfxSetModuleState(&state_);
    previousDriver_ = SetUiDriver(&driver);
  }
  void TearDown() override {
    SetUiDriver(previousDriver_);
    HeadlessTest::TearDown();
    AfxIdleCleanup();
    AfxSetModuleState(previous_);
    FreeLibrary(resources_);
  }
  std::vector<UiEvent> Events(UiEvent::Kind kind) const {
    std::vector<UiEvent> out;
    for (const UiEvent& e : UiJournal())
      if (e.kind == kind) out.push_back(e);
    return out;
  }

  HeadlessDriver driver;
  HMODULE resources_ = nullptr;
  AFX_MODULE_STATE state_{};
  AFX_MODULE_STATE* previous_ = nullptr;
  UiDriver* previousDriver_ = nullptr;
};
