#include "jov_vantrix/frame/LineLength.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "platform/win32/clipboard.h"
#include "platform/win32/code_page.h"

namespace {

// The chain of a LINE, or null for anything else. A chain too short to name
// its type counts as no line.
const resbuf* AsLine(const resbuf* chain) {
  if (!chain || !chain->next) return nullptr;
  const resbuf* type = chain->next;
  if (type->code != 0 || !type->value.text) return nullptr;
  return _mbsicmp(type->value.text, "LINE") == 0 ? chain : nullptr;
}

bool PutOnClipboard(UINT format, const char* text) {
  if (!OpenClipboard(nullptr)) return false;
  bool stored = false;
  if (EmptyClipboard()) {
    size_t n = std::strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, n);
    if (void* bytes = block ? GlobalLock(block) : nullptr) {
      std::memcpy(bytes, text, n);
      GlobalUnlock(block);
      stored = SetClipboardData(format, block) != nullptr;
      if (!stored) GlobalFree(block);
    }
  }
  CloseClipboard();
  return stored;
}

// The distance between two points in three dimensions; false when a
// coordinate or the distance is not a finite number (nothing to give the
// host as a length). hypot, because the squares of a long line's
// coordinates overflow long before its length does.
bool LengthBetween(const double* a, const double* b, double* length) {
  for (int i = 0; i < 3; ++i)
    if (!std::isfinite(a[i]) || !std::isfinite(b[i])) return false;
  *length = std::hypot(b[0] - a[0], b[1] - a[1], b[2] - a[2]);
  return std::isfinite(*length);
}

}  // namespace

int CopyLineLengthToClipboard(CDravikFunc& host, int unit) {
  const resbuf* line = AsLine(host.alt_entnext ? host.alt_entnext(1) : nullptr);
  double a[3] = {}, b[3] = {};
  unsigned found = 0;
  for (const resbuf* node = line; node; node = node->next) {
    if (node->code == 10) {
      std::memcpy(a, node->value.point, sizeof a);
      found |= 1;
    } else if (node->code == 11) {
      std::memcpy(b, node->value.point, sizeof b);
      found |= 2;
    }
  }
  int result = -1;
  double length = 0;
  if (found == 3 && LengthBetween(a, b, &length)) {
    if (unit == 1000) length /= 1000.0;
    UINT format = RegisterClipboardFormatA(kVantrixClipboardFormat);
    if (format != 0) {
      // Room for every digit of the largest finite length.
      char text[std::numeric_limits<double>::max_exponent10 + 8];
      const int n = std::snprintf(text, sizeof text, "%.4f", length);
      // A length that never reached the clipboard is a failure, not a success.
      if (n > 0 && static_cast<size_t>(n) < sizeof text && PutOnClipboard(format, text)) result = 0;
    }
  }
  if (host.unlink_DXF) host.unlink_DXF();
  return result;
}
