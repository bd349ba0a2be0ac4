#pragma once

#include "dataformat/resbuf.h"

class CDravikFunc;

// The host's current selection, one entity chain after another (null at
// the end), for readers that copy what they keep of each chain before they
// ask for the next. Through the command's by-name host functions the host
// lets each chain go as the next is asked for (and the last with the
// walk); without them the host keeps every chain to the command's end.
class SelectionCopyWalk {
 public:
  SelectionCopyWalk();
  ~SelectionCopyWalk();
  SelectionCopyWalk(const SelectionCopyWalk&) = delete;
  SelectionCopyWalk& operator=(const SelectionCopyWalk&) = delete;
  const resbuf* Next(bool first);

 private:
  void ReleaseHanded();
  CDravikFunc* byName_;
  resbuf* handed_ = nullptr;
};
