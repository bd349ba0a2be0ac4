#include "common/StringCompareIgnore.h"

#include "platform/win32/code_page.h"

int StringCompareIgnore(const char* a, const char* b) {
  return _mbsicmp(a ? a : "", b ? b : "");
}
