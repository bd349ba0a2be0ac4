#include "common/CSeznam.h"

#include <algorithm>
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
  // A bottom-up merge sort rather than qsort: each merge step only ever
  // reads the heads of two runs inside the array, so a comparator that
  // gives no consistent order (some record comparators do not) can upset
  // the order but never lose, double or overrun an element.
  std::vector<CSeznam*> merged(order.size());
  const size_t n = order.size();
  for (size_t width = 1; width < n; width *= 2) {
    for (size_t left = 0; left < n; left += 2 * width) {
      const size_t middle = std::min(left + width, n);
      const size_t right = std::min(left + 2 * width, n);
      size_t a = left, b = middle, out = left;
      while (a < middle && b < right)
        merged[out++] = compare(&order[b], &order[a]) < 0 ? order[b++] : order[a++];
      while (a < middle) merged[out++] = order[a++];
      while (b < right) merged[out++] = order[b++];
    }
    order.swap(merged);
  }
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
