// One record of a Vantrix project list: the text fields of one room item
// and whether it has been placed in the drawing. A record with no fields
// serves as the head of a list of records, which owns them.
//
// Fields the system relies on: 0 item, 4/5/6 the L/V/S values, 10 room,
// 13 floor; 2, 3, 7, 8 and 9 must be non-empty for a record to count.
#pragma once

#include <cstdint>

#include "common/CSeznam.h"
#include "common/CTextData.h"
#include "platform/win32/code_page.h"

class CVantrixData : public CSeznam, public CTextData {
 public:
  explicit CVantrixData(uint32_t fieldCount = 0) : CTextData(fieldCount) {}
  ~CVantrixData() override = default;

  // The record after this one in its list, null after the last.
  CVantrixData* Next() const { return static_cast<CVantrixData*>(GetNext()); }
  // Called on the list head: the first record, null for an empty list.
  CVantrixData* First() const { return static_cast<CVantrixData*>(GetHead()); }

  // A field's text with an unset or missing field as "".
  const char* Text(uint32_t index) const {
    const char* text = GetField(index);
    return text ? text : "";
  }
  // A field equals text without regard to case (code page 1250); unset
  // fields and a null text count as "".
  bool FieldEquals(uint32_t index, const char* text) const {
    return EqualsIgnoreCase(Text(index), text ? text : "");
  }

  // Non-zero once the item has been placed; kept as read from the file.
  uint8_t marked = 0;

  // Fields of a record made from a "cad" line.
  static constexpr uint32_t kFieldCount = 18;
  static constexpr uint32_t kItem = 0;
  static constexpr uint32_t kRoom = 10;
  static constexpr uint32_t kFloor = 13;
};
