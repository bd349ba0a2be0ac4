// The preview tests' desk: a clean headless desktop, the scene library's
// resource file where it is looked for, the preview dialog's resources
// current, a driver for menus, and the dialog open modeless with its view
// 400 x 300 pixels.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "jov_vantrix/tests/PreviewDialog.h"
#include "objectgl/GLCamera.h"
#include "objectgl/GLScene.h"
#include "objectgl/tests/GLTestSupport.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/headless_driver.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/tests/headless_fixture.h"
#include "platform/win32/wgl/wgl.h"

namespace preview_tests {

constexpr int kWidth = 400, kHeight = 300;

class PreviewTest : public testing_support::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    registry_ = std::make_unique<gltest::ScopedRegistry>(true);
    resources_ = LoadLibraryA(JOV_PREVIEW_TEST_RESOURCES);
    ASSERT_NE(resources_, nullptr) << LastLoadErrorText();
    state_.m_hCurrentResourceHandle = resources_;
    state_.m_lpszCurrentAppName = "PreviewTests";
    previous_ = AfxSetModuleState(&state_);
    previousDriver_ = SetUiDriver(&driver);
  }
  void TearDown() override {
    dialog.reset();
    SetUiDriver(previousDriver_);
    HeadlessTest::TearDown();
    AfxIdleCleanup();
    AfxSetModuleState(previous_);
    FreeLibrary(resources_);
    registry_.reset();
  }

  // The dialog shown at (x, y), its view kWidth x kHeight.
  PreviewView& Open(int x = 200, int y = 100) {
    dialog = std::make_unique<PreviewDialog>();
    EXPECT_TRUE(dialog->Create(IDD_PREVIEW_TEST, nullptr));
    dialog->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    dialog->view.SetWindowPos(nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER);
    dialog->ShowWindow(SW_SHOW);
    EXPECT_TRUE(dialog->view.IsReady());
    Pump();
    return dialog->view;
  }
  PreviewView& View() { return dialog->view; }
  GLCamera& Camera() { return *View().GetScene()->GetCurrentCamera(); }

  // One scene unit per pixel: world (x, y) at client (x, kHeight - y).
  void OnePixelPerUnit() {
    const double factor = 1.25;
    View().ZoomExtents(false, &factor);
    Camera().SetViewSize(kHeight, kHeight);
    Camera().SetTarget(GLVector(kWidth / 2.0, kHeight / 2.0, 0.0));
    Camera().ComputeView();
  }

  // Paints the view now and reads its frame, written as preview-NAME.png.
  GlFrame Frame(const std::string& name) {
    View().InvalidateRect(nullptr, TRUE);
    View().UpdateWindow();
    return gltest::FrameOf(View().m_hWnd, "preview-" + name);
  }

  HeadlessDriver driver;
  std::unique_ptr<PreviewDialog> dialog;

 private:
  std::unique_ptr<gltest::ScopedRegistry> registry_;
  HMODULE resources_ = nullptr;
  AFX_MODULE_STATE state_{};
  AFX_MODULE_STATE* previous_ = nullptr;
  UiDriver* previousDriver_ = nullptr;
};

}  // namespace preview_tests
