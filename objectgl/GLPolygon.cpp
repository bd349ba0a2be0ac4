#include "objectgl/GLPolygon.h"

#include <GL/glu.h>

#include <deque>

#include "objectgl/GLDrawState.h"
#include "objectgl/GLFaces.h"
#include "objectgl/GLGeometry.h"
#include "objectgl/GLScene.h"
#include "platform/win32/wgl/wgl.h"

namespace {
// A deque never moves what it holds when it grows.
std::deque<GLVector>& CombineStore() {
  static std::deque<GLVector> store;
  return store;
}
}  // namespace

void GLPolygonCombine(const double coords[3], void* [4], const float[4], void** outData) {
  CombineStore().emplace_back(coords[0], coords[1], coords[2]);
  *outData = &CombineStore().back();
}

void GLPolygonCombineClear() {
  if (!CombineStore().empty()) CombineStore().clear();
}

uint32_t GLPolygonCombineCount() { return static_cast<uint32_t>(CombineStore().size()); }

GLPolygon::~GLPolygon() {
  for (GLContour* c : contours_) delete c;
  contours_.RemoveAll();
  if (displayList_ && wglGetCurrentContext()) glDeleteLists(displayList_, 1);
}

void GLPolygon::Tessellate(GLenum listMode) {
  // What a list holds stays what is drawn: later contours do not join it,
  // nor a list made again through a new model matrix.
  const uint32_t count = displayList_ ? compiledContours_ : contours_.GetCount();
  GLUtesselator* tess = gluNewTess();
  if (!tess) return;
  gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(&glBegin));
  gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(&glVertex3dv));
  gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(&glEnd));
  gluTessCallback(tess, GLU_TESS_COMBINE, reinterpret_cast<_GLUfuncptr>(&GLPolygonCombine));
  gluTessNormal(tess, 0.0, 0.0, 1.0);
  gluTessBeginPolygon(tess, nullptr);
  gluTessBeginContour(tess);
  if (listMode) {
    if (displayList_) glDeleteLists(displayList_, 1);
    compiledContours_ = count;
    const GLScene* owner = GetScene();
    listModel_ = owner ? owner->GetModelVersion() : 0;
    displayList_ = glGenLists(1);
    glNewList(displayList_, listMode);
  }

  // Room for every point at once: the tessellator keeps their addresses.
  uint64_t total = 0;
  for (uint32_t i = 0; i < count; ++i)
    if (contours_[i]) total += contours_[i]->GetCount();
  GLVectorArray stored;
  if (total <= UINT32_MAX && stored.SetCapacity(static_cast<uint32_t>(total))) {
    const GLScene* scene = GetScene();
    for (uint32_t i = 0; i < count; ++i) {
      const GLContour* c = contours_[i];
      if (!c) continue;
      gluNextContour(tess, c->IsInterior() ? GLU_INTERIOR : GLU_EXTERIOR);
      for (const GLVector& p : c->GetPoints()) {
        // The tessellator crashes on a point that is not a number.
        if (!GLIsFinite(p)) continue;
        stored.Add(GLScene::MapPoint(p, scene));
        GLVector& at = stored[stored.GetCount() - 1];
        gluTessVertex(tess, &at.x, &at);
      }
    }
  }
  gluTessEndContour(tess);
  gluTessEndPolygon(tess);
  GLPolygonCombineClear();
  if (listMode) glEndList();
  gluDeleteTess(tess);
}

void GLPolygon::Draw(uint32_t mode, GLMatLib* materials) {
  // As a text: its own colour unlit while lighting is off (modes 0 and 1),
  // lit in mode 2, and no part in the outline pass (mode 3), which would
  // fill it again in whatever colour the entity before it left.
  if (mode == 3) return;
  GLFilledPolygons filled;
  GLApplyForMode(materials, material_, mode);
  if (GLIsRendering()) RecompileWhenStale();
  if (!GLIsRendering())
    SendTriangles();
  else if (displayList_)
    glCallList(displayList_);
  else
    Tessellate(GL_COMPILE_AND_EXECUTE);
}

void GLPolygon::SendTriangles() const {
  // The contours the list holds, when there is one: picks match the drawing.
  const uint32_t count = displayList_ ? compiledContours_ : contours_.GetCount();
  GLArray<GLContour*> drawn;
  for (uint32_t i = 0; i < count; ++i) drawn.Add(contours_[i]);
  const GLFacesArray faces(drawn);
  const GLScene* scene = GetScene();
  for (const GLFaces* f : faces) {
    const GLVectorArray& points = f->GetPoints();
    if (points.GetCount()) GLSendPoints(f->GetType(), &points[0], points.GetCount(), scene);
  }
}

void GLPolygon::PrepareLists() {
  if (!displayList_)
    Tessellate(GL_COMPILE);
  else
    RecompileWhenStale();
}

void GLPolygon::RecompileWhenStale() {
  const GLScene* scene = GetScene();
  if (displayList_ && scene && scene->GetModelVersion() != listModel_) Tessellate(GL_COMPILE);
}

GLExtents GLPolygon::GetExtents() const {
  GLExtents e;
  for (const GLContour* c : contours_)
    if (c)
      for (const GLVector& p : c->GetPoints()) e.AddPoint(p);
  return e;
}

void GLPolygon::SetMaterial(uint32_t index) {
  material_ = index;
  NotifyRestyled();
}
