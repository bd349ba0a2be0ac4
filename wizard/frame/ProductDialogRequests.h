// The interactive product requests PPDlg and PPDlgNoInitialRecalc: the
// producer dialog, the parametric dialog, both in turn, or no dialog, by the
// product's item status, and the levels of the element the product is
// connected to.
#pragma once

#include "dataformat/resbuf.h"
#include "platform/win32/win32_types.h"

namespace jovDatabase {
class Database;
}

// The arguments of PPDlg and PPDlgNoInitialRecalc, in their order.
struct ProductRequestArgs {
  HWND parent;
  jovDatabase::Database* db;
  unsigned view;
  resbuf** outGeometry;
  resbuf** outData;
  unsigned char* propertyFlags;
  unsigned flagCount;
  unsigned lengthMode;
  unsigned otherIndex;      // the connected element's point, 0-based
  const char* otherPoints;  // the connected element's points text; null: not connected
  unsigned ownNumber;       // the product's own connection point, 1-based
  const char* product;
  const char* branch;
  const char* arg13;
  const char* group;
};

// The one-shot flag: set by setPPDisplayPP2OnlyWithValidProd, read and
// cleared by the next PPDlg or PPDlgNoInitialRecalc.
void SetOneShotFlag();
bool TakeOneShotFlag();

// 1 OK (chains stored into the out-pointers), 2 cancelled, 3 error; any
// other result of the parametric dialog is passed on (-1: it failed).
int RunProductDialogs(const ProductRequestArgs& args, bool oneShot, bool initialRecalc);

// Levels (_ZLEVEL, zA, zB, zC) of the selected INSERT into the application
// object; nothing under the manager program or without a host. False, with
// the texts cleared and a message naming the entity and key, when one of
// them is no level.
bool ReadInsertZLevel(HWND owner);
