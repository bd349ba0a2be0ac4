#include "objectgl/GLClassHierarchy.h"

#include <cstring>

#include "objectgl/GLException.h"

GLClassHierarchy::~GLClassHierarchy() { classes_.DeleteAll(); }

GLClass* GLClassHierarchy::Register(const char* name, const char* baseName, const char* libraryName,
                                    GLFactory factory) {
  auto* record = new GLClass(name, baseName, libraryName, factory);
  try {
    classes_.Add(record);
  } catch (...) {
    delete record;
    throw;
  }
  return record;
}

GLClass* GLClassHierarchy::GetAt(uint32_t index) { return static_cast<GLClass*>(classes_.GetAt(index)); }

GLClass* GLClassHierarchy::GetRoot() {
  if (GetCount() < 2) return nullptr;
  for (uint32_t i = 0; i < GetCount(); ++i)
    if (!GetAt(i)->GetBaseName()) return GetAt(i);
  return nullptr;
}

void GLClassHierarchy::BuildTree() {
  if (GLClass* root = GetRoot()) LinkChildren(root);
}

void GLClassHierarchy::LinkChildren(GLClass* parent) {
  GLObjectArray children;
  for (uint32_t i = 0; i < GetCount(); ++i) {
    GLClass* c = GetAt(i);
    // A record already placed stays where it is (a class naming itself as
    // its base would otherwise be linked without end).
    if (c->GetBaseName() && !c->parent_ && std::strcmp(c->GetBaseName(), parent->GetName()) == 0)
      children.Add(c);
  }
  if (children.GetCount() == 0) return;
  for (uint32_t i = 0; i < children.GetCount(); ++i) {
    auto* c = static_cast<GLClass*>(children.GetAt(i));
    c->parent_ = parent;
    c->next_ = static_cast<GLClass*>(children.GetAt(i + 1));  // null after the last
  }
  parent->child_ = static_cast<GLClass*>(children.GetAt(0));
  for (uint32_t i = 0; i < children.GetCount(); ++i) LinkChildren(static_cast<GLClass*>(children.GetAt(i)));
}

GLClass* GLRegisterClass(const char* name, const char* baseName, const char* libraryName, GLFactory factory) {
  try {
    return GLClassHierarchy::Library().Register(name, baseName, libraryName, factory);
  } catch (const GLException& e) {
    e.Show(nullptr, 48);
    return nullptr;
  }
}
