// What the preview controls' tests share: a clean headless desktop, the
// scene library's resource file where it is looked for, the tests' own
// resource file (their dialog, the preview's menu and cursors) current, and
// a driver answering menus.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "objectgl/tests/GLTestSupport.h"
#include "platform/mfc/CWnd.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/headless_driver.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/tests/headless_fixture.h"

namespace preview_desk {

class PreviewTestDesk : public testing_support::HeadlessTest {
 protected:
  // The compiled resource file of the tests' dialog, and the name the
  // module state gives the tests.
  void SetUpDesk(const char* resources, const char* appName) {
    HeadlessTest::SetUp();
    registry_ = std::make_unique<gltest::ScopedRegistry>(true);
    resources_ = LoadLibraryA(resources);
    ASSERT_NE(resources_, nullptr) << LastLoadErrorText();
    state_.m_hCurrentResourceHandle = resources_;
    state_.m_lpszCurrentAppName = appName;
    previous_ = AfxSetModuleState(&state_);
    previousDriver_ = SetUiDriver(&driver);
  }
  // After the tests' dialog is gone.
  void TearDownDesk() {
    SetUiDriver(previousDriver_);
    HeadlessTest::TearDown();
    AfxIdleCleanup();
    AfxSetModuleState(previous_);
    FreeLibrary(resources_);
    registry_.reset();
  }

  HeadlessDriver driver;

 private:
  std::unique_ptr<gltest::ScopedRegistry> registry_;
  HMODULE resources_ = nullptr;
  AFX_MODULE_STATE state_{};
  AFX_MODULE_STATE* previous_ = nullptr;
  UiDriver* previousDriver_ = nullptr;
};

}  // namespace preview_desk
