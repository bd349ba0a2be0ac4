// The framework's growable array of values. Indexes are checked: reading or
// setting outside 0..GetUpperBound(), a negative size or a bad removal range
// throws std::out_of_range (the framework's invalid-argument error).
// InsertAt and SetAtGrow grow the array as needed; new elements are
// value-initialised (empty texts, null pointers, zeros).
#pragma once

#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/mfc/CObject.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  CArray() = default;

  INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  bool IsEmpty() const { return m_data.empty(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }

  // growBy -1 keeps the current step; the step only shapes allocation.
  void SetSize(INT_PTR newSize, INT_PTR growBy = -1) {
    if (newSize < 0) throw std::out_of_range("CArray size");
    if (growBy >= 0) m_nGrowBy = growBy;
    m_data.resize(static_cast<size_t>(newSize));
  }
  void FreeExtra() { m_data.shrink_to_fit(); }
  void RemoveAll() { m_data.clear(); }

  const TYPE& GetAt(INT_PTR index) const { return m_data[Checked(index)]; }
  TYPE& GetAt(INT_PTR index) { return m_data[Checked(index)]; }
  void SetAt(INT_PTR index, ARG_TYPE element) { m_data[Checked(index)] = element; }
  const TYPE& ElementAt(INT_PTR index) const { return m_data[Checked(index)]; }
  TYPE& ElementAt(INT_PTR index) { return m_data[Checked(index)]; }
  const TYPE& operator[](INT_PTR index) const { return GetAt(index); }
  TYPE& operator[](INT_PTR index) { return ElementAt(index); }

  const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
  TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }

  // The element may be one of this array's own: it is copied before the
  // array grows.
  void SetAtGrow(INT_PTR index, ARG_TYPE element) {
    if (index < 0) throw std::out_of_range("CArray index");
    TYPE copy(element);
    if (index >= GetSize()) m_data.resize(static_cast<size_t>(index) + 1);
    m_data[static_cast<size_t>(index)] = std::move(copy);
  }
  INT_PTR Add(ARG_TYPE element) {
    TYPE copy(element);
    m_data.push_back(std::move(copy));
    return GetUpperBound();
  }
  // Index of the first element appended.
  INT_PTR Append(const CArray& source) {
    const INT_PTR first = GetSize();
    if (&source == this) {
      std::vector<TYPE> copy(m_data);
      m_data.insert(m_data.end(), copy.begin(), copy.end());
    } else {
      m_data.insert(m_data.end(), source.m_data.begin(), source.m_data.end());
    }
    return first;
  }
  void Copy(const CArray& source) {
    if (&source != this) m_data = source.m_data;
  }

  // An index at or beyond the size appends after empty elements up to it.
  void InsertAt(INT_PTR index, ARG_TYPE element, INT_PTR count = 1) {
    if (index < 0 || count < 0) throw std::out_of_range("CArray insertion");
    if (count == 0) return;
    TYPE copy(element);
    if (index > GetSize()) m_data.resize(static_cast<size_t>(index));
    m_data.insert(m_data.begin() + index, static_cast<size_t>(count), copy);
  }
  void InsertAt(INT_PTR index, const CArray* source) {
    if (!source || index < 0) throw std::out_of_range("CArray insertion");
    if (source->IsEmpty()) return;
    std::vector<TYPE> copy(source->m_data);
    if (index > GetSize()) m_data.resize(static_cast<size_t>(index));
    m_data.insert(m_data.begin() + index, copy.begin(), copy.end());
  }
  void RemoveAt(INT_PTR index, INT_PTR count = 1) {
    if (index < 0 || count < 0 || count > GetSize() - index)
      throw std::out_of_range("CArray removal");
    m_data.erase(m_data.begin() + index, m_data.begin() + index + count);
  }

 protected:
  size_t Checked(INT_PTR index) const {
    if (index < 0 || index >= GetSize()) throw std::out_of_range("CArray index");
    return static_cast<size_t>(index);
  }

  std::vector<TYPE> m_data;
  INT_PTR m_nGrowBy = 0;
};
