// Choice lists filled from the engine's records: a parameter's allowed
// values, and the group and name choices of the producer dialog.
#pragma once

class CComboBox;
class CListBox;
class CSeznam;
class CValueParam;

// Every non-empty allowed value (slot 2, '|'-separated). In metres (length
// display mode 1) the values of a length (status not 0, without bits 2, 3
// and 5) are shown as value / 1000 to four decimals.
void FillValueListBox(CListBox* box, CValueParam* param);

// Every distinct first group (slot 3) into first, every distinct second
// group (slot 4) into second.
void FillGroupCombos(const CSeznam& records, CComboBox* first, CComboBox* second);

// Empties both boxes; then for each record of these two groups its name
// (slot 0) into first and its second text (slot 1) into second, each once
// and when not empty, with the record as item data.
void FillCombosByGroups(const CSeznam& records, CComboBox* first, CComboBox* second, const char* group1,
                        const char* group2);
