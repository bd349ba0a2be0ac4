// The older section list of one riser: built from the branch tree that the
// branch records' "_NUM_BRANCH" values describe, it gives every drawn
// product its "_NUM_SECTION" value and every drawn pipe its section id.
//
// From the root branch "A": its head section, then for each child of the
// root a section of the root leading into that child, followed by the
// child's head and one section per grandchild. Each section's next id is
// the one after it along its branch; a child's last section points back at
// the root section it hangs from, the root's last at nothing (0).
#pragma once

#include <cstdint>

#include "common/CSeznam.h"
#include "platform/mfc/CString.h"

class CJovData;
class CObjData;
class CObjSez;
class CSecData;

class CSecSez : public CSeznam {
 public:
  CSecSez() = default;
  ~CSecSez() override = default;

  CSecData* GetFirstSection() const;

  // A new section at the end of the list; null when it cannot be added.
  CSecData* AddSection(int32_t id, const char* branchName);
  // Builds the list anew from the branch records. False when there is no
  // root branch "A" or a child names a branch that has no record (an empty
  // child name never has one).
  bool BuildFromBranches(const CObjSez& records);
  // The sections of one child branch hanging from section parentId: its
  // head, then one per child of its own (their children get none). False
  // for a null branch or a child without a record.
  bool AddBranchSections(int32_t parentId, const CObjData* branch, const CObjSez& records);
  // The first section of that branch leading into that child; a child equal
  // to the branch counts as "" (the branch's head section). Null when none.
  CSecData* FindSection(const char* branch, const char* child) const;
  // "_NUM_SECTION" = "5;" and the Format of each section of the branch, in
  // list order, set in the data's properties.
  void StoreSectionKey(const char* branch, CJovData& data) const;

  int32_t m_idCounter = 0;
  CString m_name;

 private:
  // A section of the next id with the branch record's values (a head).
  CSecData* AddHeadSection(const CObjData& branch, const char* branchName);
};
