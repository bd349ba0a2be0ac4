#include "jov_vantrix/frame/CommandHost.h"

#include "common/CDravikFunc.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"

namespace {
CDravikFunc* g_commandHost = nullptr;
}

void SetCommandHost(CDravikFunc* host) { g_commandHost = host; }
CDravikFunc* CommandHost() { return g_commandHost; }

const char* HostLastError() {
  if (g_commandHost) return g_commandHost->alt_lasterror ? g_commandHost->alt_lasterror() : nullptr;
  char path[MAX_PATH];
  TheApp().GetHostPath(path, MAX_PATH);
  // The host stays loaded: its text outlives this reference.
  CModule module(path, true);
  void* fn = nullptr;
  if (!module.GetProc(&fn, "alt_lasterror")) return nullptr;
  return reinterpret_cast<HostLastErrorFn>(fn)();
}
