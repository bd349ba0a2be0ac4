#include "jov_vantrix/network/RecordText.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <new>

namespace {

int LengthOf(const char* text) {
  const size_t length = text ? std::strlen(text) : 0;
  if (length > INT_MAX) throw std::bad_alloc();
  return static_cast<int>(length);
}

}  // namespace

RecordText::RecordText(const char* text) : RecordText() { Assign(text, LengthOf(text)); }

RecordText::RecordText(const CString& text) : RecordText() { Assign(text.GetString(), text.GetLength()); }

RecordText::RecordText(const RecordText& other) : RecordText() { Assign(other.GetString(), other.GetLength()); }

RecordText::RecordText(RecordText&& other) noexcept : RecordText() { *this = static_cast<RecordText&&>(other); }

RecordText::~RecordText() {
  if (OnHeap()) std::free(HeapText());
}

void RecordText::SetHeap(char* text, int length) {
  std::memcpy(bytes_, &text, sizeof text);
  const int32_t stored = length;
  std::memcpy(bytes_ + sizeof text, &stored, sizeof stored);
  bytes_[kInline] = static_cast<char>(kOnHeap);
}

RecordText& RecordText::operator=(const RecordText& other) {
  if (this != &other) Assign(other.GetString(), other.GetLength());
  return *this;
}

RecordText& RecordText::operator=(RecordText&& other) noexcept {
  if (this == &other) return *this;
  Empty();
  // Either form moves as its bytes.
  std::memcpy(bytes_, other.bytes_, sizeof bytes_);
  other.SetInlineLength(0);
  return *this;
}

RecordText& RecordText::operator=(const char* text) {
  Assign(text, LengthOf(text));
  return *this;
}

RecordText& RecordText::operator=(const CString& text) {
  Assign(text.GetString(), text.GetLength());
  return *this;
}

void RecordText::Empty() {
  if (OnHeap()) std::free(HeapText());
  SetInlineLength(0);
}

void RecordText::SetAt(int index, char ch) {
  if (index < 0 || index >= GetLength()) throw std::out_of_range("RecordText index");
  (OnHeap() ? HeapText() : bytes_)[index] = ch;
}

void RecordText::Assign(const char* text, int length) {
  if (!text) text = "";
  char* old = OnHeap() ? HeapText() : nullptr;
  if (length <= kInline) {
    // text may lie in the old heap block (freed only after) or inline.
    std::memmove(bytes_, text, static_cast<size_t>(length));
    SetInlineLength(length);
  } else {
    auto* copy = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1));
    if (!copy) throw std::bad_alloc();
    std::memcpy(copy, text, static_cast<size_t>(length));
    copy[length] = '\0';
    SetHeap(copy, length);
  }
  std::free(old);
}

bool operator==(const RecordText& a, const RecordText& b) {
  return a.GetLength() == b.GetLength() &&
         std::memcmp(a.GetString(), b.GetString(), static_cast<size_t>(a.GetLength())) == 0;
}

bool operator==(const RecordText& a, const char* b) { return std::strcmp(a.GetString(), b ? b : "") == 0; }

bool operator==(const RecordText& a, const CString& b) {
  return a.GetLength() == b.GetLength() &&
         std::memcmp(a.GetString(), b.GetString(), static_cast<size_t>(a.GetLength())) == 0;
}
