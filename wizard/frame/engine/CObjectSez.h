// The plain list head of one product's parameters, definition points or
// lines (and of a dialog's type and name records). It owns its records.
#pragma once

#include "common/CSeznam.h"

class CObjectSez : public CSeznam {
 public:
  CObjectSez() = default;
  ~CObjectSez() override;
};

// Typed walks over a list whose elements are all of one record class.
template <typename T>
T* FirstOf(const CSeznam& list) {
  return static_cast<T*>(list.GetHead());
}
template <typename T>
T* NextOf(const T* element) {
  return static_cast<T*>(element->GetNext());
}
