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
#include "objectgl/preview/tests/PreviewTestDesk.h"
#include "platform/win32/wgl/wgl.h"

namespace preview_tests {

constexpr int kWidth = 400, kHeight = 300;

class PreviewTest : public preview_desk::PreviewTestDesk {
 protected:
  void SetUp() override { SetUpDesk(JOV_PREVIEW_TEST_RESOURCES, "PreviewTests"); }
  void TearDown() override {
    dialog.reset();
    TearDownDesk();
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

  std::unique_ptr<PreviewDialog> dialog;
};

}  // namespace preview_tests
