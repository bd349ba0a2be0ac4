// The scene the rendering benchmarks fill: an 800 x 600 window with an
// orthographic camera, a viewport and eight materials (black, the primary
// and secondary colours, white).
#pragma once

#include "objectgl/GLCamera.h"
#include "objectgl/GLMaterial.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLViewport.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_styles.h"

struct OffscreenScene {
  OffscreenScene() {
    window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    camera = new GLCamera;
    camera->SetPerspective(false);
    scene.AddCamera(camera);
    scene.AddViewport(new GLViewportWin(window));
    for (int i = 0; i < 8; ++i) {
      const float colour[4] = {static_cast<float>(i & 1), static_cast<float>((i >> 1) & 1),
                               static_cast<float>((i >> 2) & 1), 1.0f};
      scene.AddMaterial(new GLMaterial(colour));
    }
  }
  OffscreenScene(const OffscreenScene&) = delete;
  OffscreenScene& operator=(const OffscreenScene&) = delete;
  ~OffscreenScene() { DestroyWindow(window); }

  // The camera fitted to what the scene holds.
  void Fit() {
    const double factor = 1.0;
    scene.ZoomExtents(&factor);
    camera->SetDistance(100);
    scene.FitClipping();
  }

  HWND window = nullptr;
  GLScene scene;
  GLCamera* camera = nullptr;
};
