// The root of the scene library's objects and their run-time class records.
// Every class has a record (GLClass) in the library's registry, linked into
// a tree by base-class name; type tests and down-casts walk that tree.
#pragma once

#include <cstdint>
#include <string>

class GLClass;
class GLOstream;
class GLIstream;

// Gives a class its record: the static the registry fills and the GetClass
// that returns it.
#define GL_DECLARE_CLASS()   \
 public:                     \
  static GLClass* classRecord; \
  GLClass* GetClass() const override { return classRecord; }

class GLObject {
 public:
  static constexpr uint32_t kInactive = 1;

  GLObject() = default;
  GLObject(const GLObject&) = default;
  GLObject& operator=(const GLObject&) = default;
  virtual ~GLObject() = default;

  static GLClass* classRecord;
  virtual GLClass* GetClass() const { return classRecord; }
  virtual GLObject* SetOwner(GLObject* owner) { return owner_ = owner; }
  virtual void OnInactiveChanged(bool /*inactive*/) {}

  GLObject* GetOwner() const { return owner_; }
  void SetInactive(bool on);
  bool IsInactive() const { return (flags_ & kInactive) != 0; }
  uint32_t GetFlags() const { return flags_; }

 protected:
  GLObject* owner_ = nullptr;
  uint32_t flags_ = 0;
};

using GLFactory = GLObject* (*)();

template <class T>
GLObject* GLCreate() {
  return new T;
}

class GLClass : public GLObject {
  GL_DECLARE_CLASS()

 public:
  // What its own factory creates: every field empty.
  GLClass() = default;
  GLClass(const char* name, const char* baseName, const char* libraryName, GLFactory factory);

  virtual bool Write(GLOstream&) const { return false; }
  virtual bool Read(GLIstream&) { return false; }
  // A new object of the class; null for an abstract class.
  virtual GLObject* CreateObject() const { return factory_ ? factory_() : nullptr; }
  virtual const char* GetLibraryName() const { return hasLibrary_ ? library_.c_str() : nullptr; }
  virtual const char* GetName() const { return hasName_ ? name_.c_str() : nullptr; }
  // Null only for the root class.
  virtual const char* GetBaseName() const { return hasBase_ ? base_.c_str() : nullptr; }
  // By name: this class or one of its ancestors is named like `other`.
  virtual bool IsDerivedFrom(const GLClass* other) const;
  virtual bool IsAbstract() const { return factory_ == nullptr; }
  virtual GLClass* GetParent() const { return parent_; }
  virtual GLClass* GetNextSibling() const { return next_; }
  virtual GLClass* GetFirstChild() const { return child_; }

 private:
  friend class GLClassHierarchy;

  GLClass* next_ = nullptr;
  GLClass* child_ = nullptr;
  GLClass* parent_ = nullptr;
  std::string library_, name_, base_;
  bool hasLibrary_ = false, hasName_ = false, hasBase_ = false;
  GLFactory factory_ = nullptr;
};

// The object itself when its class is T or derives from it, else null.
template <class T>
T* GLDynamicCast(GLObject* object) {
  if (!object || !T::classRecord) return nullptr;
  const GLClass* c = object->GetClass();
  return c && c->IsDerivedFrom(T::classRecord) ? static_cast<T*>(object) : nullptr;
}

template <class T>
const T* GLDynamicCast(const GLObject* object) {
  return GLDynamicCast<T>(const_cast<GLObject*>(object));
}
