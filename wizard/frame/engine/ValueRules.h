// Rules that set parameter values from outside sources: a bend radius from
// a size, radii from a pipe diameter, and the dimensions of a Vantrix
// project-list record or of the radiator catalogue's choice. Settings come
// from the profile's "Dat\Jov.ini", section "DESC".
#pragma once

class CListCtrl;
class CSeznam;
class CVantrixData;
struct KorpalinData;

// The first parameter "r" with status bit 4 takes 100, 150, 200 or 300 by
// the size (atoi) against the keys RADIUS100 (280), RADIUS150A..B (280 to
// 710), RADIUS200A..B (800 to 1150) and RADIUS300 (1250); its row in view
// shows it (metres: / 1000 to four decimals).
void ApplyBendRadiusDefault(CSeznam& params, CListCtrl* view, const char* size, unsigned lengthMode);

// For a product whose code holds "TPT", "VPS" or "VPK", a change of "d"
// sets every parameter named "r" plus at most one character to d times
// ZLEVEL_RADIUS (1.5).
void ApplyZLevelRadius(CSeznam& params, const char* productCode, const char* changedParam);

// "L", "V" and "S" take the record's fields 4, 5 and 6 as given by the
// caller; "CT" and "CM" its item (0) and room (10). False for no record.
bool ApplyVantrixRecord(CSeznam& params, const CVantrixData* record);

// "L", "V" and "S" take the catalogue record's length, height and depth
// ("%d") as given by the caller. False for no record.
bool ApplyCatalogueDimensions(CSeznam& params, const KorpalinData* record);
