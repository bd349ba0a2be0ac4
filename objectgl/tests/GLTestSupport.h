// What the scene library's tests share: a scratch folder, a registry of its
// own, the resource file installed in the shared folder, a two-point line
// entity that counts its drawing, and a window with a viewport and camera.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "objectgl/GLCamera.h"
#include "objectgl/GLEntity.h"
#include "objectgl/GLMaterial.h"
#include "objectgl/GLScene.h"
#include "common/GLStream.h"
#include "objectgl/GLViewport.h"
#include "objectgl/tests/SharedGlr.h"
#include "platform/win32/registry.h"
#include "platform/win32/driver/ui_driver.h"
#include "platform/win32/wgl/wgl.h"
#include "platform/win32/window_api.h"
#include "platform/win32/window_styles.h"

namespace gltest {

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "objectgl-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// A registry in a scratch folder for the life of the object; with `glr`, the
// machine's shared folder holds "GLOBJECT.GLR" from the module folder.
class ScopedRegistry {
 public:
  explicit ScopedRegistry(bool glr = false) {
    SetRegistryFolder(folder_.Path() + "/registry");
    if (glr) InstallSharedGlr(folder_.Path());
  }
  ~ScopedRegistry() { SetRegistryFolder(""); }
  const std::string& Path() const { return folder_.Path(); }

 private:
  ScratchFolder folder_;
};

// A line from a to b in its material's colour; counts its drawing.
class TestLine : public GLEntity {
 public:
  TestLine(GLVector a, GLVector b, uint32_t material = 0) : a_(a), b_(b), material_(material) {}
  GLClass* GetClass() const override { return GLEntity::classRecord; }
  void Draw(uint32_t, GLMatLib* materials) override {
    ++draws;
    if (materials) {
      materials->SetCurrent(material_);
      materials->ApplyColor();
    }
    glLineWidth(IsHighlighted() ? GetHighlightLineWidth() : GetLineWidth());
    glBegin(GL_LINES);
    const GLVector p = GLScene::MapPoint(a_, GetScene()), q = GLScene::MapPoint(b_, GetScene());
    glVertex3dv(p);
    glVertex3dv(q);
    glEnd();
  }
  GLExtents GetExtents() const override {
    GLExtents e;
    e.AddPoint(a_);
    e.AddPoint(b_);
    return e;
  }
  void SetMaterial(uint32_t index) override { material_ = index; }
  uint32_t GetMaterial() const override { return material_; }
  int draws = 0;

 private:
  GLVector a_, b_;
  uint32_t material_;
};

inline HWND NewWindow(int width, int height) {
  return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, width, height, nullptr, nullptr, nullptr, nullptr);
}

// The last frame of a window as written to test-output/png/<name>.png.
inline GlFrame FrameOf(HWND window, const std::string& name) {
  GlFrame frame;
  EXPECT_TRUE(GetWindowFrame(window, &frame)) << name;
  EXPECT_TRUE(WriteFramePng(frame, std::string(JOV_TEST_OUTPUT_DIR) + "/png/" + name + ".png"));
  return frame;
}

// A scene on its own window: an orthographic camera looking down at the
// rectangle (0,0)-(viewWidth,viewHeight) (of the window's shape) filling it, a white
// background and two materials: 0 red, 1 green.
class SceneOnWindow {
 public:
  SceneOnWindow(int width, int height, double viewWidth, double viewHeight) {
    window = NewWindow(width, height);
    viewport = new GLViewportWin(window);
    camera = new GLCamera;
    camera->SetPerspective(false);
    // The larger view size spans the window's shorter side.
    const double across = std::min(viewWidth, viewHeight);
    camera->SetViewSize(across, across);
    camera->SetTarget(GLVector(viewWidth / 2, viewHeight / 2, 0));
    camera->SetDistance(10);
    camera->SetFar(100);
    scene.AddCamera(camera);
    ok = scene.AddViewport(viewport) == 1;
    viewport->SetBackgroundColor(1, 1, 1, 1);
    const float red[4] = {1, 0, 0, 1}, green[4] = {0, 1, 0, 1};
    scene.AddMaterial(new GLMaterial(red));
    scene.AddMaterial(new GLMaterial(green));
  }
  ~SceneOnWindow() { DestroyWindow(window); }

  HWND window = nullptr;
  GLScene scene;
  GLViewportWin* viewport = nullptr;
  GLCamera* camera = nullptr;
  bool ok = false;
};

inline std::vector<MessageBoxCall> MessageBoxes() {
  std::vector<MessageBoxCall> boxes;
  for (const UiEvent& e : UiJournal())
    if (e.kind == UiEvent::Kind::MessageBox) boxes.push_back(e.box);
  return boxes;
}

// One primitive OpenGL passed on in feedback mode: its token and points.
struct FedPrimitive {
  GLenum token;
  std::vector<GLVector> points;
};

// What `draw` issues in the current context, in feedback mode, under a view
// whose window coordinates are the x and y of -1000..1000.
inline std::vector<FedPrimitive> Feedback(const std::function<void()>& draw) {
  std::vector<GLfloat> buffer(1 << 18);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(-1000, 1000, -1000, 1000, -1000, 1000);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glViewport(-1000, -1000, 2000, 2000);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint n = glRenderMode(GL_RENDER);
  glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  EXPECT_GE(n, 0) << "feedback buffer overflow";

  std::vector<FedPrimitive> out;
  auto vertex = [&](GLint& at) {
    GLVector v(buffer[at], buffer[at + 1], 0.0);
    at += 3;
    return v;
  };
  for (GLint at = 0; at < n;) {
    const auto token = static_cast<GLenum>(buffer[at++]);
    FedPrimitive p{token, {}};
    int count = 0;
    switch (token) {
      case GL_POINT_TOKEN:
      case GL_BITMAP_TOKEN:
      case GL_DRAW_PIXEL_TOKEN:
      case GL_COPY_PIXEL_TOKEN: count = 1; break;
      case GL_LINE_TOKEN:
      case GL_LINE_RESET_TOKEN: count = 2; break;
      case GL_POLYGON_TOKEN: count = static_cast<int>(buffer[at++]); break;
      case GL_PASS_THROUGH_TOKEN: ++at; continue;
      default: ADD_FAILURE() << "token " << token; return out;
    }
    for (int i = 0; i < count; ++i) p.points.push_back(vertex(at));
    out.push_back(p);
  }
  return out;
}

// Lines (fed as line tokens) of the feedback, reset or not.
inline size_t LineCount(const std::vector<FedPrimitive>& fed) {
  return static_cast<size_t>(std::count_if(fed.begin(), fed.end(), [](const FedPrimitive& p) {
    return p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN;
  }));
}

// What an object writes into a buffer of `capacity` bytes; empty when the
// write fails.
template <class T>
std::vector<unsigned char> Written(const T& object, size_t capacity = 4096) {
  std::vector<unsigned char> buffer(capacity);
  GLOstream os(buffer.data(), capacity);
  if (!object.Write(os)) return {};
  buffer.resize(os.Tell());
  return buffer;
}

// Every shorter prefix of a written form reads false.
template <class T>
void ExpectEveryPrefixFails(const std::vector<unsigned char>& bytes, const char* what) {
  for (size_t n = 0; n < bytes.size(); ++n) {
    T fresh;
    GLIstream is(bytes.data(), static_cast<uint32_t>(n));
    EXPECT_FALSE(fresh.Read(is)) << what << " read from " << n << " of " << bytes.size() << " bytes";
  }
}

}  // namespace gltest
