// The columns of a list view, shared with its header control (platform
// internal): the header is the list view's child and shows its columns.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/messages.h"

namespace controls {

struct Column {
  std::string text;
  int width = 0;
  int format = 0;
  int subItem = 0;
  int image = -1;
  LPARAM param = 0;
};

// The columns of the list view that owns `header` (its parent); null when
// the parent is no list view.
std::vector<Column>* HeaderColumns(HWND header);
// The list view's horizontal scroll offset.
int HeaderScroll(HWND header);

}  // namespace controls
