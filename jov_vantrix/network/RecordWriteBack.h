// The one way the system's changes reach the drawing: the records of a list
// are sent to the host one entity chain at a time. A record read from the
// drawing is sent behind its entity name, so the host replaces that entity;
// a record the system built has no name and becomes a new entity, shifted
// by the list's displacement first. The include flag of picked entities is
// toggled on the same path.
#pragma once

#include <cstdint>

#include "dataformat/resbuf.h"
#include "platform/mfc/CString.h"

class CObjDataNew;
class CObjSezNew;

// The records in list order: those before the read-record count with their
// built chain or their chain as read; the rest (unless onlyRead, which
// stops there) shifted unless the shift marker is "0", then with their
// built chain, and then (unless onlyRead) the list's new labels, shifted
// alike. 1 when the host took every chain, -1 when it refused one (the
// others are still sent; EndWrittenChange rolls them back).
int WriteRecordsToDrawing(CObjSezNew& list, bool onlyRead);

// Every record of the all-records array, then every record of the list,
// each with its built chain or its chain as read, then the list's new
// labels, unshifted. 1, or -1 as above.
int WriteAllRecords(CObjSezNew& list);

// A change around a write-back. Every chain sent goes through
// WriteEntityChain, which notes what the host refuses; a change that ends
// through EndWrittenChange is committed only when nothing was refused.
// Opens the host change and forgets the refusals noted before; false when
// the host has no change to open.
bool BeginWrittenChange();
// Ends the change with status; a commit of a change in which the host
// refused a chain is rolled back instead, and one message names the
// refused entities and the host's answers. The status the change ended
// with: 1 committed, -1 rolled back.
int EndWrittenChange(int status);
// The refusals noted since BeginWrittenChange, as the message names them:
// "handle 2A (host answer -5001)" or "new TEXT (...)", joined by ", ".
CString WriteRefusals();

// Adds the list's displacement to the points of groups 10 and 11 of the
// whole chain (extended-data points stay); nothing for a zero displacement.
void ShiftNewChain(const CObjSezNew& list, resbuf* chain);

// Lets the user pick entities (prompt string 49 to include, 50 to exclude)
// and reads each into a record of the list. An INSERT or LWPOLYLINE whose
// "JOV_DATA" type code has the other state at its include position (index
// 7) gets the requested one there, and nowhere else. Nothing is read when
// a selection step is refused. Returns 1.
int SetIncludeFlag(CObjSezNew& list, bool exclude);

// Moves the cursor to the first 1001 node naming the application (without
// regard to case): 1; 0 when the chain ends first.
int FindApplication(const resbuf** cursor, const char* name);
int FindApplication(resbuf** cursor, const char* name);
// Whether the node is a 1001 node naming the application, compared as
// FindApplication compares.
bool IsApplicationNode(const resbuf* node, const char* name);

// Sends one chain of the record: behind its entity name when it has one.
// A read record marked for erasing is erased instead.
int WriteRecordChain(const CObjDataNew& record, const resbuf* chain);
// Erases the entity of that name (its chain names it in a message) inside
// the open change. The host's answer; a refusal, or a host that cannot
// erase, is noted for EndWrittenChange as a refused write is.
int EraseEntity(const resbuf* chain, const int64_t* entityName);
// Sends a chain: behind a name node of the entity's name (two words) when
// one is given, so the host replaces that entity; else as a new entity.
// The host's answer; a refusal is noted for EndWrittenChange.
int WriteEntityChain(const resbuf* chain, const int64_t* entityName);
