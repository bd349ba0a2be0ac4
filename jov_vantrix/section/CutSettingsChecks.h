// What the section dialogs refuse before they draw: values typed into a
// dialog that are no number in a sane range, and settings read from the
// profile's files (layers, pipe types, text sizes, fixed distances) that
// would write an invalid or degenerate drawing. Each check names the first
// value at fault, so that the user can find and correct it.
#pragma once

#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/section/CutSettings.h"
#include "jov_vantrix/section/JovCutParamsOld.h"

// The first value at fault: the message to show and what it names (a key,
// for a file's setting with its section and file). No message: none.
struct CutSettingFault {
  UINT message = 0;
  CString what;
  explicit operator bool() const { return message != 0; }
};

// The dialog's values as OK takes them: distances above 0 and up to
// 1000 m (the pipe distance from the floor may be 0 or below), the floor
// above the two pipes, the equal lengths when they are on, the riser
// section's number a whole number from 1 up.
CutSettingFault CheckCutValues(const CutDialogValues& values, CutDialog dialog);

// The settings the generator draws with, after the layer rules and before
// the conversion to drawing units: every layer a name a drawing can hold,
// both pipe type codes of the catalogue's form, text sizes and bubbles 0
// (not drawn) or up to 1 m, the width factors of drawn texts above 0 and
// up to 100, the fixed distances above 0 and up to 1000 m. The branch
// section names the pipe types by the keys it read.
CutSettingFault CheckDrawingSettings(const JovCutParams& block, const char* supplyKey, const char* returnKey);
CutSettingFault CheckDrawingSettings(const JovCutParamsOld& block);

// A riser's "_LENGTH_RISER" as the generators draw it: its size a length
// above 0 and up to 1000 m (the sign is dropped); a missing one is
// refused, named by the entity's handle and the key. With missing allowed
// (the pick step reads a missing length as none), only a given value is
// checked.
CutSettingFault CheckRiserLength(const CObjDataNew& riser, bool missingAllowed = false);

// A product's "L" as the catalogue is asked with it, in millimetres: a
// length above 0 and up to 1000 m when the product has one; a bad one is
// named by the entity's handle and the key.
CutSettingFault CheckProductLength(const CJovData& product, const resbuf* entity);

// The picked pipe's "_DIST_PIPE" in drawing units, as the branch dialog
// shows it in metres ("%.1f"): false when the shown distance is no usable
// length (then the user types one).
bool ReadPickedPipeDistance(const char* text, int unitsPerMetre, CString& shown);

// The next section number the riser dialog shows for the one stored: one
// higher, the largest kept as it is.
int NextCutNumber(unsigned stored);
