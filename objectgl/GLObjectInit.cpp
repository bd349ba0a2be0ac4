// The library's class table and its registration when the library loads.
// Rows follow the registration order; classes built later take their rows
// at their place in the order.
#include <cstddef>

#include "objectgl/GLCamera.h"
#include "objectgl/GLClassHierarchy.h"
#include "objectgl/GLEntity.h"
#include "objectgl/GLException.h"
#include "objectgl/GLLight.h"
#include "objectgl/GLMaterial.h"
#include "objectgl/GLScene.h"
#include "objectgl/GLViewport.h"
#include "platform/win32/ui_services.h"

GLClass* GLObject::classRecord = nullptr;
GLClass* GLClass::classRecord = nullptr;
GLClass* GLScene::classRecord = nullptr;
GLClass* GLLight::classRecord = nullptr;
GLClass* GLCamera::classRecord = nullptr;
GLClass* GLEntity::classRecord = nullptr;
GLClass* GLViewport::classRecord = nullptr;
GLClass* GLViewportWin::classRecord = nullptr;
GLClass* GLMatLib::classRecord = nullptr;
GLClass* GLMaterial::classRecord = nullptr;
GLClass* GLTexture::classRecord = nullptr;
GLClass* GLOmniLight::classRecord = nullptr;
GLClass* GLDirectionLight::classRecord = nullptr;
GLClass* GLName::classRecord = nullptr;
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
    Abstract<GLViewport>(11, "GLViewport", "GLObject"),
    Concrete<GLViewportWin>(12, "GLViewportWin", "GLViewport"),
    Concrete<GLMatLib>(13, "GLMatLib", "GLObject"),
    Concrete<GLMaterial>(14, "GLMaterial", "GLObject"),
    Concrete<GLTexture>(15, "GLTexture", "GLObject"),
    Concrete<GLOmniLight>(16, "GLOmniLight", "GLLight"),
    Concrete<GLDirectionLight>(17, "GLDirectionLight", "GLOmniLight"),
    Concrete<GLName>(22, "GLName", "GLEntity"),
    Concrete<GLPushMatrix>(30, "GLPushMatrix", "GLEntity"),
    Concrete<GLPopMatrix>(31, "GLPopMatrix", "GLEntity"),
};

constexpr bool InOrder() {
  for (size_t i = 1; i < std::size(kClasses); ++i)
    if (kClasses[i - 1].order >= kClasses[i].order) return false;
  return true;
}
static_assert(InOrder(), "class rows follow the registration order");

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
