// Whether what a section generator built can be written: the host writes a
// non-finite real as 0, which would collapse products, texts and pipes onto
// the origin, and far from the origin the doubles grow too coarse for the
// section's sizes (at 1e20 a whole section falls onto one x).
#pragma once

#include "dataformat/GroupCodeChain.h"

// How far from the origin a section may lie, in metres: 1e10 m, where the
// doubles lie 2 um apart, a thousandth of the smallest sizes a section
// draws (texts and bubbles of 2.5 mm and up).
constexpr double kMaxSectionCoordinate = 1e10;

// Each coordinate finite and within kMaxSectionCoordinate of the origin,
// in drawing units (units per metre).
bool IsDrawablePoint(const double point[3], double unitsPerMetre);

// Every real of the chain finite and every point drawable.
bool IsChainDrawable(const resbuf* chain, double unitsPerMetre);

// Every built chain of the list's records drawable.
template <class List>
bool AreBuiltChainsDrawable(const List& list, double unitsPerMetre) {
  for (auto* r = list.GetFirstRecord(); r; r = r->GetNextRecord())
    if (!IsChainDrawable(r->m_pBuiltChain, unitsPerMetre)) return false;
  return true;
}
