// What the preview controls' tests share: a clean headless desktop, the
// scene library's resource file where it is looked for, the tests' own
// resource file (their dialog, the preview's menu and cursors) current, and
// a driver answering menus.
#pragma once

#include <memory>

#include "objectgl/tests/GLTestSupport.h"
#include "platform/mfc/tests/framework_fixture.h"

namespace preview_desk {

class PreviewTestDesk : public ModuleTest {
 protected:
  // The compiled resource file of the tests' dialog, and the name the
  // module state gives the tests.
  PreviewTestDesk(const char* resources, const char* appName) : ModuleTest(resources, appName) {}
  void SetUp() override {
    registry_ = std::make_unique<gltest::ScopedRegistry>(true);
    ModuleTest::SetUp();
  }
  // After the tests' dialog is gone.
  void TearDown() override {
    ModuleTest::TearDown();
    registry_.reset();
  }

 private:
  std::unique_ptr<gltest::ScopedRegistry> registry_;
};

}  // namespace preview_desk
