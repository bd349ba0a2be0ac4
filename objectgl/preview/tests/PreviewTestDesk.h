// What the preview controls' tests share: a clean headless desktop, the
// scene library's resource file where it is looked for, the tests' own
// resource file (their dialog, the preview's menu and cursors) current, a
// driver answering menus, and the tests' dialog open modeless with its view
// (its member `view`) kWidth x kHeight pixels.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "objectgl/GLCamera.h"
#include "objectgl/GLScene.h"
#include "objectgl/tests/GLTestSupport.h"
#include "platform/mfc/tests/framework_fixture.h"
#include "platform/win32/headless_input.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/window_api.h"

namespace preview_desk {

constexpr int kWidth = 400, kHeight = 300;

template <class Dialog>
class PreviewTestDesk : public ModuleTest {
 protected:
  // The compiled resource file of the tests' dialog, the name the module
  // state gives the tests, and what the frames' file names start with.
  PreviewTestDesk(const char* resources, const char* appName, std::string framePrefix)
      : ModuleTest(resources, appName), framePrefix_(std::move(framePrefix)) {}
  void SetUp() override {
    registry_ = std::make_unique<gltest::ScopedRegistry>(true);
    ModuleTest::SetUp();
  }
  void TearDown() override {
    dialog.reset();
    ModuleTest::TearDown();
    registry_.reset();
  }

  // The dialog made, shown at (x, y) with its view kWidth x kHeight.
  auto& Show(std::unique_ptr<Dialog> made, UINT templateId, int x = 200, int y = 100) {
    dialog = std::move(made);
    EXPECT_TRUE(dialog->Create(templateId, nullptr));
    dialog->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    dialog->view.SetWindowPos(nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER);
    dialog->ShowWindow(SW_SHOW);
    EXPECT_TRUE(dialog->view.IsReady());
    Pump();
    return dialog->view;
  }
  auto& View() { return dialog->view; }
  GLScene& Scene() { return *View().GetScene(); }
  GLCamera& Camera() { return *Scene().GetCurrentCamera(); }

  // Paints the view now and reads its frame, written as PREFIX-NAME.png.
  GlFrame Frame(const std::string& name) {
    View().InvalidateRect(nullptr, TRUE);
    View().UpdateWindow();
    return gltest::FrameOf(View().m_hWnd, framePrefix_ + "-" + name);
  }
  void Click(POINT p, headless::MouseButton button = headless::MouseButton::Left) {
    headless::QueueClick(View().m_hWnd, p, button);
    Pump();
  }
  // Presses at from, moves through the middle to to and lets go there.
  void Drag(POINT from, POINT to, headless::MouseButton button = headless::MouseButton::Left) {
    headless::QueueMouseButton(View().m_hWnd, from, button, true);
    headless::QueueMouseMove(View().m_hWnd, {(from.x + to.x) / 2, (from.y + to.y) / 2});
    headless::QueueMouseMove(View().m_hWnd, to);
    headless::QueueMouseButton(View().m_hWnd, to, button, false);
    Pump();
  }
  // Where a pan drag past the screen's left edge takes the camera: pressed
  // at (20, 150), moved past the edge (where the cursor must go on from the
  // right one, checked here), then one pixel further and let go there.
  struct EdgePan {
    double before = 0.0, atEdge = 0.0, released = 0.0;  // the camera target's x
    int toEdge = 0;                                     // the pixels moved to the edge
  };
  EdgePan PanPastTheLeftScreenEdge() {
    RECT screen;
    GetWindowRect(GetDesktopWindow(), &screen);
    POINT origin{0, 0};
    ClientToScreen(View().m_hWnd, &origin);
    EdgePan pan;
    pan.before = Camera().GetTarget().x;
    pan.toEdge = origin.x + 20;
    headless::QueueMouseButton(View().m_hWnd, {20, 150}, headless::MouseButton::Left, true);
    headless::QueueMouseMove(View().m_hWnd, {screen.left - origin.x, 150});
    Pump();
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, screen.right - 2);
    pan.atEdge = Camera().GetTarget().x;
    const POINT further{screen.right - 3 - origin.x, 150};
    headless::QueueMouseMove(View().m_hWnd, further);
    headless::QueueMouseButton(View().m_hWnd, further, headless::MouseButton::Left, false);
    Pump();
    pan.released = Camera().GetTarget().x;
    return pan;
  }
  // The first column of a frame's row that is not black; -1 when none.
  static int FirstLit(const GlFrame& f, int row) {
    for (int x = 0; x < f.width; ++x)
      if (f.Rgb(x, row) != 0) return x;
    return -1;
  }

  std::unique_ptr<Dialog> dialog;

 private:
  std::string framePrefix_;
  std::unique_ptr<gltest::ScopedRegistry> registry_;
};

}  // namespace preview_desk
