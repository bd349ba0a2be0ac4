// Vantrix project lists: the binary list file in the profile, the import of
// the Vantrix programs' "cad" text files, and the look-ups the product
// dialogs make. Paths are the system's code page 1250 paths.
//
// List file (integers 32-bit little-endian): the record count, then per
// record its marked byte and its text fields in CTextData's binary form.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/CVantrixData.h"
#include "platform/mfc/CString.h"

// What a load found at the list's path.
enum class VantrixListFound {
  kAbsent,      // no file: an empty list
  kWhole,       // every record the file counts was read
  kDamaged,     // the file ends or breaks before the records it counts, or holds more
  kUnopenable,  // a file (or folder) is there but cannot be read: never taken as absent
};

struct VantrixListLoad {
  VantrixListFound found = VantrixListFound::kAbsent;
  uint32_t records = 0;  // complete records appended to the list
};

// Appends the complete records of the file to the list, in file order, and
// says what it found. A damaged or short file gives the complete records
// read before the damage. The stored count is only an upper bound: every
// record is read within what the file holds.
VantrixListLoad LoadVantrixDataList(CVantrixData& list, const char* path);

// Writes every record of the list, complete or not, over the list file the
// caller loaded it from (loaded: what that load found; a new list is
// kAbsent). Unless the file was read whole, whatever is at path is copied
// first to the next free numbered name "<path>.bak", "<path>.1.bak", ...
// (an earlier copy is never overwritten) and that is said once; loaded then
// becomes kWhole, so a later save of the same list writes plainly. A list
// that could not be opened, or a file that cannot be copied, is not
// written. The folder is created first; the file is replaced whole through
// the platform (a link stays a link, the file keeps its mode). Every
// failure is said with a message; false when the list was not written.
bool SaveVantrixDataList(const CVantrixData& list, const char* path, VantrixListLoad& loaded);

// Says a damaged list (with the records read) or one that cannot be opened;
// nothing for a list that is absent or whole.
void ShowVantrixListLoad(const char* path, const VantrixListLoad& loaded);

// Fields 2, 3, 7, 8 and 9 are all non-empty.
bool IsVantrixDataComplete(const CVantrixData& record);
// Whether any record of the list is complete (an imported file that gives
// none has no item to offer).
bool HasCompleteVantrixData(const CVantrixData& list);

// Appends one record per line of a "cad" file (line ends CR, LF or CR LF;
// lines are taken whole, however long). 1 when every line was taken, 0 when
// a record could not be appended or a line holds a byte that would end the
// text early (Ctrl-Z, NUL): the import stops there, what was appended stays
// and *refusedLine (when given) gets that line's number from 1, else 0. A
// single Ctrl-Z as the file's last byte is its old end mark and is taken as
// the end. -1 when the file cannot be opened.
int ImportVantrixCadFile(CVantrixData& list, const char* path, int* refusedLine = nullptr);

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
