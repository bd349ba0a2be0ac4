// What the network readers take from an entity's extended data into its
// record.
#pragma once

#include <initializer_list>

#include "dataformat/resbuf.h"
#include "platform/mfc/CString.h"

class CObjDataNew;
class CObjSezNew;

// Copies properties of the record's extended data into the record's fields
// of the same meaning ("_NBRANCH" into the branch name, "CM" into CM, ...);
// a missing property gives an empty field. Keys without a field are not
// copied.
void CopyProperties(CObjDataNew& record, std::initializer_list<const char*> keys);

// A property of the record's extended data; empty when missing.
CString PropertyOf(const CObjDataNew& record, const char* key);

// The include flag of a type code (its 8th character); '\0' for a shorter
// code.
char IncludeFlagOf(const char* typeCode);

// Object type of a pipe piece by its type code: 5 for "TPP" and "TP6", 6 for
// "TPZ" and "TP7", 0 otherwise.
int PipeKindOf(const char* typeCode);

// The text after the chain's "JOV_LINK" application name (without regard
// to case), pointing into the chain; "" when there is none.
const char* LinkHandleOf(const resbuf* chain);
// The same after that name's node, found already (null gives "").
const char* LinkHandleAfter(const resbuf* linkApplication);

// Lets go of the extended data read into every record of the list and of
// its all-records array (their chains stay), and of the properties'
// memory when no other record holds any.
void ForgetReadData(CObjSezNew& list);
