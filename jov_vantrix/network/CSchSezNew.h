// The scheme of a network: its association groups, numbered 1, 2, ... in
// the order their "_NUM_ASSOC" values first appear, the next free segment
// number (the running counter of the export's numbering) and the undo
// stack of numbering steps.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "jov_vantrix/network/CNumSezNew.h"
#include "platform/mfc/CPtrArray.h"
#include "platform/mfc/CString.h"

class CObjDataNew;
class CUndoArray;

class CSchSezNew {
 public:
  CSchSezNew() = default;
  virtual ~CSchSezNew() = default;
  CSchSezNew(const CSchSezNew&) = delete;
  CSchSezNew& operator=(const CSchSezNew&) = delete;

  // Files the record into the group of its association (exact match), or
  // into a new group appended with the next number. Groups are looked up by
  // name through an index kept while groups are added here only; any other
  // change of the groups (emptying them, say) is noticed by their count and
  // the index made anew.
  void FileRecord(CObjDataNew* record);
  // The group with that number; null when none.
  CNumSezNew* FindGroup(uint32_t number) const;
  // The group numbered index + 1 when it is not fixed; else null.
  CNumSezNew* GetFreeGroup(uint32_t index) const;
  // Recolours the preview entities of the group's pipe records with the
  // style (SegmentStyle: supply and return pipes apart unless forced).
  // False, with nothing done, for a null group and, without force, for a
  // changed one.
  bool SetGroupStyle(CNumSezNew* group, bool force, uint32_t style);
  // Undoes the numbering step of the snapshot at that index of the undo
  // stack: the group's style is reset, its changed flag cleared, the
  // snapshot taken off the stack and its numbers restored. Undoing the last
  // step also gives its numbers back to the running counter. False when the
  // index or its group is not found.
  bool UndoStep(uint32_t index);

  CNumSezNew* GetFirstGroup() const { return static_cast<CNumSezNew*>(m_groups.GetHead()); }
  uint32_t GetGroupCount() const { return m_groups.GetCount(); }

  CString m_name;
  CNumSezNew m_groups{1};  // list head of the groups
  CPtrArray m_risers;
  uint32_t m_nextFreeNumber = 1;
  CUndoArray* m_pUndo = nullptr;  // the export dialog's, not owned

 private:
  std::unordered_map<std::string, CNumSezNew*> m_groupsByName;
  uint32_t m_indexedGroups = 0;
  // The entry of the index the last record was filed by: a reading meets
  // the records of one group one after another.
  std::pair<const std::string, CNumSezNew*>* m_lastFiled = nullptr;
};

// The preview style of a pipe record of that object type: 3 stays 3; with
// force the style is kept, else it becomes 1 for supply (5) and 5 for return
// (6) pipes.
uint32_t SegmentStyle(int objectType, bool force, uint32_t style);
