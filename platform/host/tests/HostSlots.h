// The host's export table called as the plug-in calls it, slot by slot with
// each slot's own signature. An empty slot ends the program with its index:
// the test or the test plug-in that needs it fails there.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "dataformat/HostExportTable.h"

template <typename Fn>
Fn Slot(const HostExport2D* table, int index) {
  Fn fn = HostSlotFunction<Fn>(table, index);
  if (!fn) {
    std::fprintf(stderr, "the host's export table has no slot %d\n", index);
    std::abort();
  }
  return fn;
}
