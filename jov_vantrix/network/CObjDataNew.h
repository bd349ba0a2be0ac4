// One drawing object of the pipe network: the entity's chain as read or as
// built, its parsed extended data, the values the readers copy out of it,
// its numbers in the segment numbering, its geometry and the links the
// readers and generators hang on it. Records are owned by the list that
// holds them (a CObjSezNew or an association group).
#pragma once

#include <cfloat>
#include <cstdint>
#include <memory>

#include "common/CGroupChainRef.h"
#include "common/CSeznam.h"
#include "common/GLVector.h"
#include "common/Prefetch.h"
#include "common/qmArray.h"
#include "dataformat/resbuf.h"
#include "jov_vantrix/network/CJovData.h"
#include "jov_vantrix/network/COznArray.h"
#include "jov_vantrix/network/RecordText.h"
#include "platform/mfc/CPtrArray.h"
#include "platform/mfc/CString.h"
#include "platform/mfc/CStringArray.h"

class CNumSezNew;
class GLText;

// Entity kinds.
constexpr int32_t kEntityAsRead = 0;
constexpr int32_t kEntityLine = 1;
constexpr int32_t kEntityLwPolyline = 2;
constexpr int32_t kEntityInsert = 3;
constexpr int32_t kEntityText = 4;
constexpr int32_t kEntityCircle = 5;

// Object types: the record's role in the network.
constexpr int32_t kObjectOther = 0;          // anything else, and every built record
constexpr int32_t kObjectRiser = 1;          // riser insert ("_TYPE" holds 197)
constexpr int32_t kObjectNetworkInsert = 2;  // 0x100081 or 0x200081
constexpr int32_t kObjectDescription = 3;    // a description text of the network
constexpr int32_t kObjectSupplyPipe = 5;     // "TPP" / "TP6" pipe piece
constexpr int32_t kObjectReturnPipe = 6;     // "TPZ" / "TP7" pipe piece
constexpr int32_t kObjectPickedBranch = 7;   // the insert of the picked branch
constexpr int32_t kObjectSkipped = 8;        // an insert that runs skip

class CObjDataNew : public CSeznam {
 public:
  // A record of an entity: a private copy of chain is kept (none for a
  // null chain) and its path ends and length are measured from it, unless
  // its reader measures them (MeasurePath). With holder, chain is a node of
  // the chain it holds (see CGroupChainRef::Assign).
  CObjDataNew(int entityKind, int objectType, const resbuf* chain, uint32_t index,
              const CGroupChainRef* holder = nullptr, bool measure = true);
  // A record standing for source under new numbers, with no chain and no
  // extended data of its own: it keeps source's index, kinds, names and
  // description values, a nominal length of 20, and source's drawn piece
  // (DrawnPiece), which must outlive it (both are one group's).
  CObjDataNew(const CObjDataNew& source, int number, int connect);
  ~CObjDataNew() override;

  // Records come from a pool of their own (see SlabPool): the network's
  // walks read them over and over. A class derived with fields of its own
  // is larger and goes to the heap.
  static void* operator new(size_t size);
  static void operator delete(void* at, size_t size);

  int GetNumber() const { return m_number; }
  int GetReadNumber() const { return m_readNumber; }
  int GetConnect() const { return m_connect; }
  int GetReadConnect() const { return m_readConnect; }
  void SetNumber(int number) { m_number = number; }
  void SetReadNumber(int number) { m_readNumber = number; }
  void SetConnect(int connect) { m_connect = connect; }
  void SetReadConnect(int connect) { m_readConnect = connect; }

  CObjDataNew* GetNextRecord() const { return static_cast<CObjDataNew*>(GetNext()); }

  // Hints to the cache the fields that the network's walks read of every
  // record: the list links and those declared first, up to the chains.
  void PrefetchWalkedFields() const {
    const auto* begin = reinterpret_cast<const char*>(this);
    PrefetchBytes(begin, static_cast<size_t>(reinterpret_cast<const char*>(&m_pBuiltChain + 1) - begin));
  }

  // The piece in the drawing the record stands for: the one of the record
  // it was copied from, else the record itself. Its label goes there.
  const CObjDataNew& DrawnPiece() const { return m_pPiece ? *m_pPiece : *this; }

  // The chain to write: the built chain when there is one, else the chain
  // as read.
  const resbuf* GetChain() const { return m_pBuiltChain ? m_pBuiltChain : m_entityChain.GetChain(); }
  // Takes a chain built for this record (freed with the record while
  // m_ownsBuiltChain is set); a chain held before is freed.
  void SetBuiltChain(resbuf* chain);

 private:
  int32_t m_number = 0;
  int32_t m_readNumber = 0;
  int32_t m_connect = 0;
  int32_t m_readConnect = 0;

 public:
  uint32_t m_index = 0;
  int32_t m_entityKind = kEntityAsRead;
  int32_t m_objectType = kObjectOther;
  // What the network's walks read of every record comes first, up to the
  // chains, so that a walk touches the first few cache lines of a record,
  // not its whole size (and PrefetchWalkedFields can hint just those).
  CNumSezNew* m_pGroup = nullptr;
  CObjDataNew* m_pLinkA = nullptr;  // the record the end point meets
  CObjDataNew* m_pLinkB = nullptr;  // the record the start point meets
  RecordText m_riserNumber;    // "_NUM_RISER"
  RecordText m_riserPosition;  // "_POS_RISER"; "1" marks the riser-side end of a run
  GLVector m_start;
  GLVector m_end;
  double m_length = 0.0;
  RecordText m_branchName;  // "_NBRANCH"
  GLText* m_pNumberLabel = nullptr;
  CGroupChainRef m_entityChain;
  resbuf* m_pBuiltChain = nullptr;

  bool m_ownsBuiltChain = true;
  // The entity's name (group -1) when the record was read from the drawing:
  // written back behind it, the record replaces that entity.
  bool m_hasEntityName = false;
  // Written back, the entity is erased instead (a stale label).
  bool m_erase = false;
  bool m_flag1 = true;
  bool m_flag2 = true;
  bool m_offsetFlag = false;  // the product look-up fills "O2"
  bool m_flag3 = false;
  bool m_flag4 = false;
  int64_t m_entityName[2] = {0, 0};
  GLVector m_basePoint;
  // Set for a copy only: the record whose drawn piece it stands for.
  const CObjDataNew* m_pPiece = nullptr;

  RecordText m_branchNumber;  // "_NUM_BRANCH"
  RecordText m_sideNumber;    // "_NUM_SIDE"
  RecordText m_CM;
  RecordText m_CT;
  RecordText m_CZ;
  RecordText m_assoc;        // "_NUM_ASSOC"
  RecordText m_schemeAssoc;  // "_SCH_ASSOC"
  RecordText m_linkHandle;  // "JOV_LINK"

  CJovData m_jovData;

  CPtrArray m_previewEntities;
  CObjDataNew* m_pFurther1 = nullptr;
  // What only the section generator, the product look-up and the
  // calculation's import read of a record (what its riser runs keep, a
  // product, its box and third property, a description's text), and texts
  // nothing reads: a part of its own, made on first use, so that the
  // records of an export (which never make it but for the network's
  // products) stay several hundred bytes smaller to make, fill and let go.
  struct RunPart {
    RunPart() = default;
    ~RunPart();
    RunPart(const RunPart&) = delete;
    RunPart& operator=(const RunPart&) = delete;
    resbuf* m_pProductGeometry = nullptr;  // owned copies of the product look-up's results
    resbuf* m_pProductData = nullptr;
    RecordText m_riserPrefix;  // "_PREFIX_RISER"
    RecordText m_CR;
    CString m_text1;  // a description's text, as the calculation's import gives it
    // The box of the product's geometry (see ComputeBoundingBox), its
    // least corner above its greatest until it is grown.
    GLVector m_boxMin{DBL_MAX, DBL_MAX, DBL_MAX};
    GLVector m_boxMax{-DBL_MAX, -DBL_MAX, -DBL_MAX};
    CString m_thirdProperty;  // the catalogue's third "PROP" name
    CStringArray m_texts1;
    CStringArray m_texts2;
    COznArray m_descriptionLines;
    qmArray<double> m_values1;
    qmArray<double> m_values2;
    qmArray<double> m_values3;
    qmArray<double> m_values4;
    CPtrArray m_related[6];
  };
  RunPart& Runs() {
    if (!m_runs) m_runs = std::make_unique<RunPart>();
    return *m_runs;
  }
  // The part, or one of empty values while it is not made.
  const RunPart& RunsOrNone() const;
  // Sets a text of the part; an empty one makes no part.
  void SetRunText(RecordText RunPart::*field, const char* text);

 private:
  std::unique_ptr<RunPart> m_runs;
};

// A text field of records, in the record itself or in its run part: the
// tables of the readers that copy properties into records name them so.
struct RecordTextField {
  RecordText CObjDataNew::*inRecord = nullptr;
  RecordText CObjDataNew::RunPart::*inRuns = nullptr;
  void Set(CObjDataNew& record, const char* text) const {
    if (inRecord)
      record.*inRecord = text;
    else
      record.SetRunText(inRuns, text);
  }
};

// A record of an entity the host handed out, its chain taken from after the
// entity-name node, whose name the record keeps. Every road that reads
// records comes here: a TEXT's record is of kind kEntityText, any other's
// kEntityAsRead until its reader says more.
CObjDataNew* NewReadRecord(const resbuf* entity, uint32_t index, bool measure = true);
// The same for an entity's chain as a holder keeps it.
CObjDataNew* NewReadRecord(const CGroupChainRef& entity, uint32_t index, bool measure = true);
// The path ends and length of a record made unmeasured, from its chain.
void MeasurePath(CObjDataNew* record);

// Gives the memory of the records and of the chains and properties they
// keep back to the system when none is alive (the records' part of what
// malloc_trim does for the heap), and lets go of slabs made ahead.
void ReleaseRecordMemory();

// The record's number label in the export preview, when it has one, shows
// its number ("" for 0).
void UpdateNumberLabel(CObjDataNew* record);

// Object type as given and a riser number.
bool IsSegmentOfType(const CObjDataNew* record, int objectType);

// Connection class of a product by its "TY" property, compared with the
// resource strings 7, 8, 9, 10 and 51 (classes 1, 0, 3, 2, 4); 0 without
// "TY" or without a match.
int GetRecordTypeClass(const CObjDataNew* record);
// The same for a "TY" value; without the manifold, string 51 is not
// compared (no class 4).
int GetTypeClassOfValue(const char* type, bool withManifold);

// In the record's group, the first network insert (object type 2) with the
// record's CM and CT; null when CM or CT is empty, there is no group or no
// match.
CObjDataNew* FindPartnerRecord(const CObjDataNew* record);
