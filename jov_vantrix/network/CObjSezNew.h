// The working record list of one command: the records read from the drawing
// followed by those the system built (the list owns them), the scheme of
// association groups, and the arrays the readers and generators file
// records in (the arrays only point).
#pragma once

#include <cstdint>

#include "common/GLVector.h"
#include "jov_vantrix/network/CSchSezNew.h"
#include "jov_vantrix/network/NewSegmentLabels.h"
#include "jov_vantrix/network/RecordList.h"
#include "platform/mfc/CPtrArray.h"
#include "platform/mfc/CString.h"
#include "platform/mfc/CStringArray.h"

class CObjDataNew;
namespace jovDatabase {
class Database;
}

class CObjSezNew : public RecordList {
 public:
  CObjSezNew() = default;
  ~CObjSezNew() override = default;

  CObjDataNew* GetFirstRecord() const;

  CString m_marker1{"0"};
  CString m_marker2{"1"};
  uint32_t m_readCount = 0;  // the first that many records were read from the drawing
  uint32_t m_secondCount = 0;
  // "0" keeps new records where they were built; for a section, the number
  // of the picked riser ("0": a branch start was picked).
  CString m_shiftMarker;
  GLVector m_displacement;   // added to new records' points when written
  CObjDataNew* m_pStartPipe = nullptr;
  void* m_pFurther1 = nullptr;
  void* m_pFurther2 = nullptr;
  CStringArray m_texts;
  // The numbered sequences (CObjDataNew*) of a generated section's pipe
  // pieces: the whole section's and the run being drawn, supply and return.
  CPtrArray m_sectionSupply;
  CPtrArray m_sectionReturn;
  CPtrArray m_runSupply;
  CPtrArray m_runReturn;
  jovDatabase::Database* m_pDatabase = nullptr;  // the catalogue of the list's trade
  CString m_tradesWithoutCatalogue;  // trade letters the host gave no catalogue for
  CSchSezNew m_scheme;
  CPtrArray m_unassociatedRecords;
  CPtrArray m_allRecords;  // every record a reader created
  CPtrArray m_class1Groups;
  CPtrArray m_class2Groups;
  CPtrArray m_markerCircles;
  uint32_t m_finalCounter = 0;
  // Owns the records a reader made that no group and not the list itself
  // holds (the arrays above only point to them).
  RecordList m_heldRecords;
  // The segment labels a renewal added, written after the list's records.
  NewSegmentLabels m_newLabels;
};
