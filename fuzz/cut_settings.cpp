// The section dialogs' settings files: the input is written as each of the
// three ("Jov.ini", "Jov_set.dat", "Jov_lin.dat"), then read as each
// dialog reads them. No value is longer than 255 characters; a pipe type
// code of eight characters or more is marked in the network, and a pipe
// type written as its three fields parses to the same; presets stop at 100
// and hold no empty value. A dialog's values saved with OK read back as
// saved (the section number one higher, as the dialog shows the next); the
// rules after OK keep the connections within the equal length and no layer
// on the placeholder; values OK accepts are in range, and settings the
// generation accepts hold usable layer names; a text is told as UTF-8 by
// its byte-order mark and never when it is ASCII.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <type_traits>

#include "common/ValueRules.h"
#include "fuzz/FuzzSupport.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/section/CutParamsRules.h"
#include "jov_vantrix/section/CutSettings.h"
#include "jov_vantrix/section/CutSettingsChecks.h"
#include "jov_vantrix/section/JovCutParamsOld.h"
#include "jov_vantrix/section/SettingsFileText.h"

namespace {

constexpr int kValueLimit = 255;

std::string Std(const CString& text) { return std::string(text.GetString(), static_cast<size_t>(text.GetLength())); }

// Whether the profile keeps the text as written: no blanks at its ends and
// no pair of quotes around it.
bool Plain(const std::string& text) {
  if (text.empty()) return true;
  auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  if (blank(text.front()) || blank(text.back())) return false;
  return !(text.size() >= 2 && text.front() == '"' && text.back() == '"');
}

void CheckValues(const CutDialogValues& values, CutDialog dialog) {
  for (const CutSettingKey& k : CutSettingKeys(dialog))
    if (k.text) FUZZ_CHECK((values.*k.text).GetLength() <= kValueLimit, std::string("a value too long: ") + k.key);
  FUZZ_CHECK(!values.describeRisers || !values.describeLastRiser, "both riser descriptions are on");
}

// What the dialog shows again after its values were saved with OK.
void CheckSavedValues(const CutDialogValues& saved, const CutDialogValues& read, CutDialog dialog) {
  for (const CutSettingKey& k : CutSettingKeys(dialog)) {
    if (!k.read) continue;
    const std::string what = std::string("saved ") + k.key + " reads otherwise";
    switch (k.kind) {
      case CutValueKind::Number:
      case CutValueKind::Text: {
        const std::string was = Std(saved.*k.text).substr(0, kValueLimit);
        if (Plain(was)) FUZZ_CHECK(Std(read.*k.text) == was, what);
        break;
      }
      case CutValueKind::CutNumber: {
        const std::string was = Std(saved.*k.text);
        int number = 0;
        std::from_chars(was.data(), was.data() + was.size(), number);
        FUZZ_CHECK(Std(read.*k.text) == std::to_string(NextCutNumber(static_cast<unsigned>(number))), what);
        break;
      }
      case CutValueKind::Check:
        FUZZ_CHECK(read.*k.state == saved.*k.state, what);
        break;
      case CutValueKind::Switch:
        FUZZ_CHECK(read.*k.state == (saved.*k.state != 0 ? 1 : 0), what);
        break;
    }
  }
}

void CheckPipeType(const CString& code, const CString& text2, const CString& text3) {
  for (const CString* text : {&code, &text2, &text3})
    FUZZ_CHECK(text->GetLength() <= kValueLimit, "a pipe type text too long");
  FUZZ_CHECK(code.GetLength() < 8 || code[7] == 'i', "a long type code is not marked: " + Std(code));
  const PipeType again = ParsePipeType((Std(code) + ";" + Std(text2) + ";" + Std(text3)).c_str());
  FUZZ_CHECK(again.typeCode == code && again.text2 == text2 && again.text3 == text3,
             "a pipe type written as its fields parses otherwise");
}

// Values OK accepts are finite distances in range, the floor above both
// pipes.
template <class Block>
void CheckAccepted(const CutDialogValues& values, CutDialog dialog, const Block& block) {
  if (CheckCutValues(values, dialog)) return;
  for (double d : {block.m_riserDistance, block.m_elementDistance, block.m_floorHeight})
    FUZZ_CHECK(std::isfinite(d) && d > 0 && d <= 1000, "an accepted distance out of range");
  if (dialog == CutDialog::Branch || values.drawPipe)
    FUZZ_CHECK(block.m_floorHeight > block.m_pipeDistance + block.m_pipeFloorDistance, "an accepted floor too low");
}

// Settings the generation accepts hold only layer names a drawing can hold.
template <class Block>
void CheckDrawable(const CutSettingFault& fault, const Block& block) {
  if (fault) {
    FUZZ_CHECK(!fault.what.IsEmpty(), "a refusal names nothing");
    return;
  }
  for (const CString* layer : {&block.m_branchLayer, &block.m_descriptionLayer})
    FUZZ_CHECK(IsUsableLayerName(*layer), "an accepted layer a drawing cannot hold: " + Std(*layer));
  FUZZ_CHECK(IsUsableLength(block.m_riserRadius) && IsUsableLength(block.m_floorLine1),
             "an accepted circle or line of no length");
}

template <class Block>
void CheckRules(Block& block, double& sameLength, bool asks, const CString& placeholder, bool star) {
  if (asks) {
    const double before1 = block.m_connectionOffset1, before2 = block.m_connectionOffset2;
    ShortenConnectionOffsets(block);
    const double fitted = 2 * block.m_connectionOffset1 + block.m_connectionOffset2;
    if (std::isfinite(fitted) && std::isfinite(sameLength) && 2 * before1 + before2 != 0)
      FUZZ_CHECK(std::fabs(fitted - sameLength) <= 1e-9 * std::fabs(sameLength) + 1e-12,
                 "the shortened connections do not fit the equal length");
  }
  RecomputePipeBeginLength(block);
  ApplyLayerRules(block, placeholder, "current layer");
  if constexpr (std::is_same_v<Block, JovCutParams>)
    CheckDrawable(CheckDrawingSettings(block, "0", "1"), block);
  else
    CheckDrawable(CheckDrawingSettings(block), block);
  for (const CString* layer : {&block.m_branchLayer, &block.m_descriptionLayer}) {
    FUZZ_CHECK(placeholder == "current layer" || *layer != placeholder, "a layer stays on the placeholder");
    FUZZ_CHECK(!star || *layer != "*", "a layer stays \"*\"");
  }
  ConvertForGeneration(block);
}

void CheckDialog(const std::string& ini, const std::string& presets, const std::string& pipes, CutDialog dialog) {
  CutDialogValues values = ReadCutValues(ini.c_str(), dialog);
  CheckValues(values, dialog);
  for (const CutPresetList& list : CutPresetLists(dialog)) {
    const std::vector<CString> read = ReadPresets(presets.c_str(), list.section);
    FUZZ_CHECK(read.size() <= 100, "more than 100 presets");
    for (const CString& p : read) FUZZ_CHECK(!p.IsEmpty() && p.GetLength() <= kValueLimit, "a preset empty or too long");
  }
  const CString placeholder = ReadLayerPlaceholder(presets.c_str());
  FUZZ_CHECK(placeholder.GetLength() <= kValueLimit, "the layer placeholder too long");

  if (dialog == CutDialog::Branch) {
    JovCutParams block;
    ReadDrawingSettings(ini.c_str(), block);
    ReadPipeTypes(pipes.c_str(), "0", "1", block);
    CheckPipeType(block.m_pipe1TypeCode, block.m_pipe1Field2, block.m_pipe1Layer);
    CheckPipeType(block.m_pipe2TypeCode, block.m_pipe2Field2, block.m_pipe2Layer);
    StoreCutValues(values, block);
    CheckAccepted(values, dialog, block);
    CheckRules(block, block.m_sameLength, AsksToShorten(block), placeholder, true);
    FUZZ_CHECK(placeholder == "current layer" || (block.m_riserLayer != placeholder && block.m_riserLayer != "*"),
               "the riser layer stays on the placeholder");
  } else {
    JovCutParamsOld block;
    ReadDrawingSettings(ini.c_str(), block);
    ReadPipeTypes(pipes.c_str(), block);
    CheckPipeType(block.m_supplyTypeCode, block.m_supplyText2, block.m_supplyText3);
    CheckPipeType(block.m_returnTypeCode, block.m_returnText2, block.m_returnText3);
    StoreCutValues(values, block);
    CheckAccepted(values, dialog, block);
    CheckRules(block, block.m_sameItemLength, AsksToShorten(block), placeholder, false);
  }

  // OK saves what the dialog shows (the number with its section drawn);
  // opened again it shows the same.
  FUZZ_CHECK(SaveCutValues(ini.c_str(), dialog, values), "the values are not saved");
  if (dialog == CutDialog::Riser) SaveCutNumber(ini.c_str(), values.cutNumber);
  const CutDialogValues again = ReadCutValues(ini.c_str(), dialog);
  CheckSavedValues(values, again, dialog);
  CheckValues(again, dialog);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  for (CutDialog dialog : {CutDialog::Branch, CutDialog::Riser}) {
    const std::string ini = fuzz::WriteScratchFile(kCutSettingsFile, text);
    const std::string presets = fuzz::WriteScratchFile(kCutPresetFile, text);
    const std::string pipes = fuzz::WriteScratchFile(kPipeTypeFile, text);
    CheckDialog(ini, presets, pipes, dialog);
  }
  // The same bytes told as UTF-8 or code page 1250: any text behind a
  // byte-order mark is UTF-8, and ASCII alone is not.
  const std::string marked = "\xEF\xBB\xBF" + std::string(text);
  FUZZ_CHECK(IsUtf8Text(marked.data(), marked.size()), "a byte-order mark is not taken as UTF-8");
  if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    FUZZ_CHECK(!IsUtf8Text(text.data(), text.size()), "ASCII taken as UTF-8");
  return 0;
}
