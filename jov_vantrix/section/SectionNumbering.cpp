#include "jov_vantrix/section/SectionNumbering.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <cmath>
#include <cstdlib>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "common/CDravikFunc.h"
#include "common/CGroupChainRef.h"
#include "common/GroupChainBuilder.h"
#include "dataformat/GroupCodeChain.h"
#include "dataformat/HeapCopy.h"
#include "common/Prefetch.h"
#include "jov_vantrix/frame/CommandHost.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/CObjSezNew.h"
#include "jov_vantrix/network/EntityChains.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/network/NewSegmentLabels.h"
#include "jov_vantrix/network/RecordGeometry.h"
#include "jov_vantrix/network/RecordWriteBack.h"
#include "platform/win32/code_page.h"

namespace {

constexpr const char* kLabelApplication = kSegmentLabelApplication;
constexpr const char* kLabelKey = kSegmentLabelKey;

bool IsText(const resbuf* node, int16_t code) { return node && node->code == code; }

// The pairs of the first "JOV_DATA" block and the node before them.
resbuf* FindPairs(resbuf* chain, CString* typeCode, resbuf** before) {
  resbuf* node = chain;
  if (!FindApplication(&node, "JOV_DATA")) return nullptr;
  resbuf* code = node->next;
  if (!IsText(code, 1000)) return nullptr;
  const char* text = code->value.text ? code->value.text : "";
  if (typeCode) *typeCode = text;

  long long cells = 0;
  if (std::strncmp(text, "E@", 2) == 0) {
    char* end = nullptr;
    const long long rows = std::strtoll(text + 2, &end, 10);
    if (*end != 'x') return nullptr;
    const long long columns = std::strtoll(end + 1, nullptr, 10);
    // More cells than any chain holds end the walk below at its end.
    if (rows > 0 && columns > 0) cells = rows > INT32_MAX || columns > INT32_MAX ? INT64_MAX : rows * columns;
  }
  resbuf* last = code;
  for (long long i = 0; i < cells; ++i) {
    if (!last->next) return nullptr;
    last = last->next;
  }
  *before = last;
  return last->next;
}

bool IsPairAt(const resbuf* node) { return IsText(node, 1000) && IsText(node->next, 1000); }

// strcmp(a, b) == 0 inline: keys mostly differ in their first bytes, where
// a call would cost more than the comparison.
bool SameKey(const char* a, const char* b) {
  while (*a && *a == *b) ++a, ++b;
  return *a == *b;
}

constexpr size_t kTextInNodeBytes = sizeof(resbuf) - offsetof(resbuf, value) - sizeof(char*);

bool TextInNode(const resbuf* node) {
  return node->value.text == reinterpret_cast<const char*>(&node->value) + sizeof(char*);
}

// Writes value over a text node's text where it fits: a text in its node
// (as a copy into the arena keeps a short one) has the node's room, the
// bytes after its 0 cleared as the copy leaves them; any other text its
// own length. False when it does not fit.
bool WriteOver(resbuf* node, const char* value) {
  const size_t bytes = std::strlen(value) + 1;
  if (TextInNode(node)) {
    if (bytes > kTextInNodeBytes) return false;
    std::memset(node->value.text, 0, kTextInNodeBytes);
  } else if (!node->value.text || bytes > std::strlen(node->value.text) + 1) {
    return false;
  }
  std::memcpy(node->value.text, value, bytes);
  return true;
}

// A key and value node from the heap, or, given the holder of the chain
// they go into, as it hands them out.
resbuf* NewPair(const char* key, const char* value, CGroupChainRef* held) {
  if (held) {
    resbuf* keyNode = held->NewTextNode(1000, key);
    resbuf* valueNode = keyNode ? held->NewTextNode(1000, value) : nullptr;
    if (!valueNode) {
      FreeHeldChainNodes(keyNode);
      return nullptr;
    }
    keyNode->next = valueNode;
    return keyNode;
  }
  resbuf* keyNode = nullptr;
  resbuf* valueNode = nullptr;
  if (!CreateGroupCodeNode(&keyNode, 1000, key) || !CreateGroupCodeNode(&valueNode, 1000, value)) {
    FreeGroupCodeChain(keyNode);
    FreeGroupCodeChain(valueNode);
    return nullptr;
  }
  keyNode->next = valueNode;
  return keyNode;
}

// A key and the value it is to take (never null).
struct PairValue {
  const char* key;
  const char* value;
};

// SetJovDataValue on the pairs that follow before (the type code or the
// last matrix cell; a null before means there are none) for each of up to
// four values in turn, their keys all different, in one walk over the
// pairs: results[i], when asked for, is what setting values[i] alone, after
// those before it, gives. held: the holder of a chain taken with
// GetChainForCompactWrite, which hands out what is hung in.
void SetPairValues(resbuf* before, std::span<const PairValue> values, int* results,
                   CGroupChainRef* held = nullptr) {
  constexpr size_t kMost = 4;
  resbuf* found[kMost] = {};  // the key node of each value's first pair
  const size_t count = std::min(values.size(), kMost);
  size_t missing = count;
  resbuf* node = before ? before->next : nullptr;
  resbuf* previous = before;
  resbuf* beforeLastKey = nullptr;
  bool anyPair = false;
  while (missing && IsPairAt(node)) {
    if (const char* key = node->value.text) {
      for (size_t i = 0; i < count; ++i)
        if (!found[i] && SameKey(key, values[i].key)) {
          found[i] = node;
          --missing;
          break;
        }
    }
    beforeLastKey = previous;
    anyPair = true;
    previous = node->next;
    node = previous->next;
  }
  // A new pair goes in front of the first node after the pairs, or of the
  // last pair when they end the chain; the next one behind it.
  resbuf* at = node ? previous : beforeLastKey;
  auto set = [&](const char* key, const char* value, resbuf* keyNode) {
    if (keyNode) {
      resbuf* valueNode = keyNode->next;
      // The chain's texts are its own (the old one would be freed otherwise).
      if (WriteOver(valueNode, value)) return 1;
      char* copy = held ? held->NewText(value) : DupString(value);
      if (!copy) return 0;
      // The chain may be a record's compact one.
      FreeHeldChainText(valueNode->value.text);
      valueNode->value.text = copy;
      return 1;
    }
    if (!anyPair) return 0;
    resbuf* pair = NewPair(key, value, held);
    if (!pair) return 0;
    pair->next->next = at->next;
    at->next = pair;
    at = pair->next;
    return 2;
  };
  for (size_t i = 0; i < count; ++i) {
    const int result = set(values[i].key, values[i].value, found[i]);
    if (results) results[i] = result;
  }
}

// SetPairValues of one value, or removes the key's first pair (a null value).
int SetPairValue(resbuf* before, const char* key, const char* value, CGroupChainRef* held = nullptr) {
  if (!key) return 0;
  if (value) {
    int result = 0;
    const PairValue one{key, value};
    SetPairValues(before, std::span<const PairValue>(&one, 1), &result, held);
    return result;
  }
  resbuf* node = before ? before->next : nullptr;
  resbuf* previous = before;
  while (IsPairAt(node)) {
    resbuf* valueNode = node->next;
    if (node->value.text && std::strcmp(node->value.text, key) == 0) {
      previous->next = valueNode->next;
      valueNode->next = nullptr;
      FreeHeldChainNodes(node);
      return 1;
    }
    previous = valueNode;
    node = valueNode->next;
  }
  return 2;
}

// "%d" or "e%d" of a number, without going through printf or the heap.
class NumberText {
 public:
  NumberText(bool generated, int64_t number) {
    char* start = generated ? text_ + 1 : text_;
    *std::to_chars(start, text_ + sizeof text_ - 1, number).ptr = '\0';
  }
  operator const char*() const { return text_; }

 private:
  char text_[16] = "e";  // "e", a sign and the ten digits of two ints added fit
};

}  // namespace

namespace {

CObjDataNew* At(const CPtrArray& sequence, INT_PTR i) { return static_cast<CObjDataNew*>(sequence[i]); }

// The records of the sequences, nulls left out, in the order they were
// read, in which their records and chains were made one after another: a
// walk in that order reads memory on, not back and forth between the
// sequences. Ordered by a count of each index, kept as given when the
// indexes span more than eight times the records (the count would cost
// more than it saves). A record met twice stays twice, in the order given.
std::vector<CObjDataNew*> InReadingOrder(std::span<const CPtrArray* const> sequences) {
  std::vector<CObjDataNew*> records;
  uint32_t largest = 0;
  for (const CPtrArray* sequence : sequences) {
    for (INT_PTR i = 0; i < sequence->GetSize(); ++i) {
      if (const CObjDataNew* ahead = i + 8 < sequence->GetSize() ? At(*sequence, i + 8) : nullptr)
        PrefetchBytes(&ahead->m_index, sizeof(uint32_t));
      if (CObjDataNew* r = At(*sequence, i)) {
        records.push_back(r);
        largest = std::max(largest, r->m_index);
      }
    }
  }
  if (records.size() < 2 || largest / 8 >= records.size()) return records;
  std::vector<uint32_t> starts(size_t{largest} + 2, 0);
  for (const CObjDataNew* r : records) ++starts[r->m_index + 1];
  for (size_t k = 1; k < starts.size(); ++k) starts[k] += starts[k - 1];
  std::vector<CObjDataNew*> ordered(records.size());
  for (CObjDataNew* r : records) ordered[starts[r->m_index]++] = r;
  return ordered;
}

// The number keys of a record written into the chain it is written with.
void WriteRecordNumbers(CObjDataNew* record, bool generated, int32_t start) {
  // In 64 bits: a connect read as the largest int plus the first number
  // would overflow an int.
  const NumberText number(generated, int64_t{record->GetNumber()} + start - 1);
  const NumberText connect(generated, record->GetConnect() != 0 ? int64_t{record->GetConnect()} + start - 1 : 0);
  // A chain as read takes the new numbers from its holder, so that
  // letting the record go stays a count.
  CGroupChainRef* held = record->m_pBuiltChain ? nullptr : &record->m_entityChain;
  resbuf* chain = held ? held->GetChainForCompactWrite() : record->m_pBuiltChain;
  // The pairs are found once: what a set adds goes in after the node
  // before them.
  resbuf* before = nullptr;
  FindPairs(chain, nullptr, &before);
  const PairValue values[] = {
      {"_DW_NUMBER", number}, {"_DW_CONNECT", connect}, {"_DW_NUMBER_ORIG", number}, {"_DW_CONNECT_ORIG", connect}};
  SetPairValues(before, std::span<const PairValue>(values, generated ? 4 : 2), nullptr, held);
}

}  // namespace

void ReverseSectionNumbers(CObjSezNew& list) {
  const INT_PTR n = list.m_sectionSupply.GetSize();
  for (CPtrArray* sequence : {&list.m_sectionSupply, &list.m_sectionReturn}) {
    for (INT_PTR i = 0; i < n && i < sequence->GetSize(); ++i) {
      CObjDataNew* r = At(*sequence, i);
      if (!r) continue;
      r->SetNumber(static_cast<int>(n + 1 - r->GetNumber()));
      r->SetConnect(i == 0 ? 0 : static_cast<int>(n + 1 - r->GetConnect()));
    }
  }
}

void RenumberSectionFrom(CObjSezNew& list, int64_t start) {
  const INT_PTR n = list.m_sectionSupply.GetSize();
  for (CPtrArray* sequence : {&list.m_sectionSupply, &list.m_sectionReturn}) {
    const INT_PTR size = sequence->GetSize();
    CObjDataNew* first = size > 0 ? At(*sequence, 0) : nullptr;
    if (first) {
      first->SetNumber(static_cast<int>(size));
      if (CObjDataNew* second = size > 1 ? At(*sequence, 1) : nullptr) second->SetConnect(first->GetNumber());
    }
    for (INT_PTR i = start < 0 ? 0 : static_cast<INT_PTR>(start); i < n && i < size; ++i) {
      CObjDataNew* r = At(*sequence, i);
      if (!r) continue;
      r->SetNumber(static_cast<int>(n - r->GetNumber()));
      r->SetConnect(static_cast<int>(n - r->GetConnect()));
    }
  }
}

void SpliceChainNumbers(CObjSezNew&, CPtrArray& sequence, int64_t position, const CPtrArray& run) {
  const INT_PTR size = sequence.GetSize();
  if (position < 1 || position > size) return;
  const INT_PTR p = static_cast<INT_PTR>(position);
  const CObjDataNew* base = At(sequence, p - 1);
  const int b = base ? base->GetNumber() : 0;
  const int c = base ? base->GetConnect() : 0;
  const int k = static_cast<int>(run.GetSize());
  for (INT_PTR j = p; j < size; ++j) {
    CObjDataNew* r = At(sequence, j);
    if (!r) continue;
    r->SetNumber(r->GetNumber() + k);
    if (j > p && r->GetConnect() > c) r->SetConnect(r->GetConnect() + k);
  }
  for (INT_PTR j = 0; j < run.GetSize(); ++j) {
    CObjDataNew* r = At(run, j);
    if (!r) continue;
    r->SetNumber(r->GetNumber() + b);
    r->SetConnect(j > 0 ? b + r->GetConnect() : b);
  }
}

int64_t FindRecordPosition(const CObjSezNew&, const CPtrArray& sequence, const CObjDataNew* record) {
  if (!record) return -1;
  for (INT_PTR i = 0; i < sequence.GetSize(); ++i)
    if (sequence[i] == record) return i + 1;
  return -1;
}

resbuf* FindJovDataPairs(resbuf* chain, CString* typeCode) {
  resbuf* before = nullptr;
  return FindPairs(chain, typeCode, &before);
}

int SetJovDataValue(const char* key, const char* value, resbuf* chain) {
  resbuf* before = nullptr;
  FindPairs(chain, nullptr, &before);
  return SetPairValue(before, key, value);
}

const char* SegmentLabelPiece(const resbuf* chain) {
  const resbuf* node = FindGroupCode(chain, 1001);
  if (!node || !node->value.text || _mbsicmp(node->value.text, kLabelApplication) != 0) return nullptr;
  node = node->next;
  if (!node || !IsStringNode(node) || !node->value.text || _mbsicmp(node->value.text, kLabelKey) != 0)
    return nullptr;
  node = node->next;
  return node && node->code == 1000 && node->value.text ? node->value.text : "";
}

namespace {

// Where the label of a record stands: beside its vertical piece, above the
// second end of any other; a record standing for another's piece (a
// riser-side end's copy) one and a half label heights above that piece's
// own label, clear of it. The ends of a chain as read are the record's
// (measured when it was read; no writer moves a read piece's points): only a
// built chain is walked, and the length is measured only when asked.
GLVector LabelPoint(const CObjDataNew& record, double labelHeight, double* length) {
  const CObjDataNew& piece = record.DrawnPiece();
  GLVector first = piece.m_start;
  GLVector second = piece.m_end;
  if (piece.m_pBuiltChain || length) {
    first = second = GLVector();
    double measured = 0.0;
    GetChainPathEnds(piece.GetChain(), first, second, measured);
    if (length) *length = measured;
  }
  GLVector at((first.x + second.x) * 0.5, (first.y + second.y) * 0.5, (first.z + second.z) * 0.5);
  if (first.x == second.x)
    at.x += labelHeight;
  else
    at.y = second.y + labelHeight * 0.5;
  if (&piece != &record) at.y += labelHeight * 1.5;
  return at;
}

resbuf* LabelTag(const char* handle) {
  return GroupChainBuilder(0).Build(-3, nullptr, 1001, kLabelApplication, 1000, kLabelKey, 1000,
                                    handle ? handle : "", -9);
}

// Hints the kind of the record i + 8 ahead, which tells whether it can be
// a label: only a TEXT's chain is read for its tag.
void PrefetchKindAhead(const CPtrArray& records, INT_PTR i) {
  constexpr INT_PTR kRecordsAhead = 8;
  if (i + kRecordsAhead < records.GetSize())
    PrefetchBytes(&static_cast<const CObjDataNew*>(records[i + kRecordsAhead])->m_entityKind, sizeof(int32_t));
}

// Hints what labelling reads of the pieces ahead of the i-th, in three
// steps as the numbers' walk does: a piece's first lines (numbers, ends,
// chain fields), its chain holder's block, then its chain's first nodes,
// which hold the handle.
void PrefetchHandleAhead(const CPtrArray& sequence, INT_PTR i) {
  constexpr INT_PTR kRecordsAhead = 12;
  constexpr INT_PTR kBlocksAhead = 6;
  constexpr INT_PTR kChainsAhead = 3;
  constexpr size_t kHandleBytes = 2 * sizeof(resbuf);
  const INT_PTR n = sequence.GetSize();
  if (i + kRecordsAhead < n) {
    if (const CObjDataNew* r = At(sequence, i + kRecordsAhead)) r->PrefetchWalkedFields();
  }
  if (i + kBlocksAhead < n) {
    if (const CObjDataNew* r = At(sequence, i + kBlocksAhead)) r->m_entityChain.PrefetchBlock();
  }
  if (i + kChainsAhead < n) {
    if (const CObjDataNew* r = At(sequence, i + kChainsAhead)) PrefetchBytes(r->m_entityChain.GetChain(), kHandleBytes);
  }
}

// A label read from the drawing is erased when written back; any other (a
// kept copy without a name), or any on a host that cannot erase, becomes a
// copy showing nothing, its tag naming no piece.
void RemoveLabel(CObjDataNew& label) {
  const CDravikFunc* host = CommandHost();
  if (label.m_hasEntityName && host && host->alt_entdel) {
    label.m_erase = true;
    return;
  }
  resbuf* copy = nullptr;
  if (!DuplicateGroupCodeChain(label.m_entityChain.GetChain(), &copy)) return;
  resbuf* text = FindGroupCode(copy, 1);
  resbuf* tag = FindGroupCode(copy, 1001);
  resbuf* piece = tag && tag->next ? tag->next->next : nullptr;
  for (resbuf* node : {text, piece}) {
    if (!node || !IsStringNode(node)) continue;
    char* empty = DupString("");
    if (!empty) continue;
    std::free(node->value.text);
    node->value.text = empty;
  }
  label.SetBuiltChain(copy);
}

}  // namespace

void RenewSegmentLabels(CObjSezNew& list, const CPtrArray& sequence, const JovCutParams& params, int32_t start,
                        double labelHeight, double labelWidthFactor, const char* labelLayer, int32_t withLabels) {
  const bool generated = start < 1;
  if (generated) start = 1;
  // The labels an earlier export drew, by the piece they name; those no
  // record takes are removed at the end.
  std::unordered_map<std::string, std::vector<CObjDataNew*>> earlier;
  for (INT_PTR i = 0; i < list.m_allRecords.GetSize(); ++i) {
    PrefetchKindAhead(list.m_allRecords, i);
    auto* label = static_cast<CObjDataNew*>(list.m_allRecords[i]);
    if (label->m_entityKind != kEntityText) continue;
    const char* piece = SegmentLabelPiece(label->m_entityChain.GetChain());
    if (piece && *piece) earlier[piece].push_back(label);
  }
  // A first export labels every piece; handles are rarely longer than 8.
  if (withLabels) list.m_newLabels.Reserve(static_cast<size_t>(sequence.GetSize()), 8);

  for (INT_PTR i = 0; i < sequence.GetSize(); ++i) {
    PrefetchHandleAhead(sequence, i);
    auto* record = static_cast<CObjDataNew*>(sequence[i]);
    if (!record) continue;
    const NumberText number(generated, record->GetNumber() + start - 1);
    // A copy standing for a piece is labelled there and names it: a
    // re-export finds its label again.
    const char* handle = GetEntityString(record->DrawnPiece().m_entityChain.GetChain(), 5);
    auto found = handle && !earlier.empty() ? earlier.find(handle) : earlier.end();
    double length = 0.0;
    const GLVector at = LabelPoint(*record, labelHeight, found != earlier.end() ? &length : nullptr);
    CObjDataNew* kept = nullptr;
    if (found != earlier.end()) {
      // A copied network's labels name the pieces they were copied from:
      // only a label beside the piece is its own. A piece labelled twice
      // (its own number and a copy's) has each record take the nearest.
      std::vector<CObjDataNew*>& labels = found->second;
      double nearest = std::fabs(length) * 0.5 + std::fabs(labelHeight) * 2.0 + 1e-6;
      size_t taken = labels.size();
      for (size_t k = 0; k < labels.size(); ++k) {
        GLVector point;
        GetEntityPoint(labels[k]->m_entityChain.GetChain(), point, 10);
        const double distance = std::sqrt((point.x - at.x) * (point.x - at.x) + (point.y - at.y) * (point.y - at.y) +
                                          (point.z - at.z) * (point.z - at.z));
        if (distance <= nearest) {
          nearest = distance;
          taken = k;
        }
      }
      if (taken < labels.size()) {
        kept = labels[taken];
        labels.erase(labels.begin() + static_cast<ptrdiff_t>(taken));
      }
      if (labels.empty()) earlier.erase(found);
    }
    if (kept) {
      kept->m_erase = false;
      // Held by the list, in one block rather than two dozen heap blocks;
      // the label's chain as read stays its own.
      if (resbuf* chain = list.m_newLabels.HoldChain(labelLayer, labelHeight, labelWidthFactor, params.m_angle, at,
                                                     number, handle)) {
        kept->SetBuiltChain(nullptr);
        kept->m_pBuiltChain = chain;
        kept->m_ownsBuiltChain = false;
      } else {
        kept->SetBuiltChain(TextEntityChain(labelLayer, number, at, labelHeight, &params.m_angle, labelWidthFactor,
                                            0, 0, LabelTag(handle)));
      }
    } else if (withLabels) {
      list.m_newLabels.Add(labelLayer, labelHeight, labelWidthFactor, params.m_angle, at, number, handle);
    }
  }
  // Labels of pieces no longer in the network (deleted, or another's), and
  // those beside no record of theirs.
  for (auto& [piece, labels] : earlier)
    for (CObjDataNew* label : labels) RemoveLabel(*label);
}

namespace {

// Handles held by records, looked up by text: sorted views of the records'
// own chains, not a hash node and a copy each (tens of thousands a run).
class HandleSet {
 public:
  void Add(const resbuf* chain) {
    const char* handle = GetEntityString(chain, 5);
    handles_.emplace_back(handle ? handle : "");
  }
  void Seal() { std::sort(handles_.begin(), handles_.end()); }
  bool Has(std::string_view handle) const { return std::binary_search(handles_.begin(), handles_.end(), handle); }

 private:
  std::vector<std::string_view> handles_;
};

}  // namespace

bool ReadDrawingLabels(CObjSezNew& list, const CPtrArray& sequence) {
  const CDravikFunc* host = CommandHost();
  if (!host || !host->alt_entnext_app) return false;
  auto handleOf = [](const resbuf* chain) {
    const char* handle = GetEntityString(chain, 5);
    return std::string_view(handle ? handle : "");
  };
  // The handles of the sequence's pieces, and the names of the entities
  // records were read from (a label among them is read already; a label
  // without a name is never taken): made once the drawing is found to hold
  // a label (a first export has none).
  HandleSet pieces;
  using Name = std::pair<int64_t, int64_t>;
  std::vector<Name> read;
  bool known = false;
  auto know = [&]() {
    if (known) return;
    known = true;
    for (INT_PTR i = 0; i < sequence.GetSize(); ++i)
      if (const auto* record = static_cast<const CObjDataNew*>(sequence[i]))
        pieces.Add(record->DrawnPiece().m_entityChain.GetChain());
    pieces.Seal();
    read.reserve(static_cast<size_t>(list.m_allRecords.GetSize()));
    for (INT_PTR i = 0; i < list.m_allRecords.GetSize(); ++i) {
      const auto* record = static_cast<const CObjDataNew*>(list.m_allRecords[i]);
      if (record->m_hasEntityName) read.emplace_back(record->m_entityName[0], record->m_entityName[1]);
    }
    std::sort(read.begin(), read.end());
  };

  // The labels of the sequence's pieces, and those naming a piece the
  // drawing no longer has; a label of another drawn piece (a section's, or
  // another network's) is not this export's to renew.
  std::vector<std::unique_ptr<CObjDataNew>> found;
  bool othersNamed = false;
  for (const resbuf* entity = host->alt_entnext_app(1, kLabelApplication); entity;
       entity = host->alt_entnext_app(0, kLabelApplication)) {
    if (entity->code != -1) continue;
    const char* piece = SegmentLabelPiece(entity->next);
    if (!piece || !*piece) continue;
    know();
    if (std::binary_search(read.begin(), read.end(), Name(entity->value.name[0], entity->value.name[1]))) continue;
    std::unique_ptr<CObjDataNew> label(NewReadRecord(entity, list.m_readCount));
    if (!label || !label->m_hasEntityName || label->m_entityKind != kEntityText) continue;
    othersNamed = othersNamed || !pieces.Has(piece);
    found.push_back(std::move(label));
  }
  std::unordered_set<std::string> drawn;
  if (othersNamed)
    for (const resbuf* entity = host->alt_entnext_app(1, "JOV_DATA"); entity; entity = host->alt_entnext_app(0, "JOV_DATA"))
      drawn.insert(std::string(handleOf(entity->code == -1 ? entity->next : entity)));
  for (std::unique_ptr<CObjDataNew>& label : found) {
    const std::string piece = SegmentLabelPiece(label->m_entityChain.GetChain());
    if (!pieces.Has(piece) && drawn.count(piece)) continue;
    if (!list.m_heldRecords.AddTail(label.get())) continue;
    list.m_allRecords.Add(label.release());
  }
  return true;
}

void WriteSegmentNumbers(CObjSezNew& list, const CPtrArray& sequence, const JovCutParams& params,
                         int32_t start, double labelHeight, double labelWidthFactor,
                         const char* labelLayer, int32_t withLabels) {
  const CPtrArray* const one[] = {&sequence};
  WriteSequenceNumbers(one, start);
  if (withLabels)
    RenewSegmentLabels(list, sequence, params, start < 1 ? 0 : start, labelHeight, labelWidthFactor, labelLayer,
                       withLabels);
}

void WriteSequenceNumbers(std::span<const CPtrArray* const> sequences, int32_t start) {
  const bool generated = start < 1;
  if (generated) start = 1;
  const std::vector<CObjDataNew*> records = InReadingOrder(sequences);
  // The records ahead hinted in three steps, each needing what the one
  // before brought in: a record's first lines (numbers, chain fields), its
  // chain holder's block, then its chain. In the order read the chains lie
  // one after another and the walk reads most of each, up to its number
  // pairs: a pipe's first 1.5 KB. The hints stand in the loop itself: in a
  // function of their own GCC took it for one without effects and dropped
  // its calls.
  constexpr size_t kRecordsAhead = 12;
  constexpr size_t kBlocksAhead = 6;
  constexpr size_t kChainsAhead = 3;
  constexpr size_t kChainBytes = 1536;
  const size_t n = records.size();
  for (size_t i = 0; i < n; ++i) {
    if (i + kRecordsAhead < n) records[i + kRecordsAhead]->PrefetchWalkedFields();
    if (i + kBlocksAhead < n) records[i + kBlocksAhead]->m_entityChain.PrefetchBlock();
    if (i + kChainsAhead < n) PrefetchBytes(records[i + kChainsAhead]->GetChain(), kChainBytes);
    WriteRecordNumbers(records[i], generated, start);
  }
}
