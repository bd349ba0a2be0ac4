#include "objectgl/GLContour.h"

#include "objectgl/GLArc.h"
#include "objectgl/GLCircle.h"
#include "objectgl/GLEllipse.h"

namespace {
bool SameAngle(double start, double end) { return end - 1e-10 < start && start < end + 1e-10; }
}  // namespace

bool GLContour::AddArc(const GLArc& arc) {
  if (SameAngle(arc.GetStartAngle(), arc.GetEndAngle())) return false;
  GLVectorArray points;
  arc.GetPoints(points);
  return points_.Append(points);
}

bool GLContour::AddEllipse(const GLEllipse& ellipse) {
  if (SameAngle(ellipse.GetStartParam(), ellipse.GetEndParam())) return false;
  GLVectorArray points;
  ellipse.GetPoints(points);
  return points_.Append(points);
}

void GLContour::SetFromCircle(const GLCircle& circle) { circle.GetPoints(points_); }

void GLContour::SetFromEllipse(const GLEllipse& ellipse) { ellipse.GetPoints(points_); }

void GLContour::Transform(const GLMatrix& m) {
  for (GLVector& p : points_) p.TransformPoint(m);
}
