#include "objectgl/GLObject.h"

#include <cstring>
#include <string_view>

#include "objectgl/GLException.h"

void GLObject::SetInactive(bool on) {
  if (on)
    flags_ |= kInactive;
  else
    flags_ &= ~kInactive;
  OnInactiveChanged(on);
}

GLClass::GLClass(const char* name, const char* baseName, const char* libraryName, GLFactory factory)
    : factory_(factory) {
  if (!name || (!baseName && std::strcmp(name, "GLObject") != 0))
    throw GLException(GL_ERROR_CLASS_REGISTRATION);
  name_ = name;
  hasName_ = true;
  if (baseName) {
    base_ = baseName;
    hasBase_ = true;
  }
  if (libraryName) {
    library_ = libraryName;
    hasLibrary_ = true;
  }
}

bool GLClass::IsDerivedFrom(const GLClass* other) const {
  if (!other || !other->GetName() || !hasName_) return false;
  // Casts run per entity per pass: the record itself is the usual answer,
  // and a name is measured once for the walk up.
  const std::string_view wanted = other->GetName();
  for (const GLClass* c = this; c; c = c->parent_)
    if (c->hasName_ && (c == other || c->name_ == wanted)) return true;
  return false;
}
