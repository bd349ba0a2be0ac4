#include "wizard/frame/ProductDialogRequests.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "common/SettingsWrite.h"
#include "common/CDravikFunc.h"
#include "common/HostModule.h"
#include "common/ValueRules.h"
#include "dataformat/GroupCodeChain.h"
#include "platform/catalogue/Database.h"
#include "platform/mfc/module_state.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/profile.h"
#include "platform/win32/ui_services.h"
#include "wizard/dialogs/PlacedTextLimit.h"
#include "wizard/frame/CWizardDllApp.h"
#include "wizard/frame/DialogSeams.h"
#include "wizard/frame/ProductConnection.h"
#include "wizard/frame/ProductGeometry.h"
#include "wizard/frame/ProductXData.h"
#include "wizard/frame/WizardExports.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ValueEntry.h"

namespace {

bool g_oneShot = false;

constexpr int kOk = 1;
constexpr int kCancelled = 2;
constexpr int kError = 3;
constexpr unsigned kProducerChoice = 1u << 25;
constexpr unsigned kParametric = 1u << 27;
constexpr int kTradeHeating = 3;

// A switch of section "VANTRIX" of the profile's settings.
bool VantrixSetting(const char* key) {
  char value[1024] = "";
  GetPrivateProfileStringA("VANTRIX", key, "0", value, sizeof value, MakeProfilePath("Dat\\Jov.ini").c_str());
  return std::atoi(value) != 0;
}

int HandOut(const ProductRequestArgs& args) {
  CWizardDllApp& app = TheWizardApp();
  if (args.outGeometry) *args.outGeometry = app.ResultChain1();
  if (args.outData) *args.outData = app.ResultChain2();
  return kOk;
}

// The product without a dialog: its catalogue geometry and its data with
// the level of the element it is connected to.
int BuildWithoutDialog(const ProductRequestArgs& args) {
  CWizardDllApp& app = TheWizardApp();
  jovDatabase::resultResbuf holder;
  if (!GetProductDxf(args.view, holder) || !DuplicateGroupCodeChain(holder.head, &app.ResultChain1()))
    return kError;
  auto params = std::make_unique<CObjectSez>();
  if (!LoadProductParameters(*params)) return kError;
  app.ApplyConnectionLevel(args.view, args.otherIndex, args.otherPoints, args.ownNumber, params.get());
  if (BuildProductXData(args.parent, args.view, params.get(), args.propertyFlags, args.flagCount, args.product,
                        app.GetSlope(), args.branch))
    return HandOut(args);
  SayProductDataNotBuilt(args.parent, app.ResultChain2());
  app.FreeResultChains();
  return kError;
}

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

bool ReadInsertZLevel(HWND owner) {
  CWizardDllApp& app = TheWizardApp();
  if (app.GetHostMode() == kHostManager) return true;
  const bool lt = app.GetHostMode() == kHostLT;
  char hostPath[260];
  app.MakeBasePath(hostPath, lt ? "DUVOZEDO.EXE" : "Dravik2D.arx");
  CDravikFunc host(hostPath, lt, 9);
  if (!host.Resolve()) return true;
  const resbuf* insert = host.alt_entnext(1);
  while (insert && !IsInsert(insert)) insert = host.alt_entnext(0);
  if (!insert || !FindXDataByAppName(insert, "JOV_DATA")) return true;
  const char* zLevel = XDataValue(insert, "_ZLEVEL");
  if (!zLevel) {
    app.SetZLevelTexts(nullptr, nullptr, nullptr, nullptr);
    return true;
  }
  // The level in metres, the heights of the points in millimetres: each
  // one given must be a level, or the new product would stand nowhere.
  for (const auto& [key, perMetre] : {std::pair{"_ZLEVEL", 1.0}, {"zA", 1000.0}, {"zB", 1000.0}, {"zC", 1000.0}}) {
    const char* text = XDataValue(insert, key);
    double value = 0.0;
    if (text && !(ReadFiniteNumber(text, value) && IsUsableLevel(value / perMetre))) {
      app.SetZLevelTexts(nullptr, nullptr, nullptr, nullptr);
      MessageBoxRes(owner, IDS_LEVEL_UNUSABLE, MB_ICONHAND, EntityKeyText(insert, key));
      return false;
    }
  }
  app.SetZLevelTexts(zLevel, XDataValue(insert, "zA"), XDataValue(insert, "zB"), XDataValue(insert, "zC"));
  return true;
}

int RunProductDialogs(const ProductRequestArgs& args, bool oneShot, bool initialRecalc) {
  CWizardDllApp& app = TheWizardApp();
  app.FreeResultChains();
  // The producer's data are this request's only: an earlier hand-over's
  // would be written into another product.
  app.SetProducerData(nullptr);
  if (!args.db) return kError;
  SetCurrentCatalogue(args.db);
  if (!EnsureWizardResources()) return kError;
  // Told before any dialog: nothing in them could mend the caller's slope.
  if (!IsUsableSlopeText(app.GetSlope())) {
    MessageBoxRes(args.parent, IDS_SLOPE_UNUSABLE, MB_ICONHAND, app.GetSlope());
    return kError;
  }
  if (args.otherPoints && !ReadInsertZLevel(args.parent)) return kError;
  unsigned status = 0, indexType = 0;
  if (args.db->GetItemsStatus(status) != jovDatabase::eOK || args.db->GetIndexType(indexType) != jovDatabase::eOK)
    return kError;
  const bool heating = GetTradeLetter() == kTradeHeating;
  const bool vantrixUse = heating && VantrixSetting("VANTRIX_USE");
  const bool vantrixCatalogue = heating && VantrixSetting("VANTRIX_CAT");

  bool retry = false;
  for (;;) {
    const bool producerAllowed = !(oneShot && (!args.product || !args.arg13 || !args.group));
    if ((status & kProducerChoice) && !vantrixUse && !vantrixCatalogue && producerAllowed) {
      const ProducerDialogArgs producer = {args.view,          status,         args.product,   args.branch,
                                          args.arg13,         args.group,     args.parent,    args.propertyFlags,
                                          args.flagCount,     args.ownNumber, args.otherIndex, args.otherPoints,
                                          retry};
      switch (DialogSeams().producer(producer)) {
        case 1: return HandOut(args);
        case 2: return kCancelled;
        case -1: return kError;
        case -2: app.FreeResultChains(); break;
        case -3:
          retry = true;
          app.FreeResultChains();
          break;
        default: break;
      }
    }
    if (!(status & kParametric)) {
      if (!args.otherPoints ||
          CheckConnectionMatch(args.otherPoints, args.otherIndex, args.ownNumber, args.view))
        break;
      MessageBoxRes(args.parent, IDS_CONNECTION_MISMATCH, MB_ICONERROR);
      return kError;
    }
    const ParametricDialogArgs parametric = {args.view,       args.parent,     false,          retry,
                                             args.propertyFlags, args.flagCount, args.lengthMode, args.ownNumber,
                                             args.otherIndex, args.otherPoints, vantrixUse,     args.product,
                                             initialRecalc};
    const INT_PTR result = DialogSeams().parametric(parametric);
    if (result == -4) {
      app.FreeResultChains();
      continue;
    }
    if (result == 1) return HandOut(args);
    return static_cast<int>(result);
  }
  return BuildWithoutDialog(args);
}

int PPDlg(HWND parent, jovDatabase::Database* db, unsigned view, resbuf** outGeometry, resbuf** outData,
          unsigned char* flags, unsigned flagCount, unsigned lengthMode, unsigned otherIndex, const char* otherPoints,
          unsigned ownNumber, const char* product, const char* branch, const char* arg13, const char* group) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  const bool oneShot = TakeOneShotFlag();
  return RunProductDialogs({parent, db, view, outGeometry, outData, flags, flagCount, lengthMode, otherIndex,
                            otherPoints, ownNumber, product, branch, arg13, group},
                           oneShot, true);
}

int PPDlgNoInitialRecalc(HWND parent, jovDatabase::Database* db, unsigned view, resbuf** outGeometry,
                         resbuf** outData, unsigned char* flags, unsigned flagCount, unsigned lengthMode,
                         unsigned otherIndex, const char* otherPoints, unsigned ownNumber, const char* product,
                         const char* branch, const char* arg13, const char* group) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  const bool oneShot = TakeOneShotFlag();
  return RunProductDialogs({parent, db, view, outGeometry, outData, flags, flagCount, lengthMode, otherIndex,
                            otherPoints, ownNumber, product, branch, arg13, group},
                           oneShot, false);
}
