// The one way the system's changes reach the drawing: the records of a list
// are sent to the host one entity chain at a time. A record read from the
// drawing is sent behind its entity name, so the host replaces that entity;
// a record the system built has no name and becomes a new entity, shifted
// by the list's displacement first. The include flag of picked entities is
// toggled on the same path.
#pragma once

#include <cstdint>

#include "dataformat/resbuf.h"

class CObjDataNew;
class CObjSezNew;

// The records in list order: those before the read-record count with their
// built chain or their chain as read; the rest (unless onlyRead, which
// stops there) shifted unless the shift marker is "0", then with their
// built chain. The host's answers are not examined. Returns 1.
int WriteRecordsToDrawing(CObjSezNew& list, bool onlyRead);

// Every record of the all-records array, then every record of the list,
// each with its built chain or its chain as read, unshifted. Returns 1.
int WriteAllRecords(CObjSezNew& list);

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

// Sends one chain of the record: behind its entity name when it has one.
int WriteRecordChain(const CObjDataNew& record, const resbuf* chain);
// Sends a chain: behind a name node of the entity's name (two words) when
// one is given, so the host replaces that entity; else as a new entity.
int WriteEntityChain(const resbuf* chain, const int64_t* entityName);
