#include "wizard/dialogs/DialogMessages.h"

#include <cstdio>
#include <cstring>

#include "common/HostModule.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"

std::string FormatTwoNumbers(const char* format, double first, double second) {
  std::string out;
  if (!format) return out;
  const double numbers[2] = {first, second};
  int next = 0;
  for (const char* p = format; *p;) {
    if (*p != '%') {
      out += *p++;
      continue;
    }
    if (p[1] == '%') {
      out += '%';
      p += 2;
      continue;
    }
    // %[flags][width][.precision]conversion, the numbers short enough for
    // a small buffer.
    const char* q = p + 1;
    while (*q && std::strchr("-+ #0", *q)) ++q;
    int width = 0, precision = 0;
    while (*q >= '0' && *q <= '9' && width < 100) width = width * 10 + (*q++ - '0');
    if (*q == '.') {
      ++q;
      while (*q >= '0' && *q <= '9' && precision < 100) precision = precision * 10 + (*q++ - '0');
    }
    if (next < 2 && *q && std::strchr("feEgG", *q) && width < 100 && precision < 100) {
      const std::string spec(p, q + 1);
      char buffer[512];
      std::snprintf(buffer, sizeof buffer, spec.c_str(), numbers[next++]);
      out += buffer;
      p = q + 1;
    } else {
      out += *p++;
    }
  }
  return out;
}

int ShowRangeMessage(HWND owner, UINT stringId, double lower, double upper) {
  char format[1024] = "";
  LoadStringA(AfxGetResourceHandle(), stringId, format, sizeof format);
  return MessageBoxA(owner, FormatTwoNumbers(format, lower, upper).c_str(), GetHostProductTitle(),
                     MB_ICONWARNING);
}
