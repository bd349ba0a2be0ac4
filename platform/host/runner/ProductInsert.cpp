#include "platform/host/runner/ProductInsert.h"

#include <cstring>

#include "dataformat/GroupCodeChain.h"

namespace {

// The block slot's three steps and the entity writer, called as the plug-in
// calls them; -1 when the host has no such slot.
int BlockDefine(const HostExport2D* table, int op, const void* arg) {
  auto fn = HostSlotFunction<HostBlockDefineFn>(table, HostSlot::BlockDefine);
  if (!fn) return -1;
  if (op == kHostBlockBegin) return fn(op, arg, 1, 0.0, 0.0, 0.0);
  return fn(op, arg);
}

int EntityWrite(const HostExport2D* table, resbuf* chain) {
  auto fn = HostSlotFunction<HostEntityWriteFn>(table, HostSlot::EntityWrite);
  return fn ? fn(chain, 0) : -1;
}

bool Fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

// The chain owned for the length of one placement.
struct OwnedChain {
  resbuf* head = nullptr;
  ~OwnedChain() { DeleteGroupCodeChain(&head); }
};

bool Append(resbuf**& tail, int16_t code, const char* text) {
  resbuf* node = nullptr;
  if (!CreateGroupCodeNode(&node, code, text)) return false;
  *tail = node;
  tail = &node->next;
  return true;
}

// Adds each entity of the geometry to the open block, one chain apiece.
bool AddEntities(const HostExport2D* table, const resbuf* geometry, std::string* error) {
  OwnedChain copy;
  if (!DuplicateGroupCodeChain(geometry, &copy.head)) return Fail(error, "out of memory");
  resbuf* entity = copy.head;
  while (entity) {
    resbuf* last = entity;
    while (last->next && last->next->code != 0) last = last->next;
    resbuf* rest = last->next;
    last->next = nullptr;
    const int result = BlockDefine(table, kHostBlockAdd, entity);
    last->next = rest;
    if (result != HOST_NORMAL) return Fail(error, "the host refused an entity of the block (" + std::to_string(result) + ")");
    entity = rest;
  }
  return true;
}

}  // namespace

bool InsertProduct(const HostExport2D* table, const resbuf* geometry, const resbuf* data, double x, double y,
                   std::string* blockName, std::string* error) {
  if (!geometry || !data) return Fail(error, "no product to place");
  auto beginChange = HostSlotFunction<HostBeginChangeFn>(table, HostSlot::BeginChange);
  auto endChange = HostSlotFunction<HostEndChangeFn>(table, HostSlot::EndChange);
  if (!beginChange || !endChange) return Fail(error, "the host has no change bracket");
  beginChange();
  bool placed = false;
  char name[256] = "";
  // Each placement draws the values it was given: an anonymous block of
  // its own, never one shared by every placement of the same product.
  if (BlockDefine(table, kHostBlockBegin, "*U") != HOST_NORMAL) {
    Fail(error, "the host refused the block definition");
  } else if (!AddEntities(table, geometry, error)) {
    BlockDefine(table, kHostBlockEnd, name);
  } else if (BlockDefine(table, kHostBlockEnd, name) != HOST_NORMAL) {
    Fail(error, "the host refused to end the block definition");
  } else {
    OwnedChain insert;
    resbuf** tail = &insert.head;
    bool built = Append(tail, 0, "INSERT") && Append(tail, 8, "0") && Append(tail, 2, name) &&
                 Append(tail, 10, nullptr) && Append(tail, -3, nullptr);
    if (built) {
      resbuf* point = insert.head->next->next->next;
      point->value.point[0] = x;
      point->value.point[1] = y;
      point->value.point[2] = 0.0;
      built = DuplicateGroupCodeChain(data, tail);
    }
    if (!built)
      Fail(error, "out of memory");
    else if (EntityWrite(table, insert.head) != HOST_NORMAL)
      Fail(error, "the host refused the INSERT");
    else
      placed = true;
  }
  endChange(placed ? 1 : -1);
  if (placed && blockName) *blockName = name;
  return placed;
}
