// Small point helpers of the scene library.
#pragma once

#include "common/GLVector.h"

// out = the midpoint of a and b; nothing for a null out.
void GLMidPoint(const GLVector& a, const GLVector& b, GLVector* out);
// The Euclidean distance of two points in three dimensions.
double GLDistance(const GLVector& a, const GLVector& b);
