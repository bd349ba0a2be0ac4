// A fixed number of owned single-byte (code page 1250) text fields, each
// set or unset (null), with a length-prefixed binary form:
//   u32 n, then per field u32 L (strlen + 1, 0 for an unset field) and the
//   L bytes including the NUL; all integers little-endian.
//
// Most objects are key/value properties of an entity's extended data, read
// by the ten thousand: up to two fields keep their slots, and texts that
// still fit, inside the object, so such a property is one allocation. A
// field's text stays where it is until that field is set again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>

class CTextData {
 public:
  explicit CTextData(uint32_t n = 0);
  virtual ~CTextData();

  CTextData(const CTextData&) = delete;
  CTextData& operator=(const CTextData&) = delete;

  // Stores a copy of text (null leaves the field unset) in place of the old
  // one; text may be any field's own. False for an index out of range, and
  // for a failed copy, which leaves the field unset.
  bool SetField(uint32_t index, const char* text);
  // Null for an unset field or an index out of range.
  const char* GetField(uint32_t index) const;
  // Drops every text and makes n unset fields.
  void Resize(uint32_t n);
  uint32_t GetCount() const { return fieldCount; }

  // Writes the binary form; false when the stream failed.
  bool Write(std::ostream& out) const;
  // Replaces the content by the binary form read; a field stored with L = 0
  // comes back as "" (so no field is unset after a read). Counts and
  // lengths are checked against what the stream still holds: a short or
  // corrupt input sets failbit, returns false and leaves the object as it
  // was.
  bool Read(std::istream& in);

 private:
  static constexpr uint32_t kInlineFields = 2;
  static constexpr uint32_t kInlineBytes = 32;

  // A copy of text: in the inline bytes while they have room, else on the heap.
  char* CopyText(const char* text);
  void ReleaseText(char* text);
  bool HoldsInline(const char* text) const;
  void FreeTexts();
  // Takes other's fields over, leaving it empty.
  void TakeFrom(CTextData& other);

  uint32_t fieldCount = 0;
  uint32_t inlineUsed_ = 0;  // bytes of inlineBytes_ taken; given back only all at once
  char** texts = nullptr;    // fieldCount entries (inlineSlots_ for two or fewer), null for none
  char* inlineSlots_[kInlineFields] = {};
  char inlineBytes_[kInlineBytes];
};
