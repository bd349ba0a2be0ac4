// The section dialogs' settings files: the input is each of "Jov.ini",
// "Jov_set.dat" and "Jov_lin.dat" at once. Both dialogs' values, drawing
// settings, pipe types, presets and layer placeholder are read, the values
// stored in both parameter blocks with the layer rules and the conversion.
// No value read is longer than 255 characters, a pipe type code of eight
// characters or more is marked in the network, the presets stop at their
// first gap, and values saved as OK saves them read back the same.
#include <cmath>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/section/CutParamsRules.h"
#include "jov_vantrix/section/CutSettings.h"
#include "jov_vantrix/section/JovCutParamsOld.h"
#include "platform/win32/profile.h"

namespace {

constexpr int kLongest = 255;

void CheckLength(const CString& text, const char* what) {
  FUZZ_CHECK(text.GetLength() <= kLongest, std::string(what) + " longer than a read allows");
}

void CheckPipeType(const CString& code) {
  CheckLength(code, "a pipe type code");
  if (code.GetLength() >= 8) FUZZ_CHECK(code[7] == 'i', "a pipe type code not marked in the network: " + std::string(code));
}

// What reading a saved value gives: numbers and check states as saved, a
// section number shown one higher.
void CheckSavedReadsBack(CutDialog dialog, CutDialogValues saved) {
  const std::string copy = fuzz::WriteScratchFile("saved.ini", "");
  if (!SaveCutValues(copy.c_str(), dialog, saved)) {
    FUZZ_CHECK(dialog == CutDialog::Riser && saved.cutNumber.IsEmpty(), "a save refused with a number");
    return;
  }
  const CutDialogValues again = ReadCutValues(copy.c_str(), dialog);
  for (const CutSettingKey& k : CutSettingKeys(dialog)) {
    if (!k.read || k.kind == CutValueKind::CutNumber) continue;
    if (k.text) {
      const CString& was = saved.*k.text;
      // A value that gained its '0' beyond what a read takes is cut.
      if (was.GetLength() < kLongest)
        FUZZ_CHECK(again.*k.text == was, std::string(k.key) + ": \"" + std::string(was) + "\" reads back as \"" +
                                             std::string(again.*k.text) + "\"");
    } else {
      int expected = saved.*k.state;
      if (k.kind == CutValueKind::Switch) expected = expected ? 1 : 0;
      if (k.state == &CutDialogValues::describeLastRiser && saved.describeRisers)
        expected = 0;
      FUZZ_CHECK(again.*k.state == expected, std::string(k.key) + " reads back as another state");
    }
  }
}

template <class Block>
void Finish(Block& block, const CString& placeholder) {
  RecomputePipeBeginLength(block);
  if (AsksToShorten(block)) ShortenConnectionOffsets(block);
  ApplyLayerRules(block, placeholder, "CURRENT");
  ConvertForGeneration(block);
  FUZZ_CHECK(!std::isnan(block.m_connectionOffset1) && !std::isnan(block.m_connectionOffset2),
             "the connection offsets are no numbers");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::Text(data, size);
  const std::string settings = fuzz::WriteScratchFile(kCutSettingsFile, text);
  const std::string presets = fuzz::WriteScratchFile(kCutPresetFile, text);
  const std::string pipeTypes = fuzz::WriteScratchFile(kPipeTypeFile, text);

  const CString placeholder = ReadLayerPlaceholder(presets.c_str());
  CheckLength(placeholder, "the layer placeholder");
  for (CutDialog dialog : {CutDialog::Branch, CutDialog::Riser}) {
    for (const CutPresetList& list : CutPresetLists(dialog)) {
      const std::vector<CString> values = ReadPresets(presets.c_str(), list.section);
      FUZZ_CHECK(values.size() <= 100, "more presets than keys");
      for (const CString& value : values) {
        CheckLength(value, "a preset");
        FUZZ_CHECK(!value.IsEmpty(), "an empty preset");
      }
    }
    const CutDialogValues values = ReadCutValues(settings.c_str(), dialog);
    for (const CutSettingKey& k : CutSettingKeys(dialog))
      if (k.text) CheckLength(values.*k.text, k.key);
    FUZZ_CHECK(!(values.describeRisers && values.describeLastRiser), "both riser descriptions on");
    CheckSavedReadsBack(dialog, values);
  }

  JovCutParams branch;
  ReadDrawingSettings(settings.c_str(), branch);
  for (const CString* mask : {&branch.m_maskWithoutProduct, &branch.m_maskWithProduct, &branch.m_maskScheme})
    CheckLength(*mask, "a description mask");
  ReadPipeTypes(pipeTypes.c_str(), "18", "19", branch);
  CheckPipeType(branch.m_pipe1TypeCode);
  CheckPipeType(branch.m_pipe2TypeCode);
  StoreCutValues(ReadCutValues(settings.c_str(), CutDialog::Branch), branch);
  Finish(branch, placeholder);

  JovCutParamsOld riser;
  ReadDrawingSettings(settings.c_str(), riser);
  ReadPipeTypes(pipeTypes.c_str(), riser);
  CheckPipeType(riser.m_supplyTypeCode);
  CheckPipeType(riser.m_returnTypeCode);
  StoreCutValues(ReadCutValues(settings.c_str(), CutDialog::Riser), riser);
  Finish(riser, placeholder);
  return 0;
}
