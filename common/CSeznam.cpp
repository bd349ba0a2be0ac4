#include "common/CSeznam.h"

#include <cstdlib>
#include <vector>

CSeznam::~CSeznam() { RemoveAll(); }

void CSeznam::RemoveAll() {
  CSeznam* element = head;
  while (element) {
    CSeznam* following = element->next;
    delete element;
    element = following;
  }
  head = tail = nullptr;
  count = 0;
}

bool CSeznam::AddTail(CSeznam* element) {
  if (!element) return false;
  if (tail) {
    element->prev = tail;
    tail->next = element;
  } else {
    head = element;
  }
  tail = element;
  ++count;
  return true;
}

bool CSeznam::AddHead(CSeznam* element) {
  if (!element) return false;
  if (head) {
    element->prev = nullptr;
    element->next = head;
    head->prev = element;
    head = element;
  } else {
    head = tail = element;
  }
  ++count;
  return true;
}

void CSeznam::Sort(CompareFunc compare) {
  if (count == 0 || !head) return;
  std::vector<CSeznam*> order;  // allocation failure propagates as bad_alloc
  order.reserve(count);
  for (CSeznam* element = head; element; element = element->next) order.push_back(element);
  std::qsort(order.data(), order.size(), sizeof(CSeznam*), compare);
  CSeznam* before = nullptr;
  for (CSeznam* element : order) {
    element->prev = before;
    if (before) before->next = element;
    before = element;
  }
  before->next = nullptr;
  head = order.front();
  tail = before;
}
