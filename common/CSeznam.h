// The one list type of the record model: every record is at the same time an
// element of its owner's list and the head of its own list of children.
// The links live inside the records, so a list never allocates; a list owns
// its elements and deletes them through the virtual destructor.
#pragma once

#include <cstdint>

class CSeznam {
 public:
  // Comparator in the manner of qsort; receives two pointers to element
  // pointers (CSeznam**).
  using CompareFunc = int (*)(const void*, const void*);

  CSeznam() = default;
  // Derived records override only this slot and add their fields behind ours.
  virtual ~CSeznam();

  // Links are identity: copying an element or a list would alias children.
  CSeznam(const CSeznam&) = delete;
  CSeznam& operator=(const CSeznam&) = delete;

  // Deletes every child (and, through their destructors, their subtrees);
  // the list stays usable.
  void RemoveAll();

  uint32_t GetCount() const { return count; }

  // Take ownership of a new element, which must be in no list. A null
  // element is refused (false) and changes nothing.
  bool AddTail(CSeznam* element);
  bool AddHead(CSeznam* element);

  CSeznam* GetHead() const { return head; }
  // Called on an element: the element after it in its owner's list.
  CSeznam* GetNext() const { return next; }

  // Unlinks an element of this list and deletes it; false for null.
  bool Delete(CSeznam* element);
  // The element at a zero-based index; null past the end.
  CSeznam* GetAt(int index) const;
  // Swap an element with its neighbour before / after it; nothing for null,
  // for the head (MoveUp) or the tail (MoveDown). Head and tail follow.
  void MoveUp(CSeznam* element);
  void MoveDown(CSeznam* element);

  // Reorders the children by the comparator, stably. Only the links change,
  // never the count, whatever the comparator answers.
  void Sort(CompareFunc compare);

 protected:
  CSeznam* head = nullptr;
  CSeznam* tail = nullptr;
  CSeznam* prev = nullptr;
  CSeznam* next = nullptr;
  uint32_t count = 0;
};
