#include "jov_vantrix/section/CutSettings.h"

#include <cstdio>
#include <cstring>

#include "common/CLocaleNumber.h"
#include "common/SettingsWrite.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/section/CutSettingsChecks.h"
#include "jov_vantrix/section/JovCutParamsOld.h"
#include "platform/resources/jov_vantrix/resource_ids.h"
#include "platform/win32/profile.h"

namespace {

constexpr char kDialogSection[] = "CUT_DLG";
constexpr char kDescSection[] = "DESC";
constexpr DWORD kValueSize = 256;  // a value is read up to 255 characters
constexpr int kMaxPresets = 100;

using V = CutDialogValues;
using K = CutValueKind;

constexpr CutSettingKey Number(const char* key, UINT control, CString V::*text) {
  return {key, control, K::Number, 0, text, nullptr, true};
}
constexpr CutSettingKey State(const char* key, UINT control, K kind, int fallback, int V::*state, bool read = true) {
  return {key, control, kind, fallback, nullptr, state, read};
}

constexpr CutSettingKey kBranchKeys[] = {
    Number("DIST_RISER", IDC_CUT_DIST_RISER, &V::riserDistance),
    Number("DIST_ELM", IDC_CUT_DIST_ELM, &V::elementDistance),
    Number("HEIGHT_FLOOR", IDC_CUT_HEIGHT_FLOOR, &V::floorHeight),
    Number("DIST_PIPE", IDC_CUT_DIST_PIPE, &V::pipeDistance),
    Number("PIPE_FLOOR_DIST", IDC_CUT_PIPE_FLOOR_DIST, &V::pipeFloorDistance),
    Number("SAME_LENGTH", IDC_CUT_SAME_LENGTH, &V::sameLength),
    State("ENABLE_SAME_LENGTH", IDC_CUT_ENABLE_SAME_LENGTH, K::Switch, 0, &V::sameLengthOn),
    Number("SAME_HEIGHT", IDC_CUT_SAME_HEIGHT, &V::sameHeight),
    State("ENABLE_SAME_HEIGHT", IDC_CUT_ENABLE_SAME_HEIGHT, K::Switch, 0, &V::sameHeightOn),
    {"DESC_FLOOR", IDC_CUT_DESC_FLOOR, K::Text, 0, &V::floorDescription, nullptr, true},
    State("DRAW_FLOOR", IDC_CUT_DRAW_FLOOR, K::Check, 0, &V::drawFloor),
    State("DESC_ELM", IDC_CUT_DESC_ELM, K::Check, 1, &V::describeElements),
    State("DESC_RISER", IDC_CUT_DESC_RISER, K::Check, 1, &V::describeRisers),
    State("DESC_LASTRISER", IDC_CUT_DESC_LASTRISER, K::Check, 0, &V::describeLastRiser),
    State("DESC_HEIGHT", IDC_CUT_ENABLE_SAME_HEIGHT, K::Check, 0, &V::sameHeightOn, false),
    State("PIPE_SWITCH", IDC_CUT_PIPE_SWITCH_ON, K::Switch, 1, &V::pipeSwitch),
};

constexpr CutSettingKey kRiserKeys[] = {
    {"CUT_NUMBER", IDC_CUT_NUMBER, K::CutNumber, 0, &V::cutNumber, nullptr, true},
    Number("HEIGHT", IDC_CUT_HEIGHT, &V::height),
    Number("DIST_RISER", IDC_CUT_DIST_RISER, &V::riserDistance),
    Number("DIST_ELM", IDC_CUT_DIST_ELM, &V::elementDistance),
    Number("HEIGHT_FLOOR", IDC_CUT_HEIGHT_FLOOR, &V::floorHeight),
    Number("DIST_PIPE", IDC_CUT_DIST_PIPE, &V::pipeDistance),
    Number("PIPE_FLOOR_DIST", IDC_CUT_PIPE_FLOOR_DIST, &V::pipeFloorDistance),
    Number("SAME_ITEM_LENGTH", IDC_CUT_SAME_LENGTH, &V::sameLength),
    State("ENABLE_SAME_ITEM_LENGTH", IDC_CUT_ENABLE_SAME_LENGTH, K::Switch, 0, &V::sameLengthOn),
    {"DESC_FLOOR", IDC_CUT_DESC_FLOOR, K::Text, 0, &V::floorDescription, nullptr, true},
    State("DRAW_PIPE", IDC_CUT_DRAW_PIPE, K::Check, 1, &V::drawPipe),
    State("DRAW_FLOOR", IDC_CUT_DRAW_FLOOR, K::Check, 0, &V::drawFloor),
    State("DESC_ELM", IDC_CUT_DESC_ELM, K::Check, 1, &V::describeElements),
    State("DESC_RISER", IDC_CUT_DESC_RISER, K::Check, 1, &V::describeRisers),
    State("LAST_FLOOR", IDC_CUT_LAST_FLOOR, K::Check, 0, &V::lastFloor),
    State("PIPE_SWITCH", IDC_CUT_PIPE_SWITCH_ON, K::Switch, 1, &V::pipeSwitch),
};

constexpr CutPresetList kBranchPresets[] = {
    {"CUT_DLG_DIST_RISER", IDC_CUT_DIST_RISER},
    {"CUT_DLG_DIST_ELM", IDC_CUT_DIST_ELM},
    {"CUT_DLG_HEIGHT_FLOOR", IDC_CUT_HEIGHT_FLOOR},
    {"CUT_DLG_DIST_PIPE", IDC_CUT_DIST_PIPE},
    {"CUT_DLG_PIPE_FLOOR_DIST", IDC_CUT_PIPE_FLOOR_DIST},
    {"CUT_DLG_SAME_LENGTH", IDC_CUT_SAME_LENGTH},
    {"CUT_DLG_SAME_HEIGHT", IDC_CUT_SAME_HEIGHT},
};

constexpr CutPresetList kRiserPresets[] = {
    {"CUT_DLG_HEIGHT", IDC_CUT_HEIGHT},
    {"CUT_DLG_DIST_RISER", IDC_CUT_DIST_RISER},
    {"CUT_DLG_DIST_ELM", IDC_CUT_DIST_ELM},
    {"CUT_DLG_HEIGHT_FLOOR", IDC_CUT_HEIGHT_FLOOR},
    {"CUT_DLG_DIST_PIPE", IDC_CUT_DIST_PIPE},
    {"CUT_DLG_NUMBER", IDC_CUT_NUMBER},
    {"CUT_DLG_PIPE_FLOOR_DIST", IDC_CUT_PIPE_FLOOR_DIST},
    {"CUT_DLG_SAME_LENGTH", IDC_CUT_SAME_LENGTH},
};

// Keys of the drawing settings, for either parameter block.
template <class Block>
struct TextKey {
  const char* section;
  const char* key;
  const char* fallback;
  CString Block::*field;
};
template <class Block>
struct NumberKey {
  const char* section;
  const char* key;
  const char* fallback;
  double Block::*field;
};
template <class Block>
struct IntegerKey {
  const char* section;
  const char* key;
  int fallback;
  int32_t Block::*field;
};

template <class Block>
constexpr TextKey<Block> kMasks[] = {
    {kDialogSection, "MASK_WITHOUT_PROD", "-&CM-\\&TY\\&L/&V\\&VE &SR", &Block::m_maskWithoutProduct},
    {kDialogSection, "MASK_DRAVIK_PROD", "-&CM-\\#T\\&VE &SR", &Block::m_maskWithProduct},
    {kDescSection, "MASK_SCHEME", "-&CM-\\#R3\\&VE &SR", &Block::m_maskScheme},
};

template <class Block>
constexpr NumberKey<Block> kFixedDistances[] = {
    {kDialogSection, "DIST_BUBBLE_1", "0.1", &Block::m_bubbleDistance1},
    {kDialogSection, "DIST_BUBBLE_2", "0.3", &Block::m_bubbleDistance2},
    {kDialogSection, "DIST_FLOOR_X", "0.2", &Block::m_floorDistanceX},
    {kDialogSection, "ARROW_FLOOR", "0.075", &Block::m_floorArrow},
    {kDialogSection, "LINE_FLOOR_1", "0.25", &Block::m_floorLine1},
    {kDialogSection, "LINE_FLOOR_2", "0.25", &Block::m_floorLine2},
    {kDialogSection, "PIPE_BEGIN_LEN", "0.1", &Block::m_pipeBeginLength},
    {kDialogSection, "PIPE_BEGIN_LEN_VERT", "0.1", &Block::m_verticalPipeBeginLength},
    {kDialogSection, "DIST_DESC", "0.05", &Block::m_descriptionDistance},
    {kDialogSection, "DIST_DESC_SPACE", "0.05", &Block::m_descriptionLineSpacing},
    {kDialogSection, "RISER_RADIUS", "0.08", &Block::m_riserRadius},
};

template <class Block>
constexpr TextKey<Block> kDescLayers[] = {
    {kDescSection, "LAYER", "", &Block::m_descriptionLayer},
    {kDescSection, "LAYER_BRANCH", "", &Block::m_branchLayer},
};

// "DESC" sizes the riser section reads too; the branch section reads more.
template <class Block>
constexpr NumberKey<Block> kDescSizes[] = {
    {kDescSection, "HEIGHT", "", &Block::m_descriptionHeight},
    {kDescSection, "HEIGHT_BRANCH", "", &Block::m_branchTextHeight},
    {kDescSection, "BUBBLE_DIAMETER", "", &Block::m_bubbleDiameter},
};

constexpr TextKey<JovCutParams> kBranchDescTexts[] = {
    {kDescSection, "RISER_LAYER", "", &JovCutParams::m_riserLayer},
};
constexpr NumberKey<JovCutParams> kBranchDescNumbers[] = {
    {kDescSection, "SCFACTOR_BRANCH", "", &JovCutParams::m_branchWidthFactor},
    {kDescSection, "SCFACTOR", "", &JovCutParams::m_descriptionWidthFactor},
    {kDescSection, "RISER_TEXT_HEIGHT", "", &JovCutParams::m_riserTextHeight},
    {kDescSection, "RISER_BUBBLE_DIA", "", &JovCutParams::m_riserBubbleDiameter},
};
constexpr IntegerKey<JovCutParams> kBranchDescIntegers[] = {
    {kDescSection, "BUBBLE_BRANCH", 1, &JovCutParams::m_branchBubble},
    {kDescSection, "RISER_BUBBLE", 1, &JovCutParams::m_riserBubble},
};
constexpr IntegerKey<JovCutParamsOld> kRiserDescIntegers[] = {
    {kDescSection, "BUBBLE_BRANCH", 1, &JovCutParamsOld::m_branchBubble},
};

CString ReadText(const char* file, const char* section, const char* key, const char* fallback) {
  char value[kValueSize] = "";
  GetPrivateProfileStringA(section, key, fallback, value, kValueSize, file);
  return CString(value);
}

int ReadInteger(const char* file, const char* section, const char* key, int fallback) {
  return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, file));
}

template <class Block>
void Read(const char* file, std::span<const TextKey<Block>> keys, Block& block) {
  for (const auto& k : keys) block.*k.field = ReadText(file, k.section, k.key, k.fallback);
}
template <class Block>
void Read(const char* file, std::span<const NumberKey<Block>> keys, Block& block) {
  for (const auto& k : keys) block.*k.field = AtofC(ReadText(file, k.section, k.key, k.fallback));
}
template <class Block>
void Read(const char* file, std::span<const IntegerKey<Block>> keys, Block& block) {
  for (const auto& k : keys) block.*k.field = ReadInteger(file, k.section, k.key, k.fallback);
}

template <class Block>
void ReadSharedDrawingSettings(const char* file, Block& block) {
  Read<Block>(file, kDescLayers<Block>, block);
  Read<Block>(file, kDescSizes<Block>, block);
  Read<Block>(file, kFixedDistances<Block>, block);
  Read<Block>(file, kMasks<Block>, block);
}

template <class Block>
void StorePipeTypes(const PipeType& supply, const PipeType& ret, Block& block, CString Block::*const (&fields)[6]) {
  const CString* values[] = {&supply.typeCode, &supply.text2, &supply.text3, &ret.typeCode, &ret.text2, &ret.text3};
  for (int i = 0; i < 6; ++i) block.*fields[i] = *values[i];
}

PipeType ReadPipeType(const char* file, const char* key) {
  return ParsePipeType(ReadText(file, "MODULE_T", key, ""));
}

}  // namespace

std::span<const CutSettingKey> CutSettingKeys(CutDialog dialog) {
  if (dialog == CutDialog::Branch) return kBranchKeys;
  return kRiserKeys;
}

CutDialogValues ReadCutValues(const char* settingsFile, CutDialog dialog) {
  CutDialogValues values;
  for (const CutSettingKey& k : CutSettingKeys(dialog)) {
    if (!k.read) continue;
    switch (k.kind) {
      case K::Number:
      case K::Text:
        values.*k.text = ReadText(settingsFile, kDialogSection, k.key, "");
        break;
      case K::CutNumber: {
        // Shown as the next number; the largest stays as it is.
        const int next = NextCutNumber(GetPrivateProfileIntA(kDialogSection, k.key, k.fallback, settingsFile));
        CString shown;
        shown.Format("%d", next);
        values.*k.text = shown;
        break;
      }
      case K::Check:
      case K::Switch:
        values.*k.state = ReadInteger(settingsFile, kDialogSection, k.key, k.fallback);
        break;
    }
  }
  if (values.describeRisers) values.describeLastRiser = 0;
  return values;
}

bool SaveCutValues(const char* settingsFile, CutDialog dialog, CutDialogValues& values) {
  if (dialog == CutDialog::Riser && values.cutNumber.IsEmpty()) return false;
  for (const CutSettingKey& k : CutSettingKeys(dialog)) {
    char number[16];
    const char* text = nullptr;
    switch (k.kind) {
      case K::Number:
        values.*k.text = WithLeadingZero(values.*k.text);
        text = values.*k.text;
        break;
      case K::Text:
        text = values.*k.text;
        break;
      case K::CutNumber:
        continue;  // kept once its section is drawn
      case K::Check:
        std::snprintf(number, sizeof number, "%d", values.*k.state);
        text = number;
        break;
      case K::Switch:
        text = values.*k.state ? "1" : "0";
        break;
    }
    WriteSettingsString(settingsFile, kDialogSection, k.key, text);
  }
  return true;
}

void SaveCutNumber(const char* settingsFile, const char* number) {
  for (const CutSettingKey& k : kRiserKeys)
    if (k.kind == K::CutNumber) WriteSettingsString(settingsFile, kDialogSection, k.key, number);
}

CString WithLeadingZero(const CString& number) {
  if (number.IsEmpty() || number[0] != '.') return number;
  return "0" + number;
}

void ReadDrawingSettings(const char* settingsFile, JovCutParams& block) {
  ReadSharedDrawingSettings(settingsFile, block);
  Read<JovCutParams>(settingsFile, kBranchDescTexts, block);
  Read<JovCutParams>(settingsFile, kBranchDescNumbers, block);
  Read<JovCutParams>(settingsFile, kBranchDescIntegers, block);
}

void ReadDrawingSettings(const char* settingsFile, JovCutParamsOld& block) {
  ReadSharedDrawingSettings(settingsFile, block);
  Read<JovCutParamsOld>(settingsFile, kRiserDescIntegers, block);
}

void ReadDescriptionMasks(const char* settingsFile, JovCutParams& block) {
  Read<JovCutParams>(settingsFile, kMasks<JovCutParams>, block);
}

PipeType ParsePipeType(const char* value) {
  PipeType type;
  const char* text = value ? value : "";
  const char* first = std::strchr(text, ';');
  if (!first) {
    type.typeCode = text;
  } else {
    type.typeCode = CString(text, static_cast<int>(first - text));
    const char* second = std::strchr(first + 1, ';');
    if (!second) {
      type.text2 = first + 1;
    } else {
      type.text2 = CString(first + 1, static_cast<int>(second - first - 1));
      type.text3 = second + 1;
    }
  }
  // A shorter code has no eighth character to mark.
  if (type.typeCode.GetLength() >= 8) type.typeCode.SetAt(7, 'i');
  return type;
}

void ReadPipeTypes(const char* pipeTypeFile, const char* supplyKey, const char* returnKey, JovCutParams& block) {
  static CString JovCutParams::*const fields[6] = {
      &JovCutParams::m_pipe1TypeCode, &JovCutParams::m_pipe1Field2, &JovCutParams::m_pipe1Layer,
      &JovCutParams::m_pipe2TypeCode, &JovCutParams::m_pipe2Field2, &JovCutParams::m_pipe2Layer};
  StorePipeTypes(ReadPipeType(pipeTypeFile, supplyKey), ReadPipeType(pipeTypeFile, returnKey), block, fields);
}

void ReadPipeTypes(const char* pipeTypeFile, JovCutParamsOld& block) {
  static CString JovCutParamsOld::*const fields[6] = {
      &JovCutParamsOld::m_supplyTypeCode, &JovCutParamsOld::m_supplyText2, &JovCutParamsOld::m_supplyText3,
      &JovCutParamsOld::m_returnTypeCode, &JovCutParamsOld::m_returnText2, &JovCutParamsOld::m_returnText3};
  StorePipeTypes(ReadPipeType(pipeTypeFile, "0"), ReadPipeType(pipeTypeFile, "1"), block, fields);
}

std::span<const CutPresetList> CutPresetLists(CutDialog dialog) {
  if (dialog == CutDialog::Branch) return kBranchPresets;
  return kRiserPresets;
}

std::vector<CString> ReadPresets(const char* presetFile, const char* section) {
  std::vector<CString> presets;
  for (int i = 0; i < kMaxPresets; ++i) {
    char key[8];
    std::snprintf(key, sizeof key, "%d", i);
    CString value = ReadText(presetFile, section, key, "");
    if (value.IsEmpty()) break;
    presets.push_back(value);
  }
  return presets;
}

CString ReadLayerPlaceholder(const char* presetFile) { return ReadText(presetFile, "DESC_LAYERS", "0", ""); }
