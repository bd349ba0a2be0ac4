// Applying a result file of the calculation programs to the drawn network:
// the selection is read into one record list, its branches and their scheme
// associations named, each branch's section values written into the
// extended data of its numbered pipes, their products and the pipes linked
// to them, the products' description texts renewed, and the changed chains
// prepared for the write-back.
//
// Values of a section and where they go (P side for supply pipes, the
// other side for return pipes):
//   value 0, value 2            the catalogue's "PROP" names 0 and 3 (pipes)
//   name, values 3, 4, 5        "_NUM_SECID", "_NUM_ISOL_PROD",
//                               "_NUM_ISOL_NAME", "_NUM_ISOL_THICKNESS" (pipes)
//   P values 6, 7, 8            "VE", "_NUM_HYDR_VENTIL", "SR" (products)
//   P value 9                   "PR" and "_NUM_HYDR_SROUBENI" (products)
//   P values 10-14, texts       "_VANTRIX" fields 1-5 and 8-11 (products)
#pragma once

#include <map>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/mfc/CPtrArray.h"
#include "platform/mfc/CString.h"
#include "platform/mfc/CStringArray.h"

class CObjDataNew;
class CObjSezNew;
class CSecSezNew;
class JovCutParams;
struct SectionFileReport;
class CSecDataNew;

// What the applications of a file took from it, so that the import can
// name what it did not apply.
struct ImportAccount {
  std::unordered_set<const CSecDataNew*> usedSections;
  // The sections the export added for the riser-side ends of the applied
  // branches (named by such an end's connect): they stand for no drawn
  // pipe and are not missed.
  std::unordered_set<const CSecDataNew*> riserSideSections;
  // The pipes of an applied branch its sections missed, and the pipes any
  // application matched: a branch's pass runs over its whole scheme, where
  // the other branches' pipes are not its to miss and may be matched by
  // another branch's pass.
  std::vector<const CObjDataNew*> missedPipes;
  std::unordered_set<const CObjDataNew*> matchedPipes;

  // Numbers of the pipes of the applied branches that no section matched,
  // by branch name.
  std::map<std::string, std::set<int>> PipesWithoutSection() const;
};

// ApplyImportedSections: the catalogue names no property for value 0 or
// value 2 (the flow and the dimension), whose values would go under an
// empty key.
constexpr int kImportNoPropertyNames = -1;

// Reads the host's current selection into the list (network inserts, pipes
// numbered by an export, description texts; everything else as it is) and
// names its branches: 1 when every branch has exactly one scheme
// association (or there is no branch), else the count of the first branch
// that has not.
int ReadImportNetwork(CObjSezNew& list);

// The distinct non-empty branch names of the supply pipes, in list order.
void CollectBranchNames(const CObjSezNew& list, CStringArray& names);
// The distinct non-empty scheme associations of the supply pipes of a
// branch, in list order.
void CollectSchemeAssocs(const CObjSezNew& list, const CString& branch, CStringArray& assocs);

// Writes a branch's sections into the pipes of the parameter block's
// current scheme (its scheme stamp) whose numbers the branch holds. Returns
// how many pipes took a section: 0 for a null branch or without the 'T'
// catalogue, kImportNoPropertyNames (nothing written) when the catalogue
// names no property for value 0 or 2. With the file's report, a product's
// texts the file did not hold keep their values. With an account, notes
// the sections used, those the connects of the branch's riser-side supply
// pipes name, the branch's pipes no section matched and every pipe one did.
int ApplyImportedSections(CObjSezNew& list, JovCutParams& params, CSecSezNew* branch, int version,
                          const SectionFileReport* report = nullptr, ImportAccount* account = nullptr);

// The records sharing the record's link handle, other than itself, of its
// object type or risers, from the list or (fromUnassociated) from its
// unassociated records; each takes the record's number and connect. An
// empty handle links nothing.
void CollectLinkedRecords(CObjSezNew& list, CObjDataNew* record, CPtrArray& out, bool fromUnassociated);

// The network insert a pipe belongs to: the first with the pipe's branch
// number, association, CM and CT, or (excludedOnly) the first excluded one
// with its CM and CT; null when the pipe's CM or CT is empty or none fits.
CObjDataNew* FindProductForPipe(const CObjSezNew& list, const CObjDataNew* pipe, bool excludedOnly);

// The product's description texts (same branch number, association, CM and
// CT) take the line their "_NUM_DESC_LINE" names, "?" when there is none.
void UpdateDescriptionTexts(CObjSezNew& list, const CObjDataNew* product, const CStringArray& lines);

// Builds the chains to write: inserts and pipes get their extended-data
// blocks ("JOV_INSPT", "JOV_DATA", "_VANTRIX") rebuilt where the first of
// them stood, every other block kept in order; description texts their new
// text; everything else is written as read. Returns 1.
int StoreNetworkXData(CObjSezNew& list);
