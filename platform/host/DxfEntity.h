// One object of a drawing that begins with a group 0 pair: an entity, a
// table entry, a BLOCK or ENDBLK record. Its pairs stay in file order.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/host/DxfPair.h"

namespace host {

struct DxfEntity;

// A POLYLINE's VERTEX run, an INSERT's ATTRIB run, each ending with its
// SEQEND. Most objects have none: they hold one null pointer for it rather
// than an empty list, and a drawing holds millions of objects. A run made
// during a large load lies in the load's arena, as the pair lists do: a
// heap of the load's threads keeps what is freed in it for good.
class EntityRun {
 public:
  EntityRun() noexcept = default;
  EntityRun(std::vector<DxfEntity>&& run);
  EntityRun(const EntityRun& other);
  EntityRun(EntityRun&& other) noexcept = default;
  EntityRun& operator=(const EntityRun& other);
  EntityRun& operator=(EntityRun&& other) noexcept = default;
  ~EntityRun();

  size_t size() const noexcept;
  bool empty() const noexcept { return size() == 0; }
  DxfEntity* begin() noexcept;
  DxfEntity* end() noexcept;
  const DxfEntity* begin() const noexcept;
  const DxfEntity* end() const noexcept;
  DxfEntity& operator[](size_t i) noexcept;
  const DxfEntity& operator[](size_t i) const noexcept;
  DxfEntity& back() noexcept;
  const DxfEntity& back() const noexcept;
  DxfEntity& emplace_back();
  void push_back(DxfEntity&& entity);
  void resize(size_t size);
  void reserve(size_t size);
  // Gives back the room beyond the objects when it is much.
  void Fit();

 private:
  struct List;
  List& Run();
  std::unique_ptr<List> run_;
};

struct DxfEntity {
  // Name of the object inside the drawing, stable while the drawing lives
  // and never written to a file (objects need not have handles).
  uint64_t id = 0;
  PairList pairs;  // from the group 0 pair on
  // Its run, kept with the entity it belongs to.
  EntityRun children;

  // An object made on its own (not in a run) during a large load takes its
  // memory from the load's arena, as the pair lists do, rather than from a
  // heap that all the load's threads share.
  static void* operator new(size_t size) { return AllocatePairs(size); }
  static void operator delete(void* object) noexcept { FreePairs(object); }

  std::string_view Type() const;  // trimmed value of group 0
  bool IsType(std::string_view type) const;

  // First pair with the code among the object's own data: pairs inside
  // 102 {...} groups and extended data (from the first 1001) are skipped.
  const DxfPair* Find(int16_t code) const;
  DxfPair* Find(int16_t code);
  // Trimmed value of Find(code), fallback when absent.
  std::string_view Value(int16_t code, std::string_view fallback = {}) const;

  std::optional<uint64_t> Handle() const;  // group 5; 105 for DIMSTYLE
  std::optional<uint64_t> Owner() const;   // group 330 outside 102 groups
  std::string_view Layer() const;          // group 8, "" when none
  std::string_view Name() const;           // group 2 (table entries, blocks)
};

struct EntityRun::List : std::vector<DxfEntity, PairAllocator<DxfEntity>> {
  static void* operator new(size_t size) { return AllocatePairs(size); }
  static void operator delete(void* list) noexcept { FreePairs(list); }
};

inline size_t EntityRun::size() const noexcept { return run_ ? run_->size() : 0; }
inline DxfEntity* EntityRun::begin() noexcept { return run_ ? run_->data() : nullptr; }
inline const DxfEntity* EntityRun::begin() const noexcept { return run_ ? run_->data() : nullptr; }
inline DxfEntity* EntityRun::end() noexcept { return begin() + size(); }
inline const DxfEntity* EntityRun::end() const noexcept { return begin() + size(); }
inline DxfEntity& EntityRun::operator[](size_t i) noexcept { return begin()[i]; }
inline const DxfEntity& EntityRun::operator[](size_t i) const noexcept { return begin()[i]; }
inline DxfEntity& EntityRun::back() noexcept { return end()[-1]; }
inline const DxfEntity& EntityRun::back() const noexcept { return end()[-1]; }

// Index of the first pair at or after `from` that is not inside a 102
// {...} group, or pairs.size(). Used to walk an object's own data.
size_t SkipAppGroups(const PairList& pairs, size_t from);

// Index of the pair DxfEntity::Find would give, or pairs.size().
size_t FindPairIndex(const PairList& pairs, int16_t code);

// Index of the first extended-data pair (group 1001), or pairs.size().
size_t ExtendedDataStart(const PairList& pairs);

}  // namespace host
