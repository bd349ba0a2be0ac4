// Vantrix project lists: the binary list file in the profile, the import of
// the Vantrix programs' "cad" text files, and the look-ups the product
// dialogs make. Paths are the system's code page 1250 paths.
//
// List file (integers 32-bit little-endian): the record count, then per
// record its marked byte and its text fields in CTextData's binary form.
#pragma once

#include <string_view>

#include "common/CVantrixData.h"
#include "platform/mfc/CString.h"

// Appends the complete records of the file to the list, in file order. An
// absent or unreadable file changes nothing; a damaged or short file gives
// the complete records read before the damage. The stored count is only an
// upper bound: every record is read within what the file holds. False when
// the file is damaged: it ends or breaks before the records it counts, or
// holds more than they; a caller that writes the list back would lose what
// could not be read.
bool LoadVantrixDataList(CVantrixData& list, const char* path);

// Writes every record of the list, complete or not, creating the folder
// first. The file is written beside the old one and renamed over it, so a
// failed save leaves the old list as it was; a failure shows the
// "Error while opening output stream" message and returns false.
bool SaveVantrixDataList(const CVantrixData& list, const char* path);

// Fields 2, 3, 7, 8 and 9 are all non-empty.
bool IsVantrixDataComplete(const CVantrixData& record);
// Whether any record of the list is complete (an imported file that gives
// none has no item to offer).
bool HasCompleteVantrixData(const CVantrixData& list);

// Appends one record per line of a "cad" file (line ends CR, LF or CR LF;
// lines are taken whole, however long). 1 when every line was taken, 0 when a record could not be
// appended (the import stops there; what was appended stays), -1 when the
// file cannot be opened.
int ImportVantrixCadFile(CVantrixData& list, const char* path);

// Appends an 18-field record holding the line's ';'-separated fields from
// field 0 on; fields the line does not reach stay unset, text after the
// 18th field's separator is ignored. False only when the record could not
// be appended.
bool ParseVantrixCadLine(CVantrixData& list, std::string_view line);

// Look-ups of the product dialogs. Floors, rooms and items are compared
// without regard to case (code page 1250); a null text counts as "".

// True when every record is marked, also for an empty list.
bool AreAllVantrixDataMarked(const CVantrixData& list);
// The first unmarked record of the floor, in list order, whose room number
// (the room's leading integer) is at least that of room: room becomes its
// room text and the result is true. False (room unchanged) when none.
bool FindNextVantrixRoom(const CVantrixData& list, const char* floor, CString& room);
// The first record, marked or not, of that floor, room and item; null when
// none.
CVantrixData* FindVantrixData(const CVantrixData& list, const char* floor, const char* room,
                              const char* item);
