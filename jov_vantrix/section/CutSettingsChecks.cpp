#include "jov_vantrix/section/CutSettingsChecks.h"

#include <stdlib.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <span>
#include <tuple>
#include <utility>

#include "common/CLocaleNumber.h"
#include "common/ValueRules.h"
#include "platform/resources/jov_vantrix/resource_ids.h"

namespace {

constexpr double kMaxDistance = 1000.0;  // metres

// A typed number: the whole text a finite number (as the C locale reads
// it), nothing else; false for an empty text.
bool ParseWhole(const CString& text, double& value) { return ReadFiniteNumber(WithLeadingZero(text), value); }

bool Distance(const CString& text, double& value) { return ParseWhole(text, value) && IsUsableLength(value); }

CutSettingFault Fault(UINT message, const char* what) { return {message, what}; }

// A text size or bubble of 0 is not drawn.
bool SizeOrNone(double value) { return value == 0.0 || IsUsableSize(value); }

CString InFile(const char* key, const char* section, const char* file) {
  CString what;
  what.Format("\"%s\" in [%s] of %s", key, section, file);
  return what;
}

// What a number of "Jov.ini" measures: a size in millimetres (0: not
// drawn), a length in metres that lines and circles are drawn with, or an
// offset in metres that the dialog's rules may move below 0.
enum class Kind { size, length, offset };

template <class Block>
struct NumberSetting {
  const char* key;
  const char* section;
  double Block::*field;
  Kind kind;
};

// Settings both blocks read from "Jov.ini".
template <class Block>
constexpr NumberSetting<Block> kSharedNumbers[] = {
    {"HEIGHT", "DESC", &Block::m_descriptionHeight, Kind::size},
    {"HEIGHT_BRANCH", "DESC", &Block::m_branchTextHeight, Kind::size},
    {"BUBBLE_DIAMETER", "DESC", &Block::m_bubbleDiameter, Kind::size},
    {"DIST_BUBBLE_1", "CUT_DLG", &Block::m_bubbleDistance1, Kind::offset},
    {"DIST_BUBBLE_2", "CUT_DLG", &Block::m_bubbleDistance2, Kind::length},
    {"DIST_FLOOR_X", "CUT_DLG", &Block::m_floorDistanceX, Kind::offset},
    {"ARROW_FLOOR", "CUT_DLG", &Block::m_floorArrow, Kind::length},
    {"LINE_FLOOR_1", "CUT_DLG", &Block::m_floorLine1, Kind::length},
    {"LINE_FLOOR_2", "CUT_DLG", &Block::m_floorLine2, Kind::length},
    {"PIPE_BEGIN_LEN", "CUT_DLG", &Block::m_pipeBeginLength, Kind::offset},
    {"PIPE_BEGIN_LEN_VERT", "CUT_DLG", &Block::m_verticalPipeBeginLength, Kind::length},
    {"DIST_DESC", "CUT_DLG", &Block::m_descriptionDistance, Kind::offset},
    {"DIST_DESC_SPACE", "CUT_DLG", &Block::m_descriptionLineSpacing, Kind::length},
    {"RISER_RADIUS", "CUT_DLG", &Block::m_riserRadius, Kind::length},
};

constexpr NumberSetting<JovCutParams> kBranchNumbers[] = {
    {"RISER_TEXT_HEIGHT", "DESC", &JovCutParams::m_riserTextHeight, Kind::size},
    {"RISER_BUBBLE_DIA", "DESC", &JovCutParams::m_riserBubbleDiameter, Kind::size},
};

template <class Block>
CutSettingFault CheckNumbers(const Block& block, std::span<const NumberSetting<Block>> settings) {
  for (const auto& s : settings) {
    const double value = block.*s.field;
    const bool usable = s.kind == Kind::size     ? SizeOrNone(value)
                        : s.kind == Kind::length ? IsUsableLength(value)
                                                 : std::isfinite(value) && std::fabs(value) <= kMaxDistance;
    if (!usable) return {IDS_CUT_SETTING_UNUSABLE, InFile(s.key, s.section, kCutSettingsFile)};
  }
  return {};
}

struct LayerSetting {
  const char* key;
  const char* section;
  const char* file;
  const CString* layer;
};

CutSettingFault CheckLayers(std::initializer_list<LayerSetting> layers) {
  for (const LayerSetting& l : layers)
    if (!IsUsableLayerName(*l.layer)) return {IDS_CUT_SETTING_UNUSABLE, InFile(l.key, l.section, l.file)};
  return {};
}

}  // namespace

int NextCutNumber(unsigned stored) {
  const int number = static_cast<int>(stored);
  return number == INT_MAX ? number : number + 1;
}

CutSettingFault CheckCutValues(const CutDialogValues& v, CutDialog dialog) {
  const bool riser = dialog == CutDialog::Riser;
  if (riser) {
    const char* text = v.cutNumber.GetString();
    char* end = nullptr;
    const long long number = *text >= '0' && *text <= '9' ? strtoll(text, &end, 10) : 0;
    if (!end || *end || number < 1 || number > INT_MAX) return Fault(IDS_CUT_VALUE_UNUSABLE, "CUT_NUMBER");
  }
  // The riser section draws its pipes, and asks their distances, only on
  // request.
  const bool pipes = !riser || v.drawPipe;
  double value = 0.0, floor = 0.0, pipe = 0.0, pipeFloor = 0.0;
  // The riser label stands at HEIGHT with or without the pipes.
  if (riser && !Distance(v.height, value)) return Fault(IDS_CUT_VALUE_UNUSABLE, "HEIGHT");
  if (!Distance(v.riserDistance, value)) return Fault(IDS_CUT_VALUE_UNUSABLE, "DIST_RISER");
  if (!Distance(v.elementDistance, value)) return Fault(IDS_CUT_VALUE_UNUSABLE, "DIST_ELM");
  if (!Distance(v.floorHeight, floor)) return Fault(IDS_CUT_VALUE_UNUSABLE, "HEIGHT_FLOOR");
  if (pipes) {
    if (!Distance(v.pipeDistance, pipe)) return Fault(IDS_CUT_VALUE_UNUSABLE, "DIST_PIPE");
    // Signed by the box: the lower pipe may lie on or under the floor line.
    if (!ParseWhole(v.pipeFloorDistance, pipeFloor) || std::fabs(pipeFloor) > kMaxDistance)
      return Fault(IDS_CUT_VALUE_UNUSABLE, "PIPE_FLOOR_DIST");
    // Else the drops from the products would run upwards.
    if (!(floor > pipe + pipeFloor)) return Fault(IDS_CUT_FLOOR_TOO_LOW, "HEIGHT_FLOOR");
  }
  if (v.sameLengthOn && !Distance(v.sameLength, value))
    return Fault(IDS_CUT_VALUE_UNUSABLE, riser ? "SAME_ITEM_LENGTH" : "SAME_LENGTH");
  if (!riser && v.sameHeightOn && !Distance(v.sameHeight, value)) return Fault(IDS_CUT_VALUE_UNUSABLE, "SAME_HEIGHT");
  return {};
}

CutSettingFault CheckDrawingSettings(const JovCutParams& block, const char* supplyKey, const char* returnKey) {
  if (CutSettingFault f = CheckNumbers<JovCutParams>(block, kSharedNumbers<JovCutParams>)) return f;
  if (CutSettingFault f = CheckNumbers<JovCutParams>(block, kBranchNumbers)) return f;
  // A factor counts where its texts are drawn.
  for (const auto& [key, factor, height] :
       {std::tuple{"SCFACTOR", block.m_descriptionWidthFactor, block.m_descriptionHeight},
        {"SCFACTOR_BRANCH", block.m_branchWidthFactor, block.m_branchTextHeight}})
    if (height != 0.0 && !IsUsableWidthFactor(factor))
      return {IDS_CUT_SETTING_UNUSABLE, InFile(key, "DESC", kCutSettingsFile)};
  if (CutSettingFault f = CheckLayers({{"LAYER", "DESC", kCutSettingsFile, &block.m_descriptionLayer},
                                       {"LAYER_BRANCH", "DESC", kCutSettingsFile, &block.m_branchLayer},
                                       {"RISER_LAYER", "DESC", kCutSettingsFile, &block.m_riserLayer},
                                       {supplyKey, "MODULE_T", kPipeTypeFile, &block.m_pipe1Layer},
                                       {returnKey, "MODULE_T", kPipeTypeFile, &block.m_pipe2Layer}}))
    return f;
  if (!IsCatalogueTypeCode(block.m_pipe1TypeCode))
    return {IDS_CUT_SETTING_UNUSABLE, InFile(supplyKey, "MODULE_T", kPipeTypeFile)};
  if (!IsCatalogueTypeCode(block.m_pipe2TypeCode))
    return {IDS_CUT_SETTING_UNUSABLE, InFile(returnKey, "MODULE_T", kPipeTypeFile)};
  return {};
}

CutSettingFault CheckDrawingSettings(const JovCutParamsOld& block) {
  if (CutSettingFault f = CheckNumbers<JovCutParamsOld>(block, kSharedNumbers<JovCutParamsOld>)) return f;
  if (CutSettingFault f = CheckLayers({{"LAYER", "DESC", kCutSettingsFile, &block.m_descriptionLayer},
                                       {"LAYER_BRANCH", "DESC", kCutSettingsFile, &block.m_branchLayer},
                                       {"0", "MODULE_T", kPipeTypeFile, &block.m_supplyText3},
                                       {"1", "MODULE_T", kPipeTypeFile, &block.m_returnText3}}))
    return f;
  if (!IsCatalogueTypeCode(block.m_supplyTypeCode))
    return {IDS_CUT_SETTING_UNUSABLE, InFile("0", "MODULE_T", kPipeTypeFile)};
  if (!IsCatalogueTypeCode(block.m_returnTypeCode))
    return {IDS_CUT_SETTING_UNUSABLE, InFile("1", "MODULE_T", kPipeTypeFile)};
  return {};
}

CutSettingFault CheckRiserLength(const CObjDataNew& riser, bool missingAllowed) {
  const char* text = riser.m_jovData.GetProperty("_LENGTH_RISER");
  if (missingAllowed && (!text || !*text)) return {};
  double length = 0.0;
  if (ReadFiniteNumber(text, length) && IsUsableLength(std::fabs(length))) return {};
  return {IDS_DRAWING_VALUE_UNUSABLE, EntityKeyText(riser.m_entityChain.GetChain(), "_LENGTH_RISER")};
}

CutSettingFault CheckProductLength(const CJovData& product, const resbuf* entity) {
  const char* text = product.GetProperty("L");
  double millimetres = 0.0;
  if (!text || (ReadFiniteNumber(text, millimetres) && IsUsableLength(millimetres / 1000.0))) return {};
  return {IDS_DRAWING_VALUE_UNUSABLE, EntityKeyText(entity, "L")};
}

bool ReadPickedPipeDistance(const char* text, int unitsPerMetre, CString& shown) {
  double distance = 0.0;
  if (!ReadFiniteNumber(text, distance)) return false;
  shown.Format("%.1f", distance / (unitsPerMetre > 0 ? unitsPerMetre : 1));
  return IsUsableLength(AtofC(shown));
}
