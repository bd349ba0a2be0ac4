#include "jov_vantrix/network/ProductLookup.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "dataformat/GroupCodeChain.h"
#include "common/HostExport2D.h"
#include "jov_vantrix/frame/CJov_VantrixApp.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/network/RecordGeometry.h"
#include "platform/catalogue/Database.h"

namespace {

ProductParamLists ParamListsOf(const CJovPropData& properties) {
  ProductParamLists lists;
  for (const CSeznam* e = properties.GetHead(); e; e = e->GetNext()) {
    const auto* p = static_cast<const CJovPropData*>(e);
    lists.Add(p->GetField(0), p->GetField(1));
  }
  return lists;
}

// Read from the packed properties while they are: the list form costs an
// element and two texts for each property of each record of a preview.
ProductParamLists ParamListsOf(const CJovData& data) {
  ProductParamLists lists;
  data.ForEachProperty([&lists](const char* key, const char* value) {
    lists.Add(key, value);
    return true;
  });
  return lists;
}

// The record takes the product chains (its earlier ones freed), its box
// grown by the geometry.
void GiveProduct(CObjDataNew* record, resbuf* geometry, resbuf* data, int unit) {
  CObjDataNew::RunPart& runs = record->Runs();
  FreeGroupCodeChain(runs.m_pProductGeometry);
  FreeGroupCodeChain(runs.m_pProductData);
  runs.m_pProductGeometry = geometry;
  runs.m_pProductData = data;
  ComputeBoundingBox(record, geometry, unit);
}

// Copies of the product chains into the record, its box grown by the
// geometry.
bool FetchProduct(CObjDataNew* record, jovDatabase::Database* db, const ProductParamLists& lists,
                  const uint8_t* flags, uint32_t flagCount, int unit) {
  // Fetched before the record's part is asked for: a product not found
  // makes none.
  resbuf* geometry = nullptr;
  resbuf* data = nullptr;
  if (!FetchProductCopies(db, lists, flags, flagCount, &geometry, &data)) return false;
  GiveProduct(record, geometry, data, unit);
  return true;
}

}  // namespace

CString FormatSignificant(double value) {
  CString text;
  text.Format("%.16g", value);
  return text;
}

int AskProductLibrary(jovDatabase::Database* db, const CJovPropData& properties,
                      const uint8_t* flags, uint32_t flagCount, resbuf** geometry, resbuf** data) {
  return AskProductLibrary(db, ParamListsOf(properties), flags, flagCount, geometry, data);
}

int AskProductLibrary(jovDatabase::Database* db, const ProductParamLists& lists, const uint8_t* flags,
                      uint32_t flagCount, resbuf** geometry, resbuf** data) {
  CJov_VantrixApp& app = TheApp();
  if (!app.m_pPPGetResbufEx || !app.m_pPPFree) return 0;
  return app.m_pPPGetResbufEx(db, 1, geometry, data, flags, flagCount, lists.names.c_str(),
                              lists.values.c_str(), nullptr, nullptr, nullptr);
}

bool KeepProductCopies(const resbuf* geometry, const resbuf* data, resbuf** keptGeometry,
                       resbuf** keptData) {
  resbuf* geometryCopy = nullptr;
  resbuf* dataCopy = nullptr;
  const bool copied = DuplicateGroupCodeChain(geometry, &geometryCopy) &&
                      DuplicateGroupCodeChain(data, &dataCopy);
  TheApp().m_pPPFree();
  if (!copied) {
    FreeGroupCodeChain(geometryCopy);
    FreeGroupCodeChain(dataCopy);
    return false;
  }
  FreeGroupCodeChain(*keptGeometry);
  FreeGroupCodeChain(*keptData);
  *keptGeometry = geometryCopy;
  *keptData = dataCopy;
  return true;
}

bool FetchProductCopies(jovDatabase::Database* db, const ProductParamLists& lists,
                        const uint8_t* flags, uint32_t flagCount, resbuf** geometry, resbuf** data) {
  resbuf* answerGeometry = nullptr;
  resbuf* answerData = nullptr;
  return AskProductLibrary(db, lists, flags, flagCount, &answerGeometry, &answerData) == 1 &&
         KeepProductCopies(answerGeometry, answerData, geometry, data);
}

CString GetPropertyName(jovDatabase::Database* db, unsigned index) {
  if (!db) return CString();
  qmString name;
  if (db->GetNamesNameing("PROP", index, name) != jovDatabase::eOK || !name.GetString())
    return CString();
  return CString(name.GetString());
}

CString PreviewLookupKey(const char* typeCode) {
  CString key(typeCode);
  if (key.GetLength() > static_cast<int>(CJovData::kIncludeFlagIndex))
    key.SetAt(CJovData::kIncludeFlagIndex, '-');
  return key;
}

bool LookupProduct(CObjDataNew* record, jovDatabase::Database* db, JovCutParams& params) {
  if (!record || !db) return false;
  if (db->GoIndexID(record->m_jovData.m_typeCode) != jovDatabase::eOK) return false;

  CJovPropData& properties = record->m_jovData.Properties();
  const double units = params.m_units;
  CString size;
  size.Format("%.0f", params.m_units == 1 ? params.m_floorHeight * 1000.0 : params.m_floorHeight);
  properties.ReplaceValue("O", size);

  if (params.m_sameLengthOn && record->m_jovData.HasProperty("L"))
    properties.ReplaceValue("L", FormatSignificant(params.m_sameLength * 1000.0 / units));

  if (record->m_offsetFlag && record->m_jovData.HasProperty("O2")) {
    const char* setting = HostGetEnvString(TheApp().m_pHostTable, "JOV_OFFSET");
    const long offset = setting ? std::strtol(setting, nullptr, 10) : 0;
    const double millimetres = offset > 0 ? static_cast<double>(offset) : 100.0;
    properties.ReplaceValue("O2", FormatSignificant(millimetres / (1000.0 / units)));
  }

  if (params.m_sameHeightOn && record->m_jovData.HasProperty("V"))
    properties.ReplaceValue("V", FormatSignificant(params.m_sameHeight * 1000.0 / units));

  return FetchProduct(record, db, ParamListsOf(record->m_jovData), nullptr, 0, params.m_units);
}

PreviewProducts::~PreviewProducts() {
  for (auto& [key, answer] : answers) {
    FreeGroupCodeChain(answer.geometry);
    FreeGroupCodeChain(answer.data);
  }
}

bool LookupProductForPreview(CObjDataNew* record, jovDatabase::Database* db, const int* unit,
                             PreviewProducts* answers) {
  if (!record || !db) return false;
  const CString lookupKey = PreviewLookupKey(record->m_jovData.m_typeCode);
  static constexpr uint8_t kFlags[] = {0, 0, 0, 0, 1};
  const int units = unit ? *unit : 0;
  const ProductParamLists lists = ParamListsOf(record->m_jovData);
  if (!answers) {
    if (db->GoIndexID(lookupKey) != jovDatabase::eOK) return false;
    return FetchProduct(record, db, lists, kFlags, 5, units);
  }
  // The product library answers from the look-up key and the parameter
  // lists alone.
  std::string key(lookupKey.GetString());
  key.append(1, '\0').append(lists.names).append(1, '\0').append(lists.values);
  auto [at, added] = answers->answers.try_emplace(std::move(key));
  PreviewProducts::Answer& answer = at->second;
  if (added) {
    // A product the catalogue or the library does not give stays without
    // one for every record of its key and parameters.
    if (db->GoIndexID(lookupKey) != jovDatabase::eOK || !FetchProduct(record, db, lists, kFlags, 5, units))
      return false;
    answer.found = DuplicateGroupCodeChain(record->RunsOrNone().m_pProductGeometry, &answer.geometry) &&
                   DuplicateGroupCodeChain(record->RunsOrNone().m_pProductData, &answer.data);
    if (!answer.found) {
      // Not kept: asked again next time.
      FreeGroupCodeChain(answer.geometry);
      FreeGroupCodeChain(answer.data);
      answers->answers.erase(at);
    }
    return true;
  }
  if (!answer.found) return false;
  resbuf* geometry = nullptr;
  resbuf* data = nullptr;
  if (!DuplicateGroupCodeChain(answer.geometry, &geometry) || !DuplicateGroupCodeChain(answer.data, &data)) {
    FreeGroupCodeChain(geometry);
    FreeGroupCodeChain(data);
    return false;
  }
  GiveProduct(record, geometry, data, units);
  return true;
}
