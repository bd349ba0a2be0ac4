#include "jov_vantrix/section/CutSettingsChecks.h"

#include <stdlib.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <span>
#include <utility>

#include "common/CLocaleNumber.h"
#include "platform/resources/jov_vantrix/resource_ids.h"

namespace {

constexpr double kMaxDistance = 1000.0;  // metres
constexpr double kMaxSize = 1000.0;      // millimetres of paper: 1 m
constexpr double kMaxWidthFactor = 100.0;

// A typed number: the whole text a finite number (as the C locale reads
// it), nothing else; false for an empty text.
bool ParseWhole(const CString& text, double& value) {
  const CString typed = WithLeadingZero(text);
  if (typed.IsEmpty()) return false;
  const char* begin = typed.GetString();
  const char* end = nullptr;
  value = StrtodC(begin, &end);
  while (end && (*end == ' ' || *end == '\t')) ++end;
  return end && end != begin && *end == '\0' && std::isfinite(value);
}

bool Distance(const CString& text, double& value) {
  return ParseWhole(text, value) && value > 0.0 && value <= kMaxDistance;
}

CutSettingFault Fault(UINT message, const char* what) { return {message, what}; }

// Number and range of a setting read from a file; 0 stands for "not set".
bool SizeOrNone(double value, double max) { return std::isfinite(value) && value >= 0.0 && value <= max; }
bool Within(double value, double max) { return std::isfinite(value) && std::fabs(value) <= max; }

CString InFile(const char* key, const char* section, const char* file) {
  CString what;
  what.Format("\"%s\" in [%s] of %s", key, section, file);
  return what;
}

template <class Block>
struct NumberSetting {
  const char* key;
  const char* section;
  double Block::*field;
  bool size;  // a size in millimetres, else a distance in metres
};

// Settings both blocks read from "Jov.ini".
template <class Block>
constexpr NumberSetting<Block> kSharedNumbers[] = {
    {"HEIGHT", "DESC", &Block::m_descriptionHeight, true},
    {"HEIGHT_BRANCH", "DESC", &Block::m_branchTextHeight, true},
    {"BUBBLE_DIAMETER", "DESC", &Block::m_bubbleDiameter, true},
    {"DIST_BUBBLE_1", "CUT_DLG", &Block::m_bubbleDistance1, false},
    {"DIST_BUBBLE_2", "CUT_DLG", &Block::m_bubbleDistance2, false},
    {"DIST_FLOOR_X", "CUT_DLG", &Block::m_floorDistanceX, false},
    {"ARROW_FLOOR", "CUT_DLG", &Block::m_floorArrow, false},
    {"LINE_FLOOR_1", "CUT_DLG", &Block::m_floorLine1, false},
    {"LINE_FLOOR_2", "CUT_DLG", &Block::m_floorLine2, false},
    {"PIPE_BEGIN_LEN", "CUT_DLG", &Block::m_pipeBeginLength, false},
    {"PIPE_BEGIN_LEN_VERT", "CUT_DLG", &Block::m_verticalPipeBeginLength, false},
    {"DIST_DESC", "CUT_DLG", &Block::m_descriptionDistance, false},
    {"DIST_DESC_SPACE", "CUT_DLG", &Block::m_descriptionLineSpacing, false},
    {"RISER_RADIUS", "CUT_DLG", &Block::m_riserRadius, false},
};

constexpr NumberSetting<JovCutParams> kBranchNumbers[] = {
    {"RISER_TEXT_HEIGHT", "DESC", &JovCutParams::m_riserTextHeight, true},
    {"RISER_BUBBLE_DIA", "DESC", &JovCutParams::m_riserBubbleDiameter, true},
};

template <class Block>
CutSettingFault CheckNumbers(const Block& block, std::span<const NumberSetting<Block>> settings) {
  for (const auto& s : settings) {
    const double value = block.*s.field;
    if (s.size ? !SizeOrNone(value, kMaxSize) : !Within(value, kMaxDistance))
      return {IDS_CUT_SETTING_UNUSABLE, InFile(s.key, s.section, kCutSettingsFile)};
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

bool UsableTypeCode(const CString& code) {
  if (code.IsEmpty()) return false;
  for (const char* c = code.GetString(); *c; ++c)
    if (static_cast<unsigned char>(*c) < 0x20 || *c == 0x7F) return false;
  return true;
}

}  // namespace

bool IsUsableLayerName(const char* name) {
  if (!name || !*name) return false;
  for (const char* c = name; *c; ++c) {
    const unsigned char ch = static_cast<unsigned char>(*c);
    if (ch < 0x20 || ch == 0x7F || std::strchr("<>/\\\":;?*|=,'", ch)) return false;
  }
  return true;
}

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
  if (riser && pipes && !Distance(v.height, value)) return Fault(IDS_CUT_VALUE_UNUSABLE, "HEIGHT");
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
  for (const auto& [key, factor] : {std::pair{"SCFACTOR", block.m_descriptionWidthFactor},
                                    {"SCFACTOR_BRANCH", block.m_branchWidthFactor}})
    if (!SizeOrNone(factor, kMaxWidthFactor)) return {IDS_CUT_SETTING_UNUSABLE, InFile(key, "DESC", kCutSettingsFile)};
  if (CutSettingFault f = CheckLayers({{"LAYER", "DESC", kCutSettingsFile, &block.m_descriptionLayer},
                                       {"LAYER_BRANCH", "DESC", kCutSettingsFile, &block.m_branchLayer},
                                       {"RISER_LAYER", "DESC", kCutSettingsFile, &block.m_riserLayer},
                                       {supplyKey, "MODULE_T", kPipeTypeFile, &block.m_pipe1Layer},
                                       {returnKey, "MODULE_T", kPipeTypeFile, &block.m_pipe2Layer}}))
    return f;
  if (!UsableTypeCode(block.m_pipe1TypeCode)) return {IDS_CUT_SETTING_UNUSABLE, InFile(supplyKey, "MODULE_T", kPipeTypeFile)};
  if (!UsableTypeCode(block.m_pipe2TypeCode)) return {IDS_CUT_SETTING_UNUSABLE, InFile(returnKey, "MODULE_T", kPipeTypeFile)};
  return {};
}

CutSettingFault CheckDrawingSettings(const JovCutParamsOld& block) {
  if (CutSettingFault f = CheckNumbers<JovCutParamsOld>(block, kSharedNumbers<JovCutParamsOld>)) return f;
  if (CutSettingFault f = CheckLayers({{"LAYER", "DESC", kCutSettingsFile, &block.m_descriptionLayer},
                                       {"LAYER_BRANCH", "DESC", kCutSettingsFile, &block.m_branchLayer},
                                       {"0", "MODULE_T", kPipeTypeFile, &block.m_supplyText3},
                                       {"1", "MODULE_T", kPipeTypeFile, &block.m_returnText3}}))
    return f;
  if (!UsableTypeCode(block.m_supplyTypeCode)) return {IDS_CUT_SETTING_UNUSABLE, InFile("0", "MODULE_T", kPipeTypeFile)};
  if (!UsableTypeCode(block.m_returnTypeCode)) return {IDS_CUT_SETTING_UNUSABLE, InFile("1", "MODULE_T", kPipeTypeFile)};
  return {};
}
