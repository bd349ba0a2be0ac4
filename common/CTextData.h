// A fixed number of owned single-byte (code page 1250) text fields, each
// set or unset (null), with a length-prefixed binary form:
//   u32 n, then per field u32 L (strlen + 1, 0 for an unset field) and the
//   L bytes including the NUL; all integers little-endian.
//
// Most objects are key/value properties of an entity's extended data, read
// by the ten thousand: up to two fields keep their slots, and texts that
// still fit, inside the object, so such a property is one allocation; an
// object read keeps interned texts instead (see KeepTextsInterned). A
// field's text stays where it is until that field is set again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>

class CTextData {
 public:
  explicit CTextData(uint32_t n = 0);
  // Not virtual: nothing is deleted through this base, and the lists that
  // derive from it are made by the hundred thousand.
  ~CTextData();

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

  // From now on every text this object holds, those it holds already too,
  // is an interned copy (see InternedTexts), let go with the store rather
  // than one by one: for objects read by the hundred thousand, mostly
  // alike, and let go together. False, with the object unchanged, when a
  // copy could not be made.
  bool KeepTextsInterned();

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
  static constexpr uint32_t kInlineBytes = 8;

  // The field slots: inside the object for two or fewer fields.
  char** Texts() { return fieldCount <= kInlineFields ? inlineSlots_ : texts; }
  char* const* Texts() const { return fieldCount <= kInlineFields ? inlineSlots_ : texts; }
  // A copy of text: interned, in the inline bytes while they have room, or
  // on the heap.
  char* CopyText(const char* text);
  void ReleaseText(char* text);
  bool HoldsInline(const char* text) const;
  void FreeTexts();
  // Takes other's fields over, leaving it empty; both keep the same kind
  // of texts.
  void TakeFrom(CTextData& other);

  uint32_t fieldCount = 0;
  uint8_t inlineUsed_ = 0;  // bytes of inlineBytes_ taken; given back only all at once
  bool interned_ = false;
  union {
    char** texts;                            // more than two fields: fieldCount entries, null for none
    char* inlineSlots_[kInlineFields] = {};  // two or fewer
  };
  char inlineBytes_[kInlineBytes];
};
