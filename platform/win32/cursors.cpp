#include "platform/win32/cursors.h"

#include "platform/win32/resource_file.h"
#include "platform/win32/resources.h"
#include "platform/win32/driver/ui_driver.h"

namespace {
HCURSOR g_cursor = nullptr;
int g_showCount = 0;

const char* StockName(WORD id) {
  switch (id) {
    case 32512: return "IDC_ARROW";
    case 32513: return "IDC_IBEAM";
    case 32514: return "IDC_WAIT";
    case 32515: return "IDC_CROSS";
    case 32516: return "IDC_UPARROW";
    case 32642: return "IDC_SIZENWSE";
    case 32643: return "IDC_SIZENESW";
    case 32644: return "IDC_SIZEWE";
    case 32645: return "IDC_SIZENS";
    case 32646: return "IDC_SIZEALL";
    case 32648: return "IDC_NO";
    case 32649: return "IDC_HAND";
    case 32650: return "IDC_APPSTARTING";
    case 32651: return "IDC_HELP";
    default: return nullptr;
  }
}
}  // namespace

std::string DescribeCursor(HCURSOR cursor) {
  if (!cursor) return "none";
  if (!cursor->resource) {
    const char* name = StockName(cursor->stockId);
    return name ? name : "stock " + std::to_string(cursor->stockId);
  }
  return "resource " + cursor->resource->name.Describe();
}

HCURSOR SetCursor(HCURSOR cursor) {
  HCURSOR previous = g_cursor;
  if (cursor == previous) return previous;
  g_cursor = cursor;
  UiEvent event;
  event.kind = UiEvent::Kind::Cursor;
  event.cursor = DescribeCursor(cursor);
  RecordUiEvent(std::move(event));
  return previous;
}

HCURSOR GetCursor() { return g_cursor; }

int ShowCursor(BOOL show) { return show ? ++g_showCount : --g_showCount; }
