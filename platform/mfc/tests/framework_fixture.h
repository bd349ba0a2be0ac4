// The framework tests' modules: their resources loaded and made current,
// their names for message boxes, a clean headless desktop and a driver.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/mfc/CWnd.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/headless_driver.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/tests/headless_fixture.h"

// A framework module's own resources (a compiled resource file) loaded and
// made current under the module's name, on a clean headless desktop, with a
// driver for its dialogs.
class ModuleTest : public testing_support::HeadlessTest {
 protected:
  ModuleTest(const char* resources, const char* appName) : resourcesPath_(resources), appName_(appName) {}
  void SetUp() override {
    HeadlessTest::SetUp();
    resources_ = LoadLibraryA(resourcesPath_);
    ASSERT_NE(resources_, nullptr) << LastLoadErrorText();
    state_.m_hCurrentResourceHandle = resources_;
    state_.m_lpszCurrentAppName = appName_;
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

 private:
  const char* resourcesPath_;
  const char* appName_;
};

#ifdef JOV_DIALOG_TEST_RESOURCES
#include "platform/mfc/tests/data/dialog_test_ids.h"

// The dialog tests' own module.
class FrameworkTest : public ModuleTest {
 protected:
  FrameworkTest() : ModuleTest(JOV_DIALOG_TEST_RESOURCES, "DialogTests") {}
};
#endif
