// A short text a network record copies out of its extended data (a branch
// name, a riser or association number, a handle). Such texts are a few
// characters long and read by the hundred thousand: up to kInline bytes
// live inside the record, so that reading and letting go of a network
// costs no heap block for them; longer ones go to the heap. Reads as a
// const char* and compares by content, as the framework's text does.
#pragma once

#include <cstdint>

#include "platform/mfc/CString.h"

class RecordText {
 public:
  static constexpr int kInline = 15;

  RecordText() noexcept { inline_[0] = '\0'; }
  RecordText(const char* text);  // null is the empty text
  RecordText(const CString& text);
  RecordText(const RecordText& other);
  RecordText(RecordText&& other) noexcept;
  ~RecordText();

  RecordText& operator=(const RecordText& other);
  RecordText& operator=(RecordText&& other) noexcept;
  RecordText& operator=(const char* text);
  RecordText& operator=(const CString& text);

  const char* GetString() const { return onHeap_ ? heap_ : inline_; }
  operator const char*() const { return GetString(); }
  // A framework text of it, for what takes one.
  CString ToCString() const { return CString(GetString(), length_); }
  int GetLength() const { return length_; }
  bool IsEmpty() const { return length_ == 0; }
  void Empty();

 private:
  // Takes length bytes of text (which may lie in this text) and a NUL;
  // throws std::bad_alloc when the heap has no room, leaving the old text.
  void Assign(const char* text, int length);

  union {
    char inline_[kInline + 1];
    char* heap_;
  };
  int32_t length_ = 0;
  bool onHeap_ = false;
};

bool operator==(const RecordText& a, const RecordText& b);
bool operator==(const RecordText& a, const char* b);
bool operator==(const RecordText& a, const CString& b);
