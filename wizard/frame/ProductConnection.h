// Connection services of a product request: the lines of a points text, the
// size check of a product connected to another element, and (on the
// application object) the level of the product from the element it joins.
//
// A points text holds, for each view group in the order A, B, C, 3D, a line
// with the number N of points, then four lines per point: its name (a
// '/'-separated list of sizes, or of '#' parameter names in the catalogue),
// two further lines, and its connection letter. Lines end with CR, LF or
// CR LF.
#pragma once

#include <string>

// Line `line` (0-3) of point `index` (0-based) of `group`, the points'
// lines read up to maxLength characters (a longer line is cut, the next
// line follows it; counts are read whole); false when the group or the
// point is not there.
bool ReadPointLine(const char* pointsText, unsigned group, unsigned index, unsigned line, size_t maxLength,
                   std::string& out);

// The name line of the positioned product's own point `number` (1-based) in
// the view's group, lines up to 1023 characters; false on a catalogue error
// or a missing point.
bool GetProductPointName(unsigned view, unsigned number, char* out, unsigned size);

// Whether the sizes of the connected element's point and of the product's
// own point agree, element by element as numbers. A point missing on either
// side does not stop the connection.
bool CheckConnectionMatch(const char* otherPoints, unsigned otherIndex, unsigned ownNumber, unsigned view);
