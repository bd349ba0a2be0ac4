// The "JOV_DATA" extended data of a product request (result chain 2), node
// by node: the application name, the product's index id, "_TYPE" and its
// index type, "_PTS" and the points of the view, a pair per written
// parameter, a pair per written property, then "_QPROD", "_SLOPE",
// "_BRANCH" and "_ZLEVEL" when given. Every node after the first is a 1000
// text; a value without a text of its own is written as "".
#pragma once

#include "platform/win32/win32_types.h"

class CObjectSez;

// Builds result chain 2 of the application object, which must be empty
// (callers run PPFree first). Without a parameter list the product's
// parameters are loaded for the build. A parameter whose label names a
// property from the fifth on sets that property's entry of flags (or of a
// flag array made for the build when none is given); properties 0-3 are
// always written, the others when their entry is set. Message 24 is shown
// over owner, once, when a point names a parameter the product does not
// have. False, with nothing built, for a slope IsUsableSlopeText refuses;
// false when the catalogue fails or a text of the chain is longer than a
// drawing keeps (255 bytes): the nodes made so far stay for the caller's
// PPFree (and its message, FirstOverlongPlacedText).
bool BuildProductXData(HWND owner, unsigned view, CObjectSez* parameters, unsigned char* propertyFlags,
                       unsigned flagCount, const char* product, const char* slope, const char* branch);
