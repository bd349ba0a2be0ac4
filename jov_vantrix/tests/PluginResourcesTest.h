// A clean headless desktop with the plug-in's own resource file as the
// current resources, for tests of its dialogs and controls.
#pragma once

#include <string>

#include "platform/mfc/CWnd.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/tests/headless_fixture.h"

class PluginResourcesTest : public testing_support::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    resources_ = LoadLibraryA((std::string(JOV_TEST_MODULE_DIR) + "/Jov_Vantrix.qmr").c_str());
    ASSERT_NE(resources_, nullptr) << LastLoadErrorText();
    state_.m_hCurrentResourceHandle = resources_;
    previous_ = AfxSetModuleState(&state_);
  }
  void TearDown() override {
    HeadlessTest::TearDown();
    AfxIdleCleanup();
    AfxSetModuleState(previous_);
    FreeLibrary(resources_);
  }

  HMODULE resources_ = nullptr;
  AFX_MODULE_STATE state_{};
  AFX_MODULE_STATE* previous_ = nullptr;
};
