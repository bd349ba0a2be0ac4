// Root of the framework's object classes: run-time class information and
// the five object operations every framework class carries.
#pragma once

#include "platform/win32/win32_types.h"

class CObject;
class CArchive;      // persistence is not used by the system
class CDumpContext;  // diagnostics are not used by the system

struct CRuntimeClass {
  const char* m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;
  CObject* (*m_pfnCreateObject)();  // null unless the class is creatable by name
  CRuntimeClass* m_pBaseClass;

  // Null when the class cannot be created at run time.
  CObject* CreateObject() const;
  BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
 public:
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = default;
  virtual void Serialize(CArchive&) {}
  virtual void AssertValid() const {}
  virtual void Dump(CDumpContext&) const {}

  BOOL IsKindOf(const CRuntimeClass* type) const;

  static CRuntimeClass classCObject;

 protected:
  CObject() = default;

 public:
  // Framework objects are not copied implicitly (arrays use Copy).
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)          \
 public:                                     \
  static CRuntimeClass class##class_name;    \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define JOV_IMPLEMENT_RUNTIMECLASS(class_name, base_name, create)                       \
  CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name), 0xFFFF, \
                                                 create, RUNTIME_CLASS(base_name)};      \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_name) \
  JOV_IMPLEMENT_RUNTIMECLASS(class_name, base_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name)                      \
  CObject* class_name::CreateObject() { return new class_name; }         \
  JOV_IMPLEMENT_RUNTIMECLASS(class_name, base_name, class_name::CreateObject)
