// The off-screen renderer is bound by the first OpenGL call, which only a
// context brings: a program that links the scene library and builds scenes
// without drawing never calls into it, nor (outside the sanitizer build,
// where it comes with the program) loads it with its compiler back end. A
// program of its own, since any earlier test would have drawn.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "objectgl/GLCamera.h"
#include "objectgl/GLLine.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLText.h"
#include "objectgl/GLTextStyle.h"
#include "objectgl/GLViewport.h"
#include "platform/win32/wgl/wgl.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_styles.h"

namespace {

bool Mapped(const std::string& library) {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);)
    if (line.find(library) != std::string::npos) return true;
  return false;
}

// A scene of a line and a label, on a window when given one.
void Scene(HWND window) {
  GLScene scene;
  auto* camera = new GLCamera;
  camera->SetPerspective(false);
  camera->SetViewSize(20, 20);
  camera->SetTarget(GLVector(10, 10, 0));
  camera->SetDistance(10);
  camera->SetFar(100);
  scene.AddCamera(camera);
  auto* style = new GLTextStyle;
  style->SetFaceName("Arial");
  scene.AddTextStyle(style);
  scene.AddEntity(new GLLine(GLVector(0, 10, 0), GLVector(20, 10, 0), 0));
  auto* label = new GLText("12", 0);
  label->SetHeight(3.0);
  scene.AddEntity(label);
  scene.ComputeExtents();
  if (window) {
    ASSERT_EQ(scene.AddViewport(new GLViewportWin(window)), 1u);
    scene.Render();
  }
}

}  // namespace

TEST(RendererBinding, TheFirstContextBindsTheRendererAndNothingBefore) {
  Scene(nullptr);
  EXPECT_FALSE(OpenGLRendererLoaded()) << "a scene without a viewport calls no OpenGL function";
  EXPECT_EQ(Mapped("libOSMesa"), JOV_RENDERER_WITH_PROGRAM != 0);
  EXPECT_EQ(Mapped("libLLVM"), JOV_RENDERER_WITH_PROGRAM != 0);

  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
  Scene(window);
  EXPECT_TRUE(OpenGLRendererLoaded());
  EXPECT_TRUE(Mapped("libOSMesa"));
  GlFrame frame;
  ASSERT_TRUE(GetWindowFrame(window, &frame));
  EXPECT_NE(frame.Rgb(20, 20), 0u) << "the line drawn across the middle, through the bound entry points";
  DestroyWindow(window);
}
