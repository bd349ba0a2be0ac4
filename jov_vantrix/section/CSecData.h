// One section of the older section list: a numbered stretch of a branch,
// either the branch's own head or the stretch that leads into one of its
// child branches, with the id of the section it continues.
#pragma once

#include <cstdint>

#include "common/CSeznam.h"
#include "platform/mfc/CString.h"

class CSecData : public CSeznam {
 public:
  CSecData(int32_t id, const char* branchName);
  ~CSecData() override = default;

  CSecData* GetNextSection() const { return static_cast<CSecData*>(GetNext()); }

  // "id;next;child;0;0;": the section's part of a "_NUM_SECTION" value.
  void Format(CString& out) const;

  int32_t m_id;
  // The section that follows along the branch, or the one it hangs from.
  int32_t m_nextId = 0;
  CString m_branchName;
  CString m_childName;  // empty for a branch's head section
  CString m_CM;
  CString m_CT;
  CString m_vantrixFields[4];  // fields 8-11 of the branch's "_VANTRIX" record
  CString m_value1{"0"};
  CString m_value2{"0"};
};
