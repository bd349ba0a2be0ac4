// The producer dialog's texts from outside and the texts it writes: the
// choice records of a product version's comment, the caller's packed date,
// and the dates it shows and hands on.
#pragma once

#include <cstddef>
#include <string>

class CComDATE;
class CSeznam;

// A comment field longer than this is cut.
constexpr size_t kChoiceFieldLength = 255;

// Appends a choice record (CPropData) for every record of the comment that
// has a field. Records end with LF; each field ends with CR, and a field
// not ended so is not taken. Fields: 0 type (slot 0), 1 measurement (slot
// 1), 2 description (slot 2), 3 and 4 the groups (slots 3 and 4, noGroup
// when missing or empty), every further one a child record holding it in
// slot 0. False when a record cannot be made (those before it stay).
bool ParseChoiceRecords(const std::string& comment, CSeznam& records, const char* noGroup);

// "dd.mm.yyyy" of a packed date text (year * 512 + month * 32 + day, its
// leading number read as atoi reads one, held to the int range); "" for
// null.
std::string UnpackDateText(const char* packed);
// The decimal packed form of a date; "" for a date outside those an
// automation date holds.
std::string PackedDateText(const CComDATE& date);
// "%d.%m.%Y" of a date, "" outside that range.
std::string VersionDateText(const CComDATE& date);
