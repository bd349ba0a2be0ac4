// One section of the exchange with the calculation programs: a numbered
// pipe segment seen as two lines, the supply pipe's ('P') and its
// partner's, with what the export writes and what the import reads back.
#pragma once

#include <cstdint>

#include "common/CSeznam.h"
#include "jov_vantrix/network/RecordText.h"
#include "platform/mfc/CString.h"
#include "platform/mfc/CStringArray.h"

class CSecDataNew : public CSeznam {
 public:
  static constexpr int kValues = 15;

  explicit CSecDataNew(int32_t number = 0) : m_number(number) {}
  ~CSecDataNew() override = default;

  // Makes both result value lists kValues empty values long, as a section
  // read from a file has them (an export's sections carry none).
  void SizeValues();

  CSecDataNew* GetNextSection() const { return static_cast<CSecDataNew*>(GetNext()); }

  int32_t m_number;        // the segment number of the supply pipe
  int32_t m_connect = 0;   // the section this one connects to
  // Short texts, held inside the section: an export makes one section a
  // pipe pair.
  RecordText m_branchName;       // "_NBRANCH" of the supply pipe
  RecordText m_connectedBranch;  // "V" + a branch joining here, or empty
  RecordText m_neighbour;        // "CM" of the pipe, or the neighbouring riser pipe's branch
  RecordText m_CT;
  RecordText m_productFields[4];  // fields 8-11 of the product's "_VANTRIX" record
  RecordText m_pName{"0"};
  RecordText m_zName{"0"};
  RecordText m_pLength{"0.0"};  // metres, "%.2f"
  RecordText m_zLength{"0.0"};
  CStringArray m_pValues;  // result values 0-14 of the 'P' line
  CStringArray m_zValues;  // of the other line
};
