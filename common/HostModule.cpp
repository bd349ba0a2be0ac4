#include "common/HostModule.h"

#include <cstring>
#include <string>

#include "platform/mfc/module_state.h"
#include "platform/win32/module_loader.h"
#include "platform/win32/resources.h"
#include "platform/win32/ui_services.h"

HMODULE GetHostModule() {
  if (HMODULE lt = GetModuleHandleA("DUVOZEDO.EXE")) return lt;
  return GetModuleHandleA("DRAVIK2D.ARX");
}

HostExport2D* GetHostExportTable() {
  HMODULE host = GetHostModule();
  if (!host) return nullptr;
  auto getExport = reinterpret_cast<GetExport2DFn>(GetProcAddress(host, "GetExport2D"));
  return getExport ? getExport() : nullptr;
}

const char* GetHostProductTitle() { return HostProductTitle(GetHostExportTable()); }

void FileNameOfPath(const char* path, char* out, unsigned size) {
  if (!out || size == 0) return;
  if (!path) {
    out[0] = '\0';
    return;
  }
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '\\' || *p == '/') name = p + 1;
  size_t n = std::strlen(name);
  if (n > size - 1) n = size - 1;
  std::memcpy(out, name, n);
  out[n] = '\0';
}

// The resource texts are ours, but an argument is put in only where a "%s"
// asks for it, so a stray conversion in a text can never read garbage.
std::string FormatResourceText(const char* format, const char* arg) {
  std::string text;
  bool used = false;
  for (const char* p = format ? format : ""; *p; ++p) {
    if (p[0] == '%' && p[1] == '%') {
      text += '%';
      ++p;
    } else if (p[0] == '%' && p[1] == 's' && !used) {
      text += arg ? arg : "";
      used = true;
      ++p;
    } else {
      text += *p;
    }
  }
  return text;
}

int MessageBoxRes(HWND owner, UINT stringId, UINT type, const char* arg) {
  char format[1024] = "";
  LoadStringA(AfxGetResourceHandle(), stringId, format, sizeof format);
  const char* caption = GetHostProductTitle();
  if (arg) return MessageBoxA(owner, FormatResourceText(format, arg).c_str(), caption, type);
  return MessageBoxA(owner, format, caption, type);
}
