// The two connection ends of a product's pipes when the product is drawn
// the other way round (mirrored, or placed on the far side of its run):
// shared by both section generators.
#pragma once

#include "common/GLVector.h"

// Exchanges the x of a and b, then shifts both by length minus their
// horizontal distance (the distance in x and z, b's y kept), the other way
// when mirrored. With the values on entry: d = length - |(a.x, b.y, a.z) - b|;
// a becomes (b.x + d, a.y, a.z) and b (a.x + d, b.y, b.z), d negated first
// when mirrored.
void SwapPipeEnds(GLVector& a, GLVector& b, double length, bool mirrored);
