// A short text a network record copies out of its extended data (a branch
// name, a riser or association number, a handle). Such texts are a few
// characters long and read by the hundred thousand: up to kInline bytes
// live inside the record, so that reading and letting go of a network
// costs no heap block for them; longer ones go to the heap. Reads as a
// const char* and compares by content, as the framework's text does.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/mfc/CString.h"

class RecordText {
 public:
  static constexpr int kInline = 15;

  RecordText() noexcept { SetInlineLength(0); }
  RecordText(const char* text);  // null is the empty text
  RecordText(const CString& text);
  RecordText(const RecordText& other);
  RecordText(RecordText&& other) noexcept;
  ~RecordText();

  RecordText& operator=(const RecordText& other);
  RecordText& operator=(RecordText&& other) noexcept;
  RecordText& operator=(const char* text);
  RecordText& operator=(const CString& text);

  const char* GetString() const { return OnHeap() ? HeapText() : bytes_; }
  operator const char*() const { return GetString(); }
  // A framework text of it, for what takes one.
  CString ToCString() const { return CString(GetString(), GetLength()); }
  int GetLength() const {
    if (!OnHeap()) return kInline - bytes_[kInline];
    int32_t length;
    std::memcpy(&length, bytes_ + sizeof(char*), sizeof length);
    return length;
  }
  bool IsEmpty() const { return GetLength() == 0; }
  void Empty();
  // As the framework's text: an index from 0 below the length, else
  // std::out_of_range.
  void SetAt(int index, char ch);

 private:
  // Takes length bytes of text (which may lie in this text) and a NUL;
  // throws std::bad_alloc when the heap has no room, leaving the old text.
  void Assign(const char* text, int length);

  // Sixteen bytes either way. Inline: the text, its NUL, and in the last
  // byte kInline minus the length (the NUL itself for a text of kInline).
  // On the heap: the pointer, the length, and kOnHeap in the last byte.
  static constexpr unsigned char kOnHeap = 0xFF;
  bool OnHeap() const { return static_cast<unsigned char>(bytes_[kInline]) == kOnHeap; }
  char* HeapText() const {
    char* text;
    std::memcpy(&text, bytes_, sizeof text);
    return text;
  }
  void SetInlineLength(int length) {
    bytes_[length] = '\0';
    bytes_[kInline] = static_cast<char>(kInline - length);
  }
  void SetHeap(char* text, int length);

  alignas(8) char bytes_[kInline + 1];
};

bool operator==(const RecordText& a, const RecordText& b);
bool operator==(const RecordText& a, const char* b);
bool operator==(const RecordText& a, const CString& b);
