#include "jov_vantrix/network/SelectionCopyWalk.h"

#include "common/CDravikFunc.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/frame/CommandHost.h"

SelectionCopyWalk::SelectionCopyWalk() : byName_(CommandHost()) {
  if (byName_ && (!byName_->alt_entnext || !byName_->unlink_DXF)) byName_ = nullptr;
}

SelectionCopyWalk::~SelectionCopyWalk() { ReleaseHanded(); }

void SelectionCopyWalk::ReleaseHanded() {
  if (!handed_) return;
  byName_->unlink_DXF();
  handed_ = nullptr;
}

const resbuf* SelectionCopyWalk::Next(bool first) {
  if (!byName_) return HostSelectionNext(TheApp().m_pHostTable, first);
  ReleaseHanded();
  handed_ = byName_->alt_entnext(first ? 1 : 0);
  return handed_;
}
