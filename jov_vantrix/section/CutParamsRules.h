// What the section dialogs do to their parameter blocks between OK and the
// generator: the confirmed values into the block, the shortening of the
// pipe connections to an equal element length, the pipe start length, the
// layer rule and the conversion from metres and millimetres to drawing
// units.
#pragma once

#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/section/CutSettings.h"
#include "jov_vantrix/section/JovCutParamsOld.h"

// The values confirmed with OK into the block (numbers as atof does).
void StoreCutValues(const CutDialogValues& values, JovCutParams& block);
void StoreCutValues(const CutDialogValues& values, JovCutParamsOld& block);

// Whether OK asks to shorten the first two connection offsets: the equal
// length is on (for a riser section with the pipes drawn), above 0, and
// shorter than the two offsets together.
bool AsksToShorten(const JovCutParams& block);
bool AsksToShorten(const JovCutParamsOld& block);
// The answer Yes: both offsets divided by (first + second + first) / length,
// so the pipe and its two connections fit the length. A length not above 0
// changes nothing.
void ShortenConnectionOffsets(JovCutParams& block);
void ShortenConnectionOffsets(JovCutParamsOld& block);

// The pipe start runs from the floor to the lower pipe; the first bubble
// distance shrinks by what the start grew. In metres, before conversion.
void RecomputePipeBeginLength(JovCutParams& block);
void RecomputePipeBeginLength(JovCutParamsOld& block);

// A layer setting equal to the placeholder (for a branch section "*" too)
// becomes the host's current layer; without one (null) it stays.
void ApplyLayerRules(JovCutParams& block, const CString& placeholder, const char* currentLayer);
void ApplyLayerRules(JovCutParamsOld& block, const CString& placeholder, const char* currentLayer);

// Distances times the units per metre; text heights and bubble diameters
// from millimetres of paper (units / 1000 times the scale); the first
// description line's height times units and scale. The connection offsets
// stay as they are.
void ConvertForGeneration(JovCutParams& block);
void ConvertForGeneration(JovCutParamsOld& block);
