// The test programs' modules: their resources loaded and made current,
// their names for message boxes, a clean headless desktop and a driver.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/mfc/CWnd.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/driver/headless_driver.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/tests/headless_fixture.h"

// A module's own resources (a compiled resource file) loaded and made
// current under the module's name (none: the module state's own), on a
// clean headless desktop.
class ModuleResourcesTest : public testing_support::HeadlessTest {
 protected:
  explicit ModuleResourcesTest(std::string resources, const char* appName = nullptr)
      : resourcesPath_(std::move(resources)), appName_(appName) {}
  void SetUp() override {
    HeadlessTest::SetUp();
    resources_ = LoadLibraryA(resourcesPath_.c_str());
    ASSERT_NE(resources_, nullptr) << LastLoadErrorText();
    state_.m_hCurrentResourceHandle = resources_;
    state_.m_lpszCurrentAppName = appName_;
    previous_ = AfxSetModuleState(&state_);
  }
  void TearDown() override {
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

  HMODULE resources_ = nullptr;
  AFX_MODULE_STATE state_{};
  AFX_MODULE_STATE* previous_ = nullptr;

 private:
  std::string resourcesPath_;
  const char* appName_;
};

// The same with a driver for the module's dialogs.
class ModuleTest : public ModuleResourcesTest {
 protected:
  using ModuleResourcesTest::ModuleResourcesTest;
  void SetUp() override {
    ModuleResourcesTest::SetUp();
    previousDriver_ = SetUiDriver(&driver);
  }
  void TearDown() override {
    SetUiDriver(previousDriver_);
    ModuleResourcesTest::TearDown();
  }
  // The dialog actions the driver could not carry out, as the journal has them.
  std::vector<std::string> Failures() const {
    std::vector<std::string> out;
    for (const UiEvent& e : Events(UiEvent::Kind::DialogAction))
      if (e.failed) out.push_back(e.detail);
    return out;
  }

  HeadlessDriver driver;
  UiDriver* previousDriver_ = nullptr;
};

#ifdef JOV_DIALOG_TEST_RESOURCES
#include "platform/mfc/tests/data/dialog_test_ids.h"

// The dialog tests' own module.
class FrameworkTest : public ModuleTest {
 protected:
  FrameworkTest() : ModuleTest(JOV_DIALOG_TEST_RESOURCES, "DialogTests") {}
};
#endif
