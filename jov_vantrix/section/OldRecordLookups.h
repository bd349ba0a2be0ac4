// Small finders over the records of the older section path.
#pragma once

class CObjData;
class CObjSez;

// The riser number of the first riser record (role 1); null when none.
const char* GetRiserNameText(const CObjSez& records);
// The trade letter (first character of the type code) of the first riser
// record; 'T' when there is none.
char GetRiserTradeLetter(const CObjSez& records);
// 1 when two branch records name different parents (empty parents left
// out; the first non-empty one is the reference), else 0.
int HasDifferentBranchParents(const CObjSez& records);
// The first branch record whose name is that name; null when none.
const CObjData* FindBranchRecord(const CObjSez& records, const char* name);
CObjData* FindBranchRecord(CObjSez& records, const char* name);
// The root branch record: the first one named "A"; null when none.
const CObjData* FindRootBranchRecord(const CObjSez& records);
CObjData* FindRootBranchRecord(CObjSez& records);
