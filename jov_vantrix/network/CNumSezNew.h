// An association group: the records of the network that share one
// "_NUM_ASSOC" value. The group owns the records filed into it, and each of
// them points back to it.
#pragma once

#include <cstdint>

#include "jov_vantrix/network/RecordList.h"
#include "platform/mfc/CString.h"

class CObjDataNew;

class CNumSezNew : public RecordList {
 public:
  explicit CNumSezNew(uint32_t number) : m_number(number) {}
  ~CNumSezNew() override = default;

  // Takes the record (which must be in no list), points it back here and
  // counts it when it is a supply pipe (object type 5).
  void AddRecord(CObjDataNew* record);

  CObjDataNew* GetFirstRecord() const;
  CNumSezNew* GetNextGroup() const { return static_cast<CNumSezNew*>(GetNext()); }
  // A group with either flag is fixed: it is never numbered from the preview.
  bool IsFixed() const { return m_flagA || m_flagB; }

  CString m_name;  // the "_NUM_ASSOC" value
  uint8_t m_flagA = 0;  // holds a pipe linked at neither end
  uint8_t m_flagB = 0;  // holds several riser pipes or a pipe linked at both ends
  uint32_t m_pipeCount = 0;  // records of object type 5: the numbers the group takes
  uint32_t m_secondCount = 0;
  uint8_t m_nextLink = 0;
  uint8_t m_previousLink = 0;
  uint8_t m_changed = 0;  // its numbers differ from those read
  int32_t m_class = 0;
  uint32_t m_number;  // 1..n in order of first appearance
  CObjDataNew* m_pNextRecord = nullptr;
  CObjDataNew* m_pPreviousRecord = nullptr;
};
