#include "jov_vantrix/section/PipeEnds.h"

GLVector InsertedPoint(const GLVector& blockPoint, const GLVector& insertPoint, double xScale, int unitsPerMetre) {
  const double k = unitsPerMetre == 1 ? 0.001 : 1.0;
  return insertPoint + GLVector(blockPoint.x * xScale * k, blockPoint.y * k, blockPoint.z * k);
}
