// Coordinates compared within a tolerance of 1/factor.
#pragma once

#include "common/GLVector.h"

// d = (a - b) * factor truncated toward zero (in double, so any magnitude
// counts): -1 when d < 0, 1 when d > 0, else 0. a and b are equal when they
// differ by less than 1/factor.
int CompareScaled(double a, double b, int factor);

// The three coordinates all compare equal.
bool PointsMatch(const GLVector& p, const GLVector& q, int factor);
