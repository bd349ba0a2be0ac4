#include "jov_vantrix/network/RecordText.h"

#include <climits>
#include <cstdlib>
#include <cstring>
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

RecordText::RecordText(const RecordText& other) : RecordText() { Assign(other.GetString(), other.length_); }

RecordText::RecordText(RecordText&& other) noexcept : RecordText() { *this = static_cast<RecordText&&>(other); }

RecordText::~RecordText() {
  if (onHeap_) std::free(heap_);
}

RecordText& RecordText::operator=(const RecordText& other) {
  if (this != &other) Assign(other.GetString(), other.length_);
  return *this;
}

RecordText& RecordText::operator=(RecordText&& other) noexcept {
  if (this == &other) return *this;
  Empty();
  if (other.onHeap_) {
    heap_ = other.heap_;
    onHeap_ = true;
  } else {
    std::memcpy(inline_, other.inline_, sizeof inline_);
  }
  length_ = other.length_;
  other.onHeap_ = false;
  other.inline_[0] = '\0';
  other.length_ = 0;
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
  if (onHeap_) std::free(heap_);
  onHeap_ = false;
  inline_[0] = '\0';
  length_ = 0;
}

void RecordText::Assign(const char* text, int length) {
  if (!text) text = "";
  char* old = onHeap_ ? heap_ : nullptr;
  if (length <= kInline) {
    // text may lie in the old heap block (freed only after) or inline.
    std::memmove(inline_, text, static_cast<size_t>(length));
    inline_[length] = '\0';
    onHeap_ = false;
  } else {
    auto* copy = static_cast<char*>(std::malloc(static_cast<size_t>(length) + 1));
    if (!copy) throw std::bad_alloc();
    std::memcpy(copy, text, static_cast<size_t>(length));
    copy[length] = '\0';
    heap_ = copy;
    onHeap_ = true;
  }
  length_ = length;
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
