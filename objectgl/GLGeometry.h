// Small point helpers of the scene library.
#pragma once

#include <cmath>

#include "common/GLMatrix.h"
#include "common/GLVector.h"

// out = a * b of column-major 4x4 arrays, as OpenGL multiplies.
void GLMultiplyColumnMajor(const double* a, const double* b, double* out);
// out = the midpoint of a and b; nothing for a null out.
void GLMidPoint(const GLVector& a, const GLVector& b, GLVector* out);
// The Euclidean distance of two points in three dimensions.
double GLDistance(const GLVector& a, const GLVector& b);
// Every coordinate a number (neither infinite nor NaN).
inline bool GLIsFinite(const GLVector& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// The unit normal (tri[2] - tri[1]) x (tri[0] - tri[1]); for three points on
// a line (0, 0, -1) and false.
bool GLTriangleNormal(const GLVector tri[3], GLVector* out);
bool GLTriangleNormal(const GLVector& p0, const GLVector& p1, const GLVector& p2, GLVector* out);

// The normal of a plane as given, or +Z for a zero vector (which has no
// perpendicular to build a frame on).
GLVector GLPlaneNormal(const GLVector& normal);
// Carries local coordinates of the frame (origin, x, y, z) to the world.
GLMatrix GLFrameMatrix(const GLVector& origin, const GLVector& x, const GLVector& y, const GLVector& z);
// The frame of a circle or arc: x = the normal's perpendicular, y = normal
// x x.
GLMatrix GLPlaneFrameMatrix(const GLVector& origin, const GLVector& normal);
