#include "platform/mfc/CStringList.h"

#include <cstring>
#include <stdexcept>

IMPLEMENT_DYNAMIC(CStringList, CObject)

struct CStringList::Node {
  Node* next;
  Node* prev;
  CString data;
};

CStringList::CStringList(INT_PTR blockSize) : m_nBlockSize(blockSize > 0 ? blockSize : 10) {}

CStringList::~CStringList() { RemoveAll(); }

CStringList::Node* CStringList::AsNode(POSITION position) {
  if (!position) throw std::out_of_range("CStringList position");
  return reinterpret_cast<Node*>(position);
}

CStringList::Node* CStringList::Link(Node* previous, Node* next, const CString& element) {
  Node* node = new Node{next, previous, element};
  (previous ? previous->next : m_pNodeHead) = node;
  (next ? next->prev : m_pNodeTail) = node;
  ++m_nCount;
  return node;
}

CString& CStringList::GetHead() {
  if (!m_pNodeHead) throw std::out_of_range("CStringList is empty");
  return m_pNodeHead->data;
}

const CString& CStringList::GetHead() const { return const_cast<CStringList*>(this)->GetHead(); }

CString& CStringList::GetTail() {
  if (!m_pNodeTail) throw std::out_of_range("CStringList is empty");
  return m_pNodeTail->data;
}

const CString& CStringList::GetTail() const { return const_cast<CStringList*>(this)->GetTail(); }

CString CStringList::RemoveHead() {
  CString value = GetHead();
  RemoveAt(reinterpret_cast<POSITION>(m_pNodeHead));
  return value;
}

CString CStringList::RemoveTail() {
  CString value = GetTail();
  RemoveAt(reinterpret_cast<POSITION>(m_pNodeTail));
  return value;
}

POSITION CStringList::AddHead(const CString& element) {
  return reinterpret_cast<POSITION>(Link(nullptr, m_pNodeHead, element));
}

POSITION CStringList::AddTail(const CString& element) {
  return reinterpret_cast<POSITION>(Link(m_pNodeTail, nullptr, element));
}

void CStringList::AddHead(const CStringList* list) {
  if (!list) return;
  // Walking backwards keeps the order, also when list is this list.
  Node* node = list->m_pNodeTail;
  for (INT_PTR n = list->m_nCount; n > 0; --n, node = node->prev) {
    CString copy = node->data;
    Link(nullptr, m_pNodeHead, copy);
  }
}

void CStringList::AddTail(const CStringList* list) {
  if (!list) return;
  Node* node = list->m_pNodeHead;
  for (INT_PTR n = list->m_nCount; n > 0; --n, node = node->next) {
    CString copy = node->data;
    Link(m_pNodeTail, nullptr, copy);
  }
}

void CStringList::RemoveAll() {
  for (Node* node = m_pNodeHead; node;) {
    Node* next = node->next;
    delete node;
    node = next;
  }
  m_pNodeHead = m_pNodeTail = nullptr;
  m_nCount = 0;
}

POSITION CStringList::GetHeadPosition() const { return reinterpret_cast<POSITION>(m_pNodeHead); }

POSITION CStringList::GetTailPosition() const { return reinterpret_cast<POSITION>(m_pNodeTail); }

CString& CStringList::GetNext(POSITION& position) {
  Node* node = AsNode(position);
  position = reinterpret_cast<POSITION>(node->next);
  return node->data;
}

const CString& CStringList::GetNext(POSITION& position) const {
  return const_cast<CStringList*>(this)->GetNext(position);
}

CString& CStringList::GetPrev(POSITION& position) {
  Node* node = AsNode(position);
  position = reinterpret_cast<POSITION>(node->prev);
  return node->data;
}

const CString& CStringList::GetPrev(POSITION& position) const {
  return const_cast<CStringList*>(this)->GetPrev(position);
}

CString& CStringList::GetAt(POSITION position) { return AsNode(position)->data; }

const CString& CStringList::GetAt(POSITION position) const { return AsNode(position)->data; }

void CStringList::SetAt(POSITION position, const CString& element) { AsNode(position)->data = element; }

void CStringList::RemoveAt(POSITION position) {
  Node* node = AsNode(position);
  (node->prev ? node->prev->next : m_pNodeHead) = node->next;
  (node->next ? node->next->prev : m_pNodeTail) = node->prev;
  delete node;
  --m_nCount;
}

POSITION CStringList::InsertBefore(POSITION position, const CString& element) {
  if (!position) return AddHead(element);
  Node* node = AsNode(position);
  return reinterpret_cast<POSITION>(Link(node->prev, node, element));
}

POSITION CStringList::InsertAfter(POSITION position, const CString& element) {
  if (!position) return AddTail(element);
  Node* node = AsNode(position);
  return reinterpret_cast<POSITION>(Link(node, node->next, element));
}

POSITION CStringList::Find(const char* value, POSITION startAfter) const {
  Node* node = startAfter ? AsNode(startAfter)->next : m_pNodeHead;
  for (; node; node = node->next)
    if (node->data == (value ? value : "")) return reinterpret_cast<POSITION>(node);
  return nullptr;
}

POSITION CStringList::FindIndex(INT_PTR index) const {
  if (index < 0 || index >= m_nCount) return nullptr;
  Node* node = m_pNodeHead;
  while (index-- > 0) node = node->next;
  return reinterpret_cast<POSITION>(node);
}
