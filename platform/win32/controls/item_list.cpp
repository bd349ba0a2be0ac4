#include "platform/win32/controls/item_list.h"

#include <cstring>

#include "platform/win32/code_page.h"
#include "platform/win32/controls/control_state.h"

namespace controls {

namespace {

std::string TextArg(LPARAM text) { return text ? reinterpret_cast<const char*>(text) : ""; }

}  // namespace

int ItemList::Add(LPARAM text, bool sorted) {
  const std::string added = TextArg(text);
  size_t at = items.size();
  if (sorted) {
    at = 0;
    while (at < items.size() && _mbsicmp(items[at].text.c_str(), added.c_str()) <= 0) ++at;
  }
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), {added, 0, false});
  if (current >= static_cast<int>(at)) ++current;
  return static_cast<int>(at);
}

int ItemList::Insert(WPARAM index, LPARAM text) {
  int at = static_cast<int>(index);
  if (at == -1) at = Count();
  if (at < 0 || at > Count()) return -1;
  items.insert(items.begin() + at, {TextArg(text), 0, false});
  if (current >= at) ++current;
  return at;
}

bool ItemList::Delete(WPARAM index) {
  if (!Valid(index)) return false;
  const int at = static_cast<int>(index);
  items.erase(items.begin() + at);
  if (current == at)
    current = -1;
  else if (current > at)
    --current;
  return true;
}

void ItemList::Clear() {
  items.clear();
  current = -1;
}

int ItemList::Find(int start, const std::string& text, bool exact) const {
  const int n = Count();
  if (n == 0) return -1;
  if (start < -1 || start >= n) start = -1;
  for (int k = 1; k <= n; ++k) {
    const int i = (start + k) % n;
    if (exact ? EqualNoCase(TextOf(i), text) : StartsWithNoCase(TextOf(i), text)) return i;
  }
  return -1;
}

LRESULT ItemList::CopyText(WPARAM index, LPARAM out) const {
  if (!Valid(index)) return -1;
  const std::string& text = items[index].text;
  if (char* buffer = reinterpret_cast<char*>(out)) std::memcpy(buffer, text.c_str(), text.size() + 1);
  return static_cast<LRESULT>(text.size());
}

bool ItemList::SetData(WPARAM index, LPARAM data) {
  if (static_cast<int>(index) == -1) {
    for (Item& item : items) item.data = data;
    return true;
  }
  if (!Valid(index)) return false;
  items[index].data = data;
  return true;
}

}  // namespace controls
