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

bool CSeznam::Delete(CSeznam* element) {
  if (!element) return false;
  if (element->prev) {
    element->prev->next = element->next;
  } else {
    head = element->next;
  }
  if (element->next) {
    element->next->prev = element->prev;
  } else {
    tail = element->prev;
  }
  element->prev = element->next = nullptr;
  --count;
  delete element;
  return true;
}

CSeznam* CSeznam::GetAt(int index) const {
  if (index < 0) return nullptr;
  CSeznam* element = head;
  for (; element && index > 0; --index) element = element->next;
  return element;
}

void CSeznam::MoveUp(CSeznam* element) {
  if (!element || !element->prev) return;
  CSeznam* before = element->prev;
  CSeznam* after = element->next;
  element->prev = before->prev;
  if (before->prev) {
    before->prev->next = element;
  } else {
    head = element;
  }
  element->next = before;
  before->prev = element;
  before->next = after;
  if (after) {
    after->prev = before;
  } else {
    tail = before;
  }
}

void CSeznam::MoveDown(CSeznam* element) {
  if (element && element->next) MoveUp(element->next);
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
