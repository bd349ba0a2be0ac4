// The section dialogs' settings files: what each dialog opens with, what
// OK writes and reads back, the drawing settings, pipe types and presets.
#include "jov_vantrix/section/CutSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "jov_vantrix/section/CutParamsRules.h"
#include "platform/catalogue/tests/TempFolder.h"
#include "platform/win32/profile.h"

namespace {

class CutSettingsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(folder_.Path().empty());
    std::filesystem::create_directory(folder_.File("Dat"));
  }
  // The system's own form of the paths: the profile folder, then "Dat\".
  std::string DataFile(const char* name) const { return folder_.Path() + "/Dat\\" + name; }

  void Write(const std::string& file, const char* section, const char* key, const char* value) {
    ASSERT_TRUE(WritePrivateProfileStringA(section, key, value, file.c_str()));
  }
  std::string Read(const char* key) {
    char value[256] = "";
    GetPrivateProfileStringA("CUT_DLG", key, "(missing)", value, sizeof value, settings.c_str());
    return value;
  }

  TempFolder folder_;
  const std::string settings = DataFile(kCutSettingsFile);
  const std::string presets = DataFile(kCutPresetFile);
  const std::string pipes = DataFile(kPipeTypeFile);
};

// Every value a dialog reads, compared key by key.
void ExpectSameValues(const CutDialogValues& a, const CutDialogValues& b, CutDialog dialog) {
  for (const CutSettingKey& k : CutSettingKeys(dialog)) {
    if (!k.read) continue;
    if (k.text) {
      EXPECT_STREQ(a.*k.text, b.*k.text) << k.key;
    } else {
      EXPECT_EQ(a.*k.state, b.*k.state) << k.key;
    }
  }
}

}  // namespace

TEST_F(CutSettingsFiles, MissingFilesGiveTheDefaults) {
  CutDialogValues defaults;  // empty texts; descriptions, pipes and the pipe switch on
  ExpectSameValues(ReadCutValues(settings.c_str(), CutDialog::Branch), defaults, CutDialog::Branch);
  defaults.cutNumber = "1";  // the first section
  ExpectSameValues(ReadCutValues(settings.c_str(), CutDialog::Riser), defaults, CutDialog::Riser);

  JovCutParams block;
  JovCutParamsOld older;
  ReadDrawingSettings(settings.c_str(), block);
  ReadDrawingSettings(settings.c_str(), older);
  EXPECT_STREQ(block.m_maskWithoutProduct, "-&CM-\\&TY\\&L/&V\\&VE &SR");
  EXPECT_STREQ(block.m_maskWithProduct, "-&CM-\\#T\\&VE &SR");
  EXPECT_STREQ(older.m_maskScheme, "-&CM-\\#R3\\&VE &SR");
  EXPECT_EQ(block.m_descriptionWidthFactor, 0.0) << "the scale factors have no default of their own";
  EXPECT_EQ(block.m_branchBubble + block.m_riserBubble + older.m_branchBubble, 3);
  EXPECT_DOUBLE_EQ(older.m_bubbleDistance2, 0.3);
  EXPECT_DOUBLE_EQ(block.m_floorArrow, 0.075);
  EXPECT_DOUBLE_EQ(older.m_riserRadius, 0.08);
  ReadPipeTypes(pipes.c_str(), "0", "1", block);
  EXPECT_TRUE(block.m_pipe1TypeCode.IsEmpty() && block.m_pipe2Layer.IsEmpty());
  EXPECT_TRUE(ReadPresets(presets.c_str(), "CUT_DLG_DIST_ELM").empty());
  EXPECT_TRUE(ReadLayerPlaceholder(presets.c_str()).IsEmpty());
  EXPECT_FALSE(std::filesystem::exists(folder_.File("Dat/Jov.ini"))) << "reading creates no file";
}

TEST_F(CutSettingsFiles, WhatOkWritesReadsBackWithALeadingZero) {
  CutDialogValues branch;
  branch.riserDistance = "0.5";
  branch.elementDistance = ".5";
  branch.pipeFloorDistance = "-.2";  // only a leading '.' gets its '0'
  branch.sameLength = ".12";
  branch.floorDescription = ".NP";   // a text, not a number
  branch.sameLengthOn = 2;           // any checked state is a "1"
  branch.sameHeightOn = 1;
  branch.describeRisers = 0;
  branch.describeLastRiser = 1;
  branch.pipeSwitch = 0;
  ASSERT_TRUE(SaveCutValues(settings.c_str(), CutDialog::Branch, branch));
  EXPECT_STREQ(branch.elementDistance, "0.5") << "the values hold what was written";
  branch.sameLengthOn = 1;
  ExpectSameValues(ReadCutValues(settings.c_str(), CutDialog::Branch), branch, CutDialog::Branch);
  for (auto [key, value] : {std::pair{"DIST_ELM", "0.5"}, {"PIPE_FLOOR_DIST", "-.2"}, {"SAME_LENGTH", "0.12"},
                            {"DESC_FLOOR", ".NP"}, {"ENABLE_SAME_LENGTH", "1"}, {"DESC_HEIGHT", "1"},
                            {"DESC_LASTRISER", "1"}, {"PIPE_SWITCH", "0"}, {"HEIGHT_FLOOR", ""}})
    EXPECT_EQ(Read(key), value) << key;

  // The riser section's keys beside the branch section's.
  CutDialogValues riser;
  riser.cutNumber = "7";
  riser.height = ".28";
  riser.sameLength = ".3";
  riser.drawPipe = 0;
  riser.lastFloor = 1;
  ASSERT_TRUE(SaveCutValues(settings.c_str(), CutDialog::Riser, riser));
  EXPECT_EQ(Read("CUT_NUMBER"), "(missing)") << "kept once its section is drawn";
  SaveCutNumber(settings.c_str(), riser.cutNumber);
  EXPECT_EQ(Read("SAME_ITEM_LENGTH"), "0.3");
  EXPECT_EQ(Read("SAME_LENGTH"), "0.12") << "the branch section's own key stays";
  riser.cutNumber = "8";  // the next section's
  ExpectSameValues(ReadCutValues(settings.c_str(), CutDialog::Riser), riser, CutDialog::Riser);

  // Without a number the riser section writes nothing at all.
  riser.cutNumber.Empty();
  riser.height = ".9";
  EXPECT_FALSE(SaveCutValues(settings.c_str(), CutDialog::Riser, riser));
  EXPECT_EQ(Read("HEIGHT"), "0.28");
  EXPECT_EQ(Read("CUT_NUMBER"), "7");
}

TEST_F(CutSettingsFiles, TheFileDecidesTheNumberShownAndTheRiserDescriptions) {
  for (auto [saved, shown] : {std::pair{"7", "8"}, {"12", "13"}, {"x", "1"}}) {
    Write(settings, "CUT_DLG", "CUT_NUMBER", saved);
    EXPECT_STREQ(ReadCutValues(settings.c_str(), CutDialog::Riser).cutNumber, shown) << saved;
  }
  // Describing every riser and only the last one exclude each other.
  for (auto [risers, last, expected] : {std::tuple{"1", "1", 0}, {"0", "1", 1}, {"1", "0", 0}}) {
    Write(settings, "CUT_DLG", "DESC_RISER", risers);
    Write(settings, "CUT_DLG", "DESC_LASTRISER", last);
    EXPECT_EQ(ReadCutValues(settings.c_str(), CutDialog::Branch).describeLastRiser, expected) << risers << last;
  }
}

TEST_F(CutSettingsFiles, DrawingSettingsFillEachBlockWithItsOwnKeys) {
  for (auto [key, value] : {std::pair{"LAYER", "DESC"}, {"HEIGHT", "2.5"}, {"LAYER_BRANCH", "BR"},
                            {"HEIGHT_BRANCH", "3.5"}, {"BUBBLE_BRANCH", "0"}, {"RISER_LAYER", "RISERS"},
                            {"RISER_BUBBLE_DIA", "9"}, {"SCFACTOR", "0.7"}, {"MASK_SCHEME", "&CM"}})
    Write(settings, "desc", key, value);  // names match in any case
  Write(settings, "CUT_DLG", "dist_bubble_1", "0.15");
  Write(settings, "CUT_DLG", "RISER_RADIUS", "");

  JovCutParams block;
  JovCutParamsOld older;
  ReadDrawingSettings(settings.c_str(), block);
  ReadDrawingSettings(settings.c_str(), older);
  EXPECT_STREQ(block.m_riserLayer, "RISERS");
  EXPECT_DOUBLE_EQ(block.m_riserBubbleDiameter, 9);
  EXPECT_DOUBLE_EQ(block.m_descriptionWidthFactor, 0.7);
  EXPECT_TRUE(older.m_riserLayer.IsEmpty()) << "the riser section's is a resource text";
  for (const auto* b : {&block.m_descriptionHeight, &older.m_descriptionHeight}) EXPECT_DOUBLE_EQ(*b, 2.5);
  for (const auto* b : {&block.m_branchTextHeight, &older.m_branchTextHeight}) EXPECT_DOUBLE_EQ(*b, 3.5);
  for (const auto* b : {&block.m_bubbleDistance1, &older.m_bubbleDistance1}) EXPECT_DOUBLE_EQ(*b, 0.15);
  for (const auto* b : {&block.m_riserRadius, &older.m_riserRadius}) EXPECT_EQ(*b, 0.0) << "empty is 0";
  EXPECT_STREQ(older.m_descriptionLayer, "DESC");
  EXPECT_STREQ(older.m_branchLayer, "BR");
  EXPECT_STREQ(older.m_maskScheme, "&CM");
  EXPECT_EQ(older.m_branchBubble, 0);
  EXPECT_DOUBLE_EQ(older.m_bubbleDistance3, 0.1) << "the third bubble distance has no key";
}

TEST(PipeTypes, FieldsSplitAtTheFirstTwoSemicolons) {
  const struct {
    const char* value;
    const char* typeCode;
    const char* text2;
    const char* text3;
  } cases[] = {
      {"TPP0000-0001;P;PIPE_S", "TPP0000i0001", "P", "PIPE_S"},
      {"TPZ0000-0001;Z;PIPE;R", "TPZ0000i0001", "Z", "PIPE;R"},  // the third runs to the end
      {"TPP0000-0001", "TPP0000i0001", "", ""},                   // no ';': the whole text
      {"ABCDEFGH;P", "ABCDEFGi", "P", ""},                        // eight characters are enough
      {"ABCDEFG;X;Y", "ABCDEFG", "X", "Y"},                       // seven are left alone
      {";;", "", "", ""},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    const PipeType type = ParsePipeType(c.value);
    EXPECT_STREQ(type.typeCode, c.typeCode) << c.value;
    EXPECT_STREQ(type.text2, c.text2) << c.value;
    EXPECT_STREQ(type.text3, c.text3) << c.value;
  }
}

TEST_F(CutSettingsFiles, PipeTypesComeFromTheKeysTheSelectionChose) {
  Write(pipes, "MODULE_T", "0", "TPP0000-0001;P;PIPE_S");
  Write(pipes, "MODULE_T", "1", "TPZ0000-0001;Z;PIPE_R");
  Write(pipes, "MODULE_T", "18", "TP60000-0001;6;HOT");
  Write(pipes, "MODULE_T", "19", "TP7;7");
  JovCutParams block;
  ReadPipeTypes(pipes.c_str(), "18", "19", block);
  JovCutParamsOld older;
  ReadPipeTypes(pipes.c_str(), older);
  const CString read[] = {block.m_pipe1TypeCode,   block.m_pipe1Field2,   block.m_pipe1Layer,
                          block.m_pipe2TypeCode,   block.m_pipe2Field2,   block.m_pipe2Layer,
                          older.m_supplyTypeCode,  older.m_supplyText2,  older.m_supplyText3,
                          older.m_returnTypeCode,  older.m_returnText2,  older.m_returnText3};
  const char* expected[] = {"TP60000i0001", "6", "HOT", "TP7", "7", "",
                            "TPP0000i0001", "P", "PIPE_S", "TPZ0000i0001", "Z", "PIPE_R"};
  for (int i = 0; i < 12; ++i) EXPECT_STREQ(read[i], expected[i]) << i;
}

TEST_F(CutSettingsFiles, PresetsStopAtTheFirstGap) {
  for (auto [key, value] : {std::pair{"0", "0.3"}, {"1", "0.5"}, {"3", "0.9"}})
    Write(presets, "CUT_DLG_DIST_ELM", key, value);
  Write(presets, "CUT_DLG_NUMBER", "1", "2");
  Write(presets, "CUT_DLG_HEIGHT", "0", "2.8");
  Write(presets, "CUT_DLG_HEIGHT", "1", "");
  for (int i = 0; i <= 100; ++i) Write(presets, "CUT_DLG_DIST_PIPE", std::to_string(i).c_str(), "0.1");
  Write(presets, "DESC_LAYERS", "0", "<current>");

  const std::vector<CString> elements = ReadPresets(presets.c_str(), "CUT_DLG_DIST_ELM");
  ASSERT_EQ(elements.size(), 2u);
  EXPECT_STREQ(elements[1], "0.5");
  EXPECT_TRUE(ReadPresets(presets.c_str(), "CUT_DLG_NUMBER").empty()) << "no key 0, no presets";
  EXPECT_EQ(ReadPresets(presets.c_str(), "CUT_DLG_HEIGHT").size(), 1u) << "an empty value is a gap";
  EXPECT_EQ(ReadPresets(presets.c_str(), "CUT_DLG_DIST_PIPE").size(), 100u) << "keys 0 to 99";
  EXPECT_STREQ(ReadLayerPlaceholder(presets.c_str()), "<current>");
}
