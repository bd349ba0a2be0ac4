// One drawing object of the older section path (a picked riser, one of its
// branches, or an entity the older generators build) and the list of them.
// A record read from the drawing points at the host's chain without owning
// it: the host keeps what it hands out valid until the selection changes or
// the command ends. A built chain and the product's chains are the record's.
#pragma once

#include <cstdint>

#include "common/CSeznam.h"
#include "common/GLVector.h"
#include "dataformat/resbuf.h"
#include "jov_vantrix/network/CJovData.h"
#include "platform/mfc/CString.h"
#include "platform/mfc/CStringArray.h"

class JovCutParamsOld;
namespace jovDatabase {
class Database;
}

// Roles of a record.
constexpr int32_t kRoleOther = 0;
constexpr int32_t kRoleRiser = 1;
constexpr int32_t kRoleBranch = 2;

class CObjData : public CSeznam {
 public:
  // Entity kinds as the older writers set them; 3 also for an INSERT read.
  static constexpr int32_t kLine = 1;
  static constexpr int32_t kPolyline = 2;
  static constexpr int32_t kInsert = 3;
  static constexpr int32_t kText = 4;
  static constexpr int32_t kCircle = 5;

  CObjData(int32_t entityKind, int32_t role, const resbuf* readChain);
  ~CObjData() override;

  CObjData* GetNextRecord() const { return static_cast<CObjData*>(GetNext()); }
  // Takes a chain built for this record; one held before is freed.
  void SetBuiltChain(resbuf* chain);

  // Grows the product extents by the geometry (DEFPOINTS left out); in a
  // drawing in metres (1 unit per metre) both corners are then scaled by
  // 0.001.
  void SetProductExtents(const resbuf* geometry, int32_t unitsPerMetre);
  // Connection class by "TY": strings 7, 8, 9, 10 give 1, 0, 3, 2; no "TY"
  // or no match 0.
  int GetTypeClass() const;
  // Appends the description lines: the catalogue-product mask with
  // "_QPROD", else the scheme mask with a "_VANTRIX" record, else the mask
  // without product.
  void ExpandDescriptionMask(const JovCutParamsOld& params, CStringArray& lines) const;
  // "_NUM_BRANCH" is "name,parent,children...": index 0 the name, 1 the
  // parent, any other the comma list of children (further commas kept).
  // Each part is cut at 255 characters.
  void GetBranchPart(int index, CString& out) const;
  // The children, empty names included, appended to out (in reverse order
  // when reversed); nothing when there are none.
  void GetChildBranches(CStringArray& out, bool reversed) const;
  // The product of this record from the catalogue through the product
  // library, as the older generator asks for it: "O" is the floor height
  // and, with the same-item length on, "L" that length for the call only.
  // Copies of both chains become the record's (earlier ones freed) and the
  // extents grow by the geometry. False, the chains untouched, when the
  // catalogue does not know the type code or the library does not answer.
  bool LookupProduct(jovDatabase::Database* db, JovCutParamsOld& params);
  // The asking of LookupProduct without the copies: the library's result
  // (1 when both chains came, which stay the library's until PPFree); 0
  // when the catalogue does not know the type code.
  int AskProduct(jovDatabase::Database* db, JovCutParamsOld& params, resbuf** geometry, resbuf** data);

  // The extents' size.
  double ProductWidth() const { return m_extentsMax.x - m_extentsMin.x; }
  double ProductHeight() const { return m_extentsMax.y - m_extentsMin.y; }

  int32_t m_entityKind;
  int32_t m_role;
  const resbuf* m_pReadChain;  // the host's, without the name node
  resbuf* m_pBuiltChain = nullptr;
  resbuf* m_pProductGeometry = nullptr;
  resbuf* m_pProductData = nullptr;
  bool m_ownsBuiltChain = true;
  // The name node's value of a record read from the drawing: its chain is
  // written back behind it, so the host replaces the entity.
  bool m_hasEntityName = false;
  int64_t m_entityName[2] = {0, 0};
  GLVector m_insertionPoint;
  CJovData m_jovData;
  CString m_riserNumber;   // "_NUM_RISER"
  CString m_branchNumber;  // "_NUM_BRANCH"
  CString m_sideNumber;    // "_NUM_SIDE"
  // From the origin: the extents always take in the block's base point.
  GLVector m_extentsMin;
  GLVector m_extentsMax;
};

class CObjSez : public CSeznam {
 public:
  CObjData* GetFirstRecord() const { return static_cast<CObjData*>(GetHead()); }
};
