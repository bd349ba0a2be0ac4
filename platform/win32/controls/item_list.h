// The texts with item data of a list box or a combo box, with the selected
// item kept in step as items come and go (platform internal).
#pragma once

#include <string>
#include <vector>

#include "platform/win32/messages.h"

namespace controls {

struct Item {
  std::string text;
  LPARAM data = 0;
  bool selected = false;  // multiple-selection list boxes
};

// Index arguments come as the messages carry them; -1 answers "none" or
// "outside the list" (LB_ERR and CB_ERR alike).
struct ItemList {
  std::vector<Item> items;
  int current = -1;  // the selected item of a single-selection list

  int Count() const { return static_cast<int>(items.size()); }
  bool Valid(WPARAM index) const { return static_cast<int>(index) >= 0 && static_cast<int>(index) < Count(); }
  const std::string& TextOf(int index) const { return items[static_cast<size_t>(index)].text; }
  // The current item's text, empty when none is selected.
  std::string CurrentText() const { return current >= 0 ? TextOf(current) : std::string(); }

  // Adds text (a C string or null) at the end or, when sorted, after the
  // equal ones; its index.
  int Add(LPARAM text, bool sorted);
  // Inserts text at index (-1: at the end); its index, -1 outside the list.
  int Insert(WPARAM index, LPARAM text);
  // Deletes an item, deselecting it when it was current; false outside.
  bool Delete(WPARAM index);
  void Clear();
  // Searches after `start` (-1: from the first), wrapping around, for a
  // text equal to (exact) or beginning with `text`, ignoring case.
  int Find(int start, const std::string& text, bool exact) const;
  // Copies an item's text with its NUL into out (when given); its length.
  LRESULT CopyText(WPARAM index, LPARAM out) const;
  LRESULT Data(WPARAM index) const { return Valid(index) ? items[index].data : -1; }
  // Sets one item's data, or every item's for index -1.
  bool SetData(WPARAM index, LPARAM data);
};

}  // namespace controls
