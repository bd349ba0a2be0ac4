// What dropping a dragged row does to a list's rows, as a plain function:
// the row is copied in at its new place and the old one deleted, and the
// list attached to the rows moves the row's node one place at a time.
#pragma once

struct RowMove {
  bool moves = false;  // false: the drop changes nothing
  int insertAt = -1;   // where the copy goes in
  int deleteAt = -1;   // where the old row is once the copy is in
  int steps = 0;       // one-place moves of the node in the attached list
  bool down = false;   // the node moves down (toward the tail), else up
  int finalRow = -1;   // where the moved row ends: the drop row
};

// A row dragged from source and dropped on target (-1: on no row). A drop
// on no row or on the row itself moves nothing.
RowMove PlanRowMove(int source, int target);
