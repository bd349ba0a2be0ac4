#include "wizard/frame/ProductDialogRequests.h"

#include <cstring>
#include <string>

#include "common/CDravikFunc.h"
#include "common/GroupCodeChain.h"
#include "wizard/frame/CWizardDllApp.h"

namespace {

bool g_oneShot = false;

// The text of the node after a key's 1000 node, null without the key.
const char* XDataValue(const resbuf* chain, const char* key) {
  const resbuf* node = FindXDataByString(chain, key);
  return node && node->next && IsStringNode(node->next) ? node->next->value.text : nullptr;
}

bool IsInsert(const resbuf* chain) {
  // The entity name comes first, then the type.
  const resbuf* type = chain ? chain->next : nullptr;
  return type && type->code == 0 && type->value.text && std::strcmp(type->value.text, "INSERT") == 0;
}

}  // namespace

void SetOneShotFlag() { g_oneShot = true; }

bool TakeOneShotFlag() {
  const bool set = g_oneShot;
  g_oneShot = false;
  return set;
}

void ReadInsertZLevel() {
  CWizardDllApp& app = TheWizardApp();
  if (app.GetHostMode() == kHostManager) return;
  const bool lt = app.GetHostMode() == kHostLT;
  char hostPath[260];
  app.MakeBasePath(hostPath, lt ? "DUVOZEDO.EXE" : "Dravik2D.arx");
  CDravikFunc host(hostPath, lt, 9);
  if (!host.Resolve()) return;
  const resbuf* insert = host.alt_entnext(1);
  while (insert && !IsInsert(insert)) insert = host.alt_entnext(0);
  if (!insert || !FindXDataByAppName(insert, "JOV_DATA")) return;
  const char* zLevel = XDataValue(insert, "_ZLEVEL");
  if (!zLevel) {
    app.SetZLevelTexts(nullptr, nullptr, nullptr, nullptr);
    return;
  }
  app.SetZLevelTexts(zLevel, XDataValue(insert, "zA"), XDataValue(insert, "zB"), XDataValue(insert, "zC"));
}
