// What entities change of the OpenGL state while they draw, put back when
// they are done, and the material steps their draw modes take.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "objectgl/GLMaterial.h"
#include "objectgl/GLVectorArray.h"

// Whether OpenGL renders (rather than selects or feeds back). Mesa's
// selection and feedback lose or crash on display lists that mix primitive
// kinds, as tessellations do: there entities send their primitives anew.
// Within a scene's pass, read once when the pass began.
bool GLIsRendering();

// Lighting off for the scope; on again after when it was on.
class GLLightingOff {
 public:
  GLLightingOff() : was_(glIsEnabled(GL_LIGHTING) == GL_TRUE) { glDisable(GL_LIGHTING); }
  ~GLLightingOff() {
    if (was_) glEnable(GL_LIGHTING);
  }
  GLLightingOff(const GLLightingOff&) = delete;
  GLLightingOff& operator=(const GLLightingOff&) = delete;

 private:
  bool was_;
};

// While a scene's pass draws, the line widths and filled polygon modes
// entities set are put back once, not after every entity: each change makes
// the renderer draw what it has gathered, and a state set and put back for
// every line or label kept it drawing one entity at a time. The pass puts
// the state back before an entity that draws with whatever is set (Settle)
// and at its end.
class GLDrawPass {
 public:
  GLDrawPass();
  ~GLDrawPass();
  GLDrawPass(const GLDrawPass&) = delete;
  GLDrawPass& operator=(const GLDrawPass&) = delete;

  static bool Active();
  // The render mode cannot change within a pass: asked for every entity it
  // would be one more call into the renderer for each.
  static bool Rendering();
  // Changes with every pass begun: what a pass reads of the state once.
  static uint32_t Serial();
  // Sets the width, or both polygon modes to GL_FILL, for an entity.
  static void UseLineWidth(float width);
  static void UseFill();
  // The pass's state again.
  static void Settle();
  // After an entity that may have set the state itself: the state as
  // OpenGL holds it now (no call to set what is already set: inside a
  // display list each would part the list's vertices).
  static void Refresh();

 private:
  bool owner_;
};

// The line width for the scope (within a pass: until the pass settles).
class GLLineWidthScope {
 public:
  explicit GLLineWidthScope(float width) : deferred_(GLDrawPass::Active()) {
    if (deferred_) {
      GLDrawPass::UseLineWidth(width);
      return;
    }
    glGetFloatv(GL_LINE_WIDTH, &saved_);
    glLineWidth(width);
  }
  ~GLLineWidthScope() {
    if (!deferred_) glLineWidth(saved_);
  }
  GLLineWidthScope(const GLLineWidthScope&) = delete;
  GLLineWidthScope& operator=(const GLLineWidthScope&) = delete;

 private:
  bool deferred_;
  GLfloat saved_ = 1.0f;
};

// Filled polygons on both sides for the scope; the front and back modes
// are put back one by one (within a pass: when the pass settles).
class GLFilledPolygons {
 public:
  GLFilledPolygons() : deferred_(GLDrawPass::Active()) {
    if (deferred_) {
      GLDrawPass::UseFill();
      return;
    }
    glGetIntegerv(GL_POLYGON_MODE, saved_);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  }
  ~GLFilledPolygons() {
    if (deferred_) return;
    glPolygonMode(GL_FRONT, static_cast<GLenum>(saved_[0]));
    glPolygonMode(GL_BACK, static_cast<GLenum>(saved_[1]));
  }
  GLFilledPolygons(const GLFilledPolygons&) = delete;
  GLFilledPolygons& operator=(const GLFilledPolygons&) = delete;

 private:
  bool deferred_;
  GLint saved_[2] = {GL_FILL, GL_FILL};
};

// Selects the material and sends its colour (unlit drawing).
inline void GLApplyColor(GLMatLib* materials, uint32_t material) {
  if (!materials) return;
  materials->SetCurrent(material);
  materials->ApplyColor();
}

// Selects the material and sends it lit to the faces.
inline void GLApplyLit(GLMatLib* materials, uint32_t material, GLenum faces) {
  if (!materials) return;
  materials->SetCurrent(material);
  materials->ApplyMaterial(faces);
}

// The material step of the surface entities: colour in modes 0 and 1, lit to
// both sides in mode 2, nothing otherwise.
inline void GLApplyForMode(GLMatLib* materials, uint32_t material, uint32_t mode) {
  if (mode <= 1)
    GLApplyColor(materials, material);
  else if (mode == 2)
    GLApplyLit(materials, material, GL_FRONT_AND_BACK);
}

class GLEntity;
class GLScene;

// Points as one primitive through the scene's model matrix. Selecting and
// feeding back they go as a vertex array: Mesa keeps every vertex sent
// between glBegin and glEnd in those modes until the context goes (some
// 12 bytes each, at every pick). Rendering they go one by one as before.
void GLSendPoints(GLenum primitive, const GLVector* points, size_t count, const GLScene* scene);

// A curve's points as one primitive (line loop or strip) in the material's
// colour, unlit, at the entity's line width, through the scene's model
// matrix. Nothing for no points.
void GLDrawCurve(const GLEntity& entity, GLenum primitive, const GLVectorArray& points, GLMatLib* materials,
                 uint32_t material);
