// Property lists of the extended data. One class plays three parts by its
// field count: 0 = the head of a list of elements, 2 = one key/value
// property, 12 = the "_VANTRIX" exchange record, c = one row of a matrix.
//
// Output buffers: every operation that copies text out takes the buffer and
// its size in bytes. A text that does not fit is never truncated: the
// operation returns false and leaves the buffer as "" (when it has room for
// that). Elements whose key or value is unset are passed over by the key
// look-ups and written as "" into built chains.
//
// Both bases have a GetCount: call CSeznam::GetCount for the number of
// elements and CTextData::GetCount for the number of fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/CSeznam.h"
#include "common/CTextData.h"
#include "dataformat/resbuf.h"

// The product parameter lists: every property with a key shorter than
// three characters gives "#key" in names and its value in values, items
// joined by "/" ("#L/#DN" and "2000/50"). Properties with an unset key or
// value are passed over.
struct ProductParamLists {
  std::string names;
  std::string values;
  void Add(const char* key, const char* value);
};

class CJovPropData : public CSeznam, public CTextData {
 public:
  explicit CJovPropData(uint32_t n = 0) : CTextData(n) {}
  ~CJovPropData() override = default;

  // Called on the list head. The first element whose key equals key
  // (case-sensitive); its value is copied into out when out is not null
  // (with a null out only the key's presence is reported).
  bool GetValue(const char* key, char* out, size_t outSize) const;
  // False when the key is missing or value is null.
  bool ReplaceValue(const char* key, const char* value);
  // Replaces the value of an existing key, else appends a new property at
  // the tail. False for a null key or a failed allocation.
  bool SetValue(const char* key, const char* value);
  // The product parameter lists of the properties (ProductParamLists),
  // copied out.
  bool BuildParamLists(char* names, size_t namesSize, char* values, size_t valuesSize) const;

  // Field index of the first element (the "_VANTRIX" record); false when
  // the list is empty, the field is unset or out of range.
  bool GetRecordField(uint32_t index, char* out, size_t outSize) const;
  // Makes the 12-field record (all "") when the list is empty, then sets
  // the field; a null text only makes the record.
  bool SetRecordField(uint32_t index, const char* text);
  // Replaces the list by the "_VANTRIX" record found in chain: the 1070
  // node after the 1001 "_VANTRIX" node gives the field count c, the 1000
  // nodes after it fill fields 0 .. c-1, fields c .. 11 become "".
  void ReadVantrixRecord(const resbuf* chain);

  // New chains, owned by the caller (FreeGroupCodeChain); null for an empty
  // list or a failed allocation.
  resbuf* BuildKeyValueChain() const;                   // 1000 key, 1000 value ...
  resbuf* BuildMatrixChain(const char* typeCode) const;  // 1000 typeCode [cells]
  resbuf* BuildRecordChain() const;                     // 1070 c, 1000 fields ...

  static constexpr uint32_t kVantrixFields = 12;

 private:
  CJovPropData* FirstElement() const { return static_cast<CJovPropData*>(GetHead()); }
  static CJovPropData* NextElement(const CJovPropData* element) {
    return static_cast<CJovPropData*>(element->GetNext());
  }
  CJovPropData* FindKey(const char* key) const;
};
