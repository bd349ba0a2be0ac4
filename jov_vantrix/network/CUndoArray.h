// The export dialog's undo stack of numbering snapshots. It owns the
// snapshots it holds: what is still on it when it goes is deleted.
#pragma once

#include "common/CNumberingSnapshot.h"
#include "platform/mfc/CPtrArray.h"

class CUndoArray : public CPtrArray {
  DECLARE_DYNAMIC(CUndoArray)

 public:
  CUndoArray() = default;
  ~CUndoArray() override;

  // Null for a negative index or one at or beyond the size.
  CNumberingSnapshot* GetAt(INT_PTR index) const;
  // Takes the snapshot off the stack (without deleting it); null when the
  // index names none.
  CNumberingSnapshot* TakeAt(INT_PTR index);
};
