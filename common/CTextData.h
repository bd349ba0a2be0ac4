// A fixed number of owned single-byte (code page 1250) text fields, each
// set or unset (null), with a length-prefixed binary form:
//   u32 n, then per field u32 L (strlen + 1, 0 for an unset field) and the
//   L bytes including the NUL; all integers little-endian.
#pragma once

#include <cstdint>
#include <iosfwd>

class CTextData {
 public:
  explicit CTextData(uint32_t n = 0);
  virtual ~CTextData();

  CTextData(const CTextData&) = delete;
  CTextData& operator=(const CTextData&) = delete;

  // Frees the field's old text, then stores a copy of text (null leaves the
  // field unset). False for an index out of range or a failed copy.
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

 protected:
  uint32_t fieldCount = 0;
  char** texts = nullptr;  // fieldCount entries, null when fieldCount is 0

 private:
  void FreeTexts();
};
