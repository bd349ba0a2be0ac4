// The formulas of a view's definition points as the catalogue keeps them
// (view 0 A, 1 B, 2 C, 3 3D): the base point number ("%d", -1 for none)
// and CR LF, then one line x "|" y "|" z per point in the sorted order of
// the points. The lines carry no numbers: they belong to the points parsed
// and sorted from the same geometry.
#pragma once

#include <string>

class CSeznam;
class GLVector;

// Reads the view's formulas into the points and marks the base point.
// False for an empty list or a catalogue error; an empty text changes
// nothing; points beyond the text's lines keep their formulas.
bool LoadProductFormulas(CSeznam& points, unsigned view);
// The same from a formulas text already at hand: true for a non-empty list.
bool ReadProductFormulas(CSeznam& points, const std::string& text);
// Writes them with that base point number; false on a catalogue error.
// Another view writes nothing (true).
bool StoreProductFormulas(const CSeznam& points, unsigned view, int basePoint);

// The definition point at point (within 0.01) evaluated into point through
// its three formulas; false when there is none, a formula is missing or
// fails (the coordinates evaluated before it stay written).
bool EvaluatePoint(const CSeznam& points, const std::string& definitions, GLVector& point);
