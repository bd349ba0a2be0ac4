// A list of sections of the exchange with the calculation programs. An
// export's list holds its CSecDataNew records, with the names of the
// branches they belong to; an import's root list holds one CSecSezNew per
// branch of the file, each holding that branch's records. The list owns
// its children.
#pragma once

#include <cstdint>

#include "common/CSeznam.h"
#include "platform/mfc/CString.h"
#include "platform/mfc/CStringList.h"

class CSecDataNew;

class CSecSezNew : public CSeznam {
 public:
  CSecSezNew() = default;
  ~CSecSezNew() override = default;

  CSecDataNew* GetFirstSection() const;
  CSecSezNew* GetFirstBranch() const { return static_cast<CSecSezNew*>(GetHead()); }
  CSecSezNew* GetNextBranch() const { return static_cast<CSecSezNew*>(GetNext()); }

  int32_t m_id = 0;
  CString m_name;
  CStringList m_branchNames{10};
};
