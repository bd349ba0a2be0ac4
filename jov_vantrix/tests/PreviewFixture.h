// The preview tests' desk with the drawing preview's test dialog.
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

using preview_desk::kHeight;
using preview_desk::kWidth;

class PreviewTest : public preview_desk::PreviewTestDesk<PreviewDialog> {
 protected:
  PreviewTest() : PreviewTestDesk(JOV_PREVIEW_TEST_RESOURCES, "PreviewTests", "preview") {}

  // The dialog shown at (x, y), its view kWidth x kHeight.
  PreviewView& Open(int x = 200, int y = 100) { return Show(std::make_unique<PreviewDialog>(), IDD_PREVIEW_TEST, x, y); }

  // One scene unit per pixel: world (x, y) at client (x, kHeight - y).
  void OnePixelPerUnit() {
    const double factor = 1.25;
    View().ZoomExtents(false, &factor);
    Camera().SetViewSize(kHeight, kHeight);
    Camera().SetTarget(GLVector(kWidth / 2.0, kHeight / 2.0, 0.0));
    Camera().ComputeView();
  }
};

}  // namespace preview_tests
