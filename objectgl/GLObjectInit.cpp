// The library's class table and its registration when the library loads.
// Rows follow the registration order.
#include <cstddef>

#include "objectgl/GLArc.h"
#include "objectgl/GLArrow.h"
#include "objectgl/GLCamera.h"
#include "objectgl/GLCircle.h"
#include "objectgl/GLClassHierarchy.h"
#include "objectgl/GLEllipse.h"
#include "objectgl/GLEntity.h"
#include "objectgl/GLException.h"
#include "objectgl/GLFace.h"
#include "objectgl/GLFace4.h"
#include "objectgl/GLLight.h"
#include "objectgl/GLLine.h"
#include "objectgl/GLMaterial.h"
#include "objectgl/GLMesh.h"
#include "objectgl/GLPolygon.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLSelectPoint.h"
#include "objectgl/GLShell.h"
#include "objectgl/GLTeaPot.h"
#include "objectgl/GLText.h"
#include "objectgl/GLTextStyle.h"
#include "objectgl/GLViewport.h"
#include "platform/win32/ui_services.h"

GLClass* GLObject::classRecord = nullptr;
GLClass* GLClass::classRecord = nullptr;
GLClass* GLScene::classRecord = nullptr;
GLClass* GLLight::classRecord = nullptr;
GLClass* GLCamera::classRecord = nullptr;
GLClass* GLEntity::classRecord = nullptr;
GLClass* GLLine::classRecord = nullptr;
GLClass* GLFace::classRecord = nullptr;
GLClass* GLFace4::classRecord = nullptr;
GLClass* GLCircle::classRecord = nullptr;
GLClass* GLViewport::classRecord = nullptr;
GLClass* GLViewportWin::classRecord = nullptr;
GLClass* GLMatLib::classRecord = nullptr;
GLClass* GLMaterial::classRecord = nullptr;
GLClass* GLTexture::classRecord = nullptr;
GLClass* GLOmniLight::classRecord = nullptr;
GLClass* GLDirectionLight::classRecord = nullptr;
GLClass* GLShell::classRecord = nullptr;
GLClass* GLPolygonArray::classRecord = nullptr;
GLClass* GLMesh::classRecord = nullptr;
GLClass* GLTeaPot::classRecord = nullptr;
GLClass* GLName::classRecord = nullptr;
GLClass* GLSelectPoint::classRecord = nullptr;
GLClass* GLArrow::classRecord = nullptr;
GLClass* GLArc::classRecord = nullptr;
GLClass* GLEllipse::classRecord = nullptr;
GLClass* GLPolygon::classRecord = nullptr;
GLClass* GLTextStyle::classRecord = nullptr;
GLClass* GLText::classRecord = nullptr;
GLClass* GLPushMatrix::classRecord = nullptr;
GLClass* GLPopMatrix::classRecord = nullptr;

namespace {

struct ClassRow {
  int order;  // the class's place in the registration order
  const char* name;
  const char* base;
  GLClass** record;
  GLFactory factory;  // null: abstract
};

template <class T>
constexpr ClassRow Concrete(int order, const char* name, const char* base) {
  return {order, name, base, &T::classRecord, &GLCreate<T>};
}

template <class T>
constexpr ClassRow Abstract(int order, const char* name, const char* base) {
  return {order, name, base, &T::classRecord, nullptr};
}

constexpr ClassRow kClasses[] = {
    Concrete<GLObject>(1, "GLObject", nullptr),
    Concrete<GLClass>(2, "GLClass", "GLObject"),
    Concrete<GLScene>(3, "GLScene", "GLObject"),
    Abstract<GLLight>(4, "GLLight", "GLObject"),
    Concrete<GLCamera>(5, "GLCamera", "GLObject"),
    Abstract<GLEntity>(6, "GLEntity", "GLObject"),
    Concrete<GLLine>(7, "GLLine", "GLEntity"),
    Concrete<GLFace>(8, "GLFace", "GLEntity"),
    Concrete<GLFace4>(9, "GLFace4", "GLEntity"),
    Concrete<GLCircle>(10, "GLCircle", "GLEntity"),
    Abstract<GLViewport>(11, "GLViewport", "GLObject"),
    Concrete<GLViewportWin>(12, "GLViewportWin", "GLViewport"),
    Concrete<GLMatLib>(13, "GLMatLib", "GLObject"),
    Concrete<GLMaterial>(14, "GLMaterial", "GLObject"),
    Concrete<GLTexture>(15, "GLTexture", "GLObject"),
    Concrete<GLOmniLight>(16, "GLOmniLight", "GLLight"),
    Concrete<GLDirectionLight>(17, "GLDirectionLight", "GLOmniLight"),
    Concrete<GLShell>(18, "GLShell", "GLEntity"),
    Concrete<GLPolygonArray>(19, "GLPolygonArray", "GLShell"),
    Concrete<GLMesh>(20, "GLMesh", "GLEntity"),
    Concrete<GLTeaPot>(21, "GLTeaPot", "GLEntity"),
    Concrete<GLName>(22, "GLName", "GLEntity"),
    Concrete<GLSelectPoint>(23, "GLSelectPoint", "GLEntity"),
    Concrete<GLArrow>(24, "GLArrow", "GLEntity"),
    Concrete<GLArc>(25, "GLArc", "GLEntity"),
    Concrete<GLEllipse>(26, "GLEllipse", "GLEntity"),
    Concrete<GLPolygon>(27, "GLPolygon", "GLEntity"),
    Concrete<GLTextStyle>(28, "GLTextStyle", "GLObject"),
    Concrete<GLText>(29, "GLText", "GLEntity"),
    Concrete<GLPushMatrix>(30, "GLPushMatrix", "GLEntity"),
    Concrete<GLPopMatrix>(31, "GLPopMatrix", "GLEntity"),
};

constexpr bool InOrder() {
  for (size_t i = 1; i < std::size(kClasses); ++i)
    if (kClasses[i - 1].order >= kClasses[i].order) return false;
  return true;
}
static_assert(InOrder(), "class rows follow the registration order");
static_assert(std::size(kClasses) == 31 && kClasses[30].order == 31, "every class has its row");

void RegisterRow(const ClassRow& row) {
  if (!*row.record) *row.record = GLRegisterClass(row.name, row.base, "ObjectGL", row.factory);
}

}  // namespace

GLObjectInit::GLObjectInit() {
  try {
    for (const ClassRow& row : kClasses) RegisterRow(row);
    GLClassHierarchy::Library().BuildTree();
  } catch (const GLException& e) {
    e.Show(nullptr, 48);
  } catch (...) {
    MessageBoxA(nullptr, "Exception in ObjectGL inicialization !", nullptr, 48);
  }
}

// The records go with the registry right after: nothing may reach them.
GLObjectInit::~GLObjectInit() {
  for (const ClassRow& row : kClasses) *row.record = nullptr;
}

// The registry is built before the object that fills it (one translation
// unit keeps the order).
namespace {
GLClassHierarchy g_classHierarchy;
GLObjectInit g_objectInit;
}  // namespace

GLClassHierarchy& GLClassHierarchy::Library() { return g_classHierarchy; }

// Linkers keep a static library's member only when something refers to it;
// every program and library linking the scene library refers to this.
extern "C" __attribute__((used)) const int jov_objectgl_class_registry = 1;
