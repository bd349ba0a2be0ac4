#include "jov_vantrix/section/CObjData.h"

#include <cstring>

#include "common/EntityExtents.h"
#include "dataformat/GroupCodeChain.h"
#include "jov_vantrix/network/CObjDataNew.h"
#include "jov_vantrix/network/DescriptionMask.h"
#include "jov_vantrix/network/ProductLookup.h"
#include "jov_vantrix/section/JovCutParamsOld.h"
#include "platform/catalogue/Database.h"

namespace {

constexpr int kMaxBranchPart = 255;

}  // namespace

CObjData::CObjData(int32_t entityKind, int32_t role, const resbuf* readChain)
    : m_entityKind(entityKind), m_role(role), m_pReadChain(readChain) {}

CObjData::~CObjData() {
  if (m_ownsBuiltChain) FreeGroupCodeChain(m_pBuiltChain);
  FreeGroupCodeChain(m_pProductGeometry);
  FreeGroupCodeChain(m_pProductData);
}

void CObjData::SetBuiltChain(resbuf* chain) {
  if (m_ownsBuiltChain && m_pBuiltChain != chain) FreeGroupCodeChain(m_pBuiltChain);
  m_pBuiltChain = chain;
  m_ownsBuiltChain = true;
}

void CObjData::SetProductExtents(const resbuf* geometry, int32_t unitsPerMetre) {
  GetEntityExtents(geometry, m_extentsMin, m_extentsMax, false);
  if (unitsPerMetre == 1) {
    m_extentsMin *= 0.001;
    m_extentsMax *= 0.001;
  }
}

int CObjData::GetTypeClass() const { return GetTypeClassOfValue(m_jovData.GetProperty("TY"), false); }

void CObjData::ExpandDescriptionMask(const JovCutParamsOld& params, CStringArray& lines) const {
  ExpandMaskLines(m_jovData,
                  ChooseDescriptionMask(m_jovData, params.m_maskWithoutProduct,
                                        params.m_maskWithProduct, params.m_maskScheme),
                  lines);
}

void CObjData::GetBranchPart(int index, CString& out) const {
  out = "";
  const char* text = m_branchNumber.GetString();
  const char* first = std::strchr(text, ',');
  const char* second = first ? std::strchr(first + 1, ',') : nullptr;
  const char* begin = text;
  const char* end = first ? first : text + std::strlen(text);
  if (index == 1) {
    if (!first) return;
    begin = first + 1;
    end = second ? second : begin + std::strlen(begin);
  } else if (index != 0) {
    if (!second) return;
    begin = second + 1;
    end = begin + std::strlen(begin);
  }
  const int length = static_cast<int>(end - begin);
  out = CString(begin, length < kMaxBranchPart ? length : kMaxBranchPart);
}

void CObjData::GetChildBranches(CStringArray& out, bool reversed) const {
  CString children;
  GetBranchPart(2, children);
  if (children.IsEmpty()) return;
  CStringArray pieces;
  const char* piece = children.GetString();
  for (;;) {
    const char* comma = std::strchr(piece, ',');
    if (!comma) {
      pieces.Add(CString(piece));
      break;
    }
    pieces.Add(CString(piece, static_cast<int>(comma - piece)));
    piece = comma + 1;
  }
  for (INT_PTR i = 0; i < pieces.GetSize(); ++i)
    out.Add(pieces[reversed ? pieces.GetSize() - 1 - i : i]);
}

bool CObjData::LookupProduct(jovDatabase::Database* db, JovCutParamsOld& params) {
  resbuf* geometry = nullptr;
  resbuf* data = nullptr;
  if (AskProduct(db, params, &geometry, &data) != 1 ||
      !KeepProductCopies(geometry, data, &m_pProductGeometry, &m_pProductData))
    return false;
  SetProductExtents(m_pProductGeometry, params.m_unit);
  return true;
}

int CObjData::AskProduct(jovDatabase::Database* db, JovCutParamsOld& params, resbuf** geometry,
                         resbuf** data) {
  if (!db || db->GoIndexID(m_jovData.m_typeCode) != jovDatabase::eOK) return 0;

  CJovPropData& properties = m_jovData.Properties();
  CString floor;
  floor.Format("%.0f", params.m_unit == 1 ? params.m_floorHeight * 1000.0 : params.m_floorHeight);
  properties.ReplaceValue("O", floor);

  // The equal item length holds for this call only: "L" gets its own value
  // back afterwards.
  const bool sameLength = params.m_sameItemLengthOn && m_jovData.HasProperty("L");
  const CString ownLength(sameLength ? m_jovData.GetProperty("L") : "");
  if (sameLength) {
    properties.ReplaceValue(
        "L", FormatSignificant(params.m_unit == 1 ? params.m_sameItemLength * 1000.0 : params.m_sameItemLength));
  }
  const int result = AskProductLibrary(db, properties, nullptr, 0, geometry, data);
  if (sameLength) properties.ReplaceValue("L", ownLength);
  return result;
}
