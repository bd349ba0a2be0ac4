// The start of a riser in an older section drawing: its two vertical pipes
// from the floor and its number above them.
#pragma once

class CObjSez;
class JovCutParamsOld;
namespace jovDatabase {
class Database;
}

// With DRAW_PIPE, two pipes from the floor (PIPE_FLOOR_DIST below it when
// that is negative) up HEIGHT, at the base point's x and DIST_PIPE to its
// right: supply then return, or the other way round with PIPE_SWITCH, each
// on its pipe type's layer with that type's piece data. With DESC_RISER,
// the riser number above them (on a bubble with BUBBLE_BRANCH 1).
void DrawOldRiserStart(CObjSez& records, const JovCutParamsOld& params, jovDatabase::Database* db);
// The same on the last floor: the first pipe rises PIPE_FLOOR_DIST +
// DIST_PIPE, the second PIPE_FLOOR_DIST, and the number sits above the
// first.
void DrawOldRiserStartLastFloor(CObjSez& records, const JovCutParamsOld& params,
                                jovDatabase::Database* db);
