// The host's entity-walking functions, fetched by name from the host module
// for one command run.
#pragma once

#include "common/CModule.h"
#include "dataformat/resbuf.h"

using HostEntNextFn = resbuf* (*)(int first);
using HostUnlinkFn = void (*)();
using HostByNameFn = int (*)();  // functions the system fetches but never calls
// Walks the whole drawing (1 first, 0 next), only entities whose extended
// data names the application; the host keeps the chain.
using HostEntNextAppFn = resbuf* (*)(int first, const char* application);
// Erases the entity a chain's leading entity-name node names, inside the
// open change: 5100, else an error answer.
using HostEntDelFn = int (*)(const resbuf* entity);
// Why the host refused the last write or erase ("" when it did not).
using HostLastErrorFn = const char* (*)();

class CDravikFunc : public CModule {
 public:
  CDravikFunc(const char* hostPath, bool isLT, int level);

  // Fetches the functions in a fixed order; false at the first required one
  // that is missing.
  bool Resolve();

  // In the host's table order.
  HostEntNextFn alt_entnext = nullptr;
  HostByNameFn alt_blknext = nullptr;
  HostByNameFn alt_layernext = nullptr;
  HostByNameFn alt_layerfind = nullptr;
  HostByNameFn alt_prompt = nullptr;
  HostByNameFn err_message = nullptr;
  HostByNameFn DXF_HEADER_BIN = nullptr;
  HostByNameFn DXF_EOF_BIN = nullptr;
  HostByNameFn DXF_HEADER = nullptr;
  HostByNameFn DXF_EOF = nullptr;
  HostByNameFn GetBlockHandle = nullptr;
  HostByNameFn alt_blkmake = nullptr;
  HostByNameFn alt_blkmake_bin = nullptr;
  HostByNameFn alt_send = nullptr;
  HostByNameFn GetLastHandle = nullptr;
  HostByNameFn alt_entmake = nullptr;
  HostByNameFn alt_entmake_txt = nullptr;
  HostByNameFn alt_entmake_bin = nullptr;
  HostByNameFn WriteAcadEnvStr = nullptr;
  HostUnlinkFn unlink_DXF = nullptr;
  HostByNameFn GetDatabase = nullptr;
  HostByNameFn RegAppBin = nullptr;
  HostByNameFn CreateDefLineType = nullptr;
  HostByNameFn alt_makeblockdef = nullptr;
  HostByNameFn makeblockdef_txt = nullptr;
  HostByNameFn makeblockdef_bin = nullptr;
  HostByNameFn GetProfilePath = nullptr;
  // Fetched when the host has them; a host without them leaves them null.
  HostEntNextAppFn alt_entnext_app = nullptr;
  HostEntDelFn alt_entdel = nullptr;
  HostLastErrorFn alt_lasterror = nullptr;

  bool isLT = false;
  uint32_t level = 0;

 private:
  template <typename Fn>
  bool Fetch(Fn& slot, const char* name) {
    void* address = nullptr;
    bool found = GetProc(&address, name);
    slot = reinterpret_cast<Fn>(address);
    return found;
  }
};
