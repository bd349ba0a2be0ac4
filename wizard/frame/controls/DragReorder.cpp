#include "wizard/frame/controls/DragReorder.h"

RowMove PlanRowMove(int source, int target) {
  RowMove move;
  if (source < 0 || target < 0 || source == target) return move;
  move.moves = true;
  move.down = source < target;
  move.insertAt = move.down ? target + 1 : target;
  move.deleteAt = move.down ? source : source + 1;
  move.steps = move.down ? target - source : source - target;
  move.finalRow = target;
  return move;
}
