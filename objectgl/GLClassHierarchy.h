// The registry of class records: records in registration order, linked into
// a tree by base-class name once the library's classes are registered.
#pragma once

#include <cstdint>

#include "objectgl/GLObject.h"
#include "objectgl/GLObjectArray.h"

class GLClassHierarchy {
 public:
  GLClassHierarchy() = default;
  GLClassHierarchy(const GLClassHierarchy&) = delete;
  GLClassHierarchy& operator=(const GLClassHierarchy&) = delete;
  // Deletes every record.
  ~GLClassHierarchy();

  // The library's own registry.
  static GLClassHierarchy& Library();

  // Creates and appends a record; GLException 1004 for a null name or a
  // missing base name (other than the root's), 1002 without memory.
  GLClass* Register(const char* name, const char* baseName, const char* libraryName, GLFactory factory);
  // Links the records under the first one without a base name; nothing with
  // fewer than two records.
  void BuildTree();
  // Null with fewer than two records or without a record lacking a base.
  GLClass* GetRoot();

  uint32_t GetCount() const { return classes_.GetCount(); }
  GLClass* GetAt(uint32_t index);

 private:
  void LinkChildren(GLClass* parent);

  GLObjectArray classes_;
};

// Registers a class with the library's registry. A failure is shown in a
// message box (exclamation icon) and gives null.
GLClass* GLRegisterClass(const char* name, const char* baseName, const char* libraryName, GLFactory factory);

// Registers the library's classes when the library loads (a static object
// beside the registry).
class GLObjectInit {
 public:
  GLObjectInit();
  ~GLObjectInit();
};
