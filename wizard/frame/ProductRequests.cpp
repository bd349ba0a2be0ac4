// The product requests without a dialog, PPGetResbufEx and PPGetResbuf, and
// the rewrite of a view's formulas in sorted order, ModifyDBParam.
#include <string>
#include <vector>

#include "common/SettingsWrite.h"
#include "common/CLocaleNumber.h"
#include "dataformat/GroupCodeChain.h"
#include "platform/catalogue/Database.h"
#include "platform/mfc/module_state.h"
#include "wizard/frame/CWizardDllApp.h"
#include "wizard/frame/ProductGeometry.h"
#include "wizard/frame/ProductXData.h"
#include "wizard/frame/WizardExports.h"
#include "wizard/frame/engine/CObjectData.h"
#include "wizard/frame/engine/CObjectSez.h"
#include "wizard/frame/engine/CValueParam.h"
#include "wizard/frame/engine/DefinitionPoints.h"
#include "wizard/frame/engine/EngineState.h"
#include "wizard/frame/engine/GeometryRegeneration.h"
#include "wizard/frame/engine/LastValues.h"
#include "wizard/frame/engine/ParameterList.h"
#include "wizard/frame/engine/ParameterTexts.h"
#include "wizard/frame/engine/ProductFormulas.h"
#include "wizard/frame/engine/RecordLookups.h"
#include "wizard/frame/engine/ScaledCompare.h"

namespace {

constexpr int kDone = 1;
constexpr int kFailed = 2;
constexpr unsigned kParametric = 1u << 27;
constexpr unsigned kModifyFailed = 0x101;
// No list view is filled here; the mode only says how lengths are shown.
constexpr unsigned kMillimetres = 1000;

// The caller's "#"-names take the '/'-separated values; false when a value
// is refused. Nothing is assigned when either list comes out empty. Then
// the parameters recalculated from formulas follow, as after an edit in
// the product dialog: the values given stay as given.
bool AssignCallerValues(CObjectSez& params, const char* names, const char* values) {
  std::vector<std::string> nameList, valueList;
  if (names && values && SplitParamNames(names, nameList) && SplitParamValues(values, valueList)) {
    if (!AssignValuesByName(params, nameList, valueList)) return false;
    for (size_t i = 0; i < nameList.size() && i < valueList.size(); ++i)
      if (CValueParam* p = FindParamByName(params, nameList[i].c_str())) p->flags |= ParamFlag::kNotRecalculated;
  }
  RecalculateParameters(params, nullptr, kMillimetres, false);
  return true;
}

// The geometry of a parametric product regenerated from its parameters
// into result chain 1.
bool RegenerateInto(CWizardDllApp& app, unsigned view, const CObjectSez& params, CObjectSez& points) {
  jovDatabase::resultResbuf holder;
  if (!GetProductDxf(view, holder)) return false;
  ParseProductGeometry(points, holder.head, true);
  LoadProductFormulas(points, view);
  if (!DuplicateGroupCodeChain(holder.head, &app.ResultChain1())) return false;
  RegenerateProductGeometry(points, params, app.ResultChain1());
  return true;
}

// Every point's formulas, evaluated at the product's values, give that
// point back (within 0.01).
bool FormulasReproducePoints(const CSeznam& points, const std::string& definitions) {
  for (const CObjectData* o = FirstOf<CObjectData>(points); o; o = NextOf(o)) {
    GLVector at = o->point;
    if (!EvaluatePoint(points, definitions, at) || !PointsMatch(at, o->point, 100)) return false;
  }
  return true;
}

int GetResbuf(jovDatabase::Database* db, unsigned view, resbuf** outGeometry, resbuf** outData,
              unsigned char* flags, unsigned flagCount, const char* names, const char* values, const char* product,
              const char* slope, const char* branch) {
  CWizardDllApp& app = TheWizardApp();
  app.FreeResultChains();
  if (!db) return kFailed;
  SetCurrentCatalogue(db);
  unsigned status = 0;
  if (!EnsureWizardResources() || db->GetItemsStatus(status) != jovDatabase::eOK) return kFailed;

  bool built = false;
  if (status & kParametric) {
    CObjectSez params, points;
    LoadProductParameters(params);
    // A value of SetPPData that was refused fails the request: the caller
    // learns it, instead of a product of the catalogue's values.
    bool callerRefused = false;
    LoadLastValues(params, &callerRefused);
    built = !callerRefused && AssignCallerValues(params, names, values) && RegenerateInto(app, view, params, points) &&
            BuildProductXData(nullptr, view, &params, flags, flagCount, product, slope, branch);
  } else {
    jovDatabase::resultResbuf holder;
    built = GetProductDxf(view, holder) && DuplicateGroupCodeChain(holder.head, &app.ResultChain1()) &&
            BuildProductXData(nullptr, view, nullptr, flags, flagCount, product, slope, branch);
  }
  // The chains are handed out only with success; a failed request leaves
  // the caller's pointers as they were and keeps nothing.
  if (!built) {
    app.FreeResultChains();
    return kFailed;
  }
  if (outGeometry) *outGeometry = app.ResultChain1();
  if (outData) *outData = app.ResultChain2();
  return kDone;
}

}  // namespace

int PPGetResbufEx(jovDatabase::Database* db, unsigned view, resbuf** outGeometry, resbuf** outData,
                  unsigned char* flags, unsigned flagCount, const char* names, const char* values,
                  const char* product, const char* slope, const char* branch) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  return GetResbuf(db, view, outGeometry, outData, flags, flagCount, names, values, product, slope, branch);
}

int PPGetResbuf(jovDatabase::Database* db, unsigned view, resbuf** outGeometry, resbuf** outData,
                unsigned char* flags, unsigned flagCount, const double* length, const double* dn,
                const char* product, const char* slope, const char* branch) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  if (!length || !dn) {
    TheWizardApp().FreeResultChains();
    return kFailed;
  }
  const std::string values = FormatFixed(*length, 8) + "/" + FormatFixed(*dn, 0);
  return GetResbuf(db, view, outGeometry, outData, flags, flagCount, "#L/#DN", values.c_str(), product, slope,
                   branch);
}

unsigned ModifyDBParam(jovDatabase::Database* db, unsigned view) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SettingsCommand command;  // a settings failure is told once
  if (!db) return kModifyFailed;
  SetCurrentCatalogue(db);
  jovDatabase::resultResbuf holder;
  CObjectSez points, sorted, params;
  if (!GetProductDxf(view, holder) || !ParseProductGeometry(points, holder.head, false) ||
      !LoadProductFormulas(points, view) || !ParseProductGeometry(sorted, holder.head, true) ||
      !LoadProductFormulas(sorted, view) || !LoadProductParameters(params))
    return kModifyFailed;
  // Only formulas stored in parse order are moved: read in that order they
  // must give the product's own geometry, and read in sorted order not.
  // Formulas already sorted (every catalogue written here) stay as they are.
  std::string definitions;
  BuildDefinitions(params, definitions, false);
  if (!FormulasReproducePoints(points, definitions) || FormulasReproducePoints(sorted, definitions))
    return kModifyFailed;
  SortAndNumberPoints(points);
  if (db->Edit(jovDatabase::kEditParams) != jovDatabase::eOK) return kModifyFailed;
  if (!StoreProductFormulas(points, view, GetBasePointNumber(points)) ||
      db->Update(jovDatabase::kEditParams) != jovDatabase::eOK) {
    // Whatever the bracket holds is dropped, and later writes are not
    // caught in it.
    db->CancelUpdate(jovDatabase::kEditParams);
    return kModifyFailed;
  }
  return 0;
}
