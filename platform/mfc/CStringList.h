// Doubly linked list of texts walked by POSITION. Reading the head or tail
// of an empty list, or removing from it, throws std::out_of_range; a null
// POSITION where an element is needed does too.
#pragma once

#include "platform/mfc/CObject.h"
#include "platform/mfc/CString.h"
#include "platform/mfc/Position.h"

class CStringList : public CObject {
  DECLARE_DYNAMIC(CStringList)

 public:
  // The block size only shaped the framework's allocation; it is kept for
  // the callers that pass it.
  explicit CStringList(INT_PTR blockSize = 10);
  ~CStringList() override;

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  bool IsEmpty() const { return m_nCount == 0; }

  CString& GetHead();
  const CString& GetHead() const;
  CString& GetTail();
  const CString& GetTail() const;
  CString RemoveHead();
  CString RemoveTail();

  POSITION AddHead(const CString& element);
  POSITION AddTail(const CString& element);
  void AddHead(const CStringList* list);  // keeps the list's order
  void AddTail(const CStringList* list);
  void RemoveAll();

  POSITION GetHeadPosition() const;
  POSITION GetTailPosition() const;
  // The element at position; position moves to the next (previous) one.
  CString& GetNext(POSITION& position);
  const CString& GetNext(POSITION& position) const;
  CString& GetPrev(POSITION& position);
  const CString& GetPrev(POSITION& position) const;

  CString& GetAt(POSITION position);
  const CString& GetAt(POSITION position) const;
  void SetAt(POSITION position, const CString& element);
  void RemoveAt(POSITION position);
  // A null position inserts at the head (before) or tail (after).
  POSITION InsertBefore(POSITION position, const CString& element);
  POSITION InsertAfter(POSITION position, const CString& element);

  // Exact (case-sensitive) match, searching after startAfter or from the
  // head; null when none.
  POSITION Find(const char* value, POSITION startAfter = nullptr) const;
  POSITION FindIndex(INT_PTR index) const;

 private:
  struct Node;
  static Node* AsNode(POSITION position);
  Node* Link(Node* previous, Node* next, const CString& element);

  Node* m_pNodeHead = nullptr;
  Node* m_pNodeTail = nullptr;
  INT_PTR m_nCount = 0;
  INT_PTR m_nBlockSize;
};
