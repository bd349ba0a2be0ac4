// The section dialogs' settings files: what each dialog opens with, what
// OK writes and reads back, the drawing settings, pipe types and presets.
#include "jov_vantrix/section/CutSettings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "jov_vantrix/section/CutParamsRules.h"
#include "platform/win32/profile.h"

namespace {

class CutSettingsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    profile_ = std::filesystem::temp_directory_path() /
               (std::string("jov_cut_") + info->name() + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(profile_);
    std::filesystem::create_directories(profile_ / "Dat");
    // The system's own form of the paths: the profile folder, then "Dat\".
    settings = profile_.string() + "/Dat\\" + kCutSettingsFile;
    presets = profile_.string() + "/Dat\\" + kCutPresetFile;
    pipes = profile_.string() + "/Dat\\" + kPipeTypeFile;
  }
  void TearDown() override { std::filesystem::remove_all(profile_); }

  void Write(const std::string& file, const char* section, const char* key, const char* value) {
    ASSERT_TRUE(WritePrivateProfileStringA(section, key, value, file.c_str()));
  }
  std::string Read(const char* section, const char* key) {
    char value[256] = "";
    GetPrivateProfileStringA(section, key, "(missing)", value, sizeof value, settings.c_str());
    return value;
  }
  bool SettingsExist() const { return std::filesystem::exists(profile_ / "Dat" / kCutSettingsFile); }

  std::filesystem::path profile_;
  std::string settings, presets, pipes;
};

std::vector<std::string> Texts(const std::vector<CString>& values) {
  std::vector<std::string> out;
  for (const CString& v : values) out.emplace_back(v.GetString());
  return out;
}

}  // namespace

TEST_F(CutSettingsFiles, MissingFilesGiveTheDefaults) {
  const CutDialogValues branch = ReadCutValues(settings.c_str(), CutDialog::Branch);
  const CutDialogValues riser = ReadCutValues(settings.c_str(), CutDialog::Riser);
  for (const CutDialogValues* v : {&branch, &riser}) {
    for (const CString* text : {&v->height, &v->riserDistance, &v->elementDistance, &v->floorHeight,
                                &v->pipeDistance, &v->floorDescription, &v->pipeFloorDistance, &v->sameLength,
                                &v->sameHeight})
      EXPECT_TRUE(text->IsEmpty()) << text->GetString();
    EXPECT_EQ(v->sameLengthOn, 0);
    EXPECT_EQ(v->sameHeightOn, 0);
    EXPECT_EQ(v->describeElements, 1);
    EXPECT_EQ(v->describeRisers, 1);
    EXPECT_EQ(v->describeLastRiser, 0);
    EXPECT_EQ(v->drawFloor, 0);
    EXPECT_EQ(v->drawPipe, 1);
    EXPECT_EQ(v->lastFloor, 0);
    EXPECT_EQ(v->pipeSwitch, 1);
  }
  EXPECT_STREQ(riser.cutNumber, "1") << "a missing number shows as the first";
  EXPECT_TRUE(branch.cutNumber.IsEmpty()) << "the branch section has no number";

  JovCutParams block;
  JovCutParamsOld older;
  block.m_branchWidthFactor = block.m_descriptionWidthFactor = 0.8;
  ReadDrawingSettings(settings.c_str(), block);
  ReadDrawingSettings(settings.c_str(), older);
  EXPECT_STREQ(block.m_maskWithoutProduct, "-&CM-\\&TY\\&L/&V\\&VE &SR");
  EXPECT_STREQ(block.m_maskWithProduct, "-&CM-\\#T\\&VE &SR");
  EXPECT_STREQ(older.m_maskScheme, "-&CM-\\#R3\\&VE &SR");
  EXPECT_EQ(block.m_branchWidthFactor, 0.0) << "the scale factors have no default of their own";
  EXPECT_EQ(block.m_descriptionWidthFactor, 0.0);
  EXPECT_EQ(block.m_branchBubble, 1);
  EXPECT_EQ(block.m_riserBubble, 1);
  EXPECT_EQ(older.m_branchBubble, 1);
  const std::pair<double, double> distances[] = {
      {block.m_bubbleDistance1, 0.1}, {block.m_bubbleDistance2, 0.3},   {block.m_floorDistanceX, 0.2},
      {block.m_floorArrow, 0.075},    {older.m_floorLine1, 0.25},       {older.m_floorLine2, 0.25},
      {older.m_pipeBeginLength, 0.1}, {older.m_verticalPipeBeginLength, 0.1}, {older.m_descriptionDistance, 0.05},
      {older.m_descriptionLineSpacing, 0.05}, {older.m_riserRadius, 0.08}};
  for (const auto& [read, expected] : distances) EXPECT_DOUBLE_EQ(read, expected);
  EXPECT_TRUE(block.m_riserLayer.IsEmpty() && block.m_branchLayer.IsEmpty() && older.m_descriptionLayer.IsEmpty());

  ReadPipeTypes(pipes.c_str(), "0", "1", block);
  EXPECT_TRUE(block.m_pipe1TypeCode.IsEmpty() && block.m_pipe2Layer.IsEmpty());
  EXPECT_TRUE(ReadPresets(presets.c_str(), "CUT_DLG_DIST_ELM").empty());
  EXPECT_TRUE(ReadLayerPlaceholder(presets.c_str()).IsEmpty());
  EXPECT_FALSE(SettingsExist()) << "reading creates no file";
}

TEST_F(CutSettingsFiles, WhatOkWritesReadsBackWithALeadingZero) {
  CutDialogValues branch;
  branch.riserDistance = "0.5";
  branch.elementDistance = ".5";
  branch.floorHeight = "3";
  branch.pipeDistance = ".1";
  branch.pipeFloorDistance = "-.2";  // only a leading '.' gets its '0'
  branch.sameLength = ".12";
  branch.sameHeight = "0.6";
  branch.floorDescription = ".NP";
  branch.sameLengthOn = 1;
  branch.sameHeightOn = 1;
  branch.describeElements = 0;
  branch.describeRisers = 0;
  branch.describeLastRiser = 1;
  branch.drawFloor = 1;
  branch.pipeSwitch = 0;
  ASSERT_TRUE(SaveCutValues(settings.c_str(), CutDialog::Branch, branch));
  const std::pair<const char*, const char*> written[] = {
      {"DIST_RISER", "0.5"}, {"DIST_ELM", "0.5"},         {"HEIGHT_FLOOR", "3"},      {"DIST_PIPE", "0.1"},
      {"PIPE_FLOOR_DIST", "-.2"}, {"SAME_LENGTH", "0.12"}, {"ENABLE_SAME_LENGTH", "1"}, {"SAME_HEIGHT", "0.6"},
      {"ENABLE_SAME_HEIGHT", "1"}, {"DESC_FLOOR", ".NP"}, {"DRAW_FLOOR", "1"},         {"DESC_ELM", "0"},
      {"DESC_RISER", "0"},   {"DESC_LASTRISER", "1"},     {"DESC_HEIGHT", "1"},       {"PIPE_SWITCH", "0"}};
  for (const auto& [key, value] : written) EXPECT_EQ(Read("CUT_DLG", key), value) << key;
  EXPECT_STREQ(branch.elementDistance, "0.5") << "the values hold what was written";

  const CutDialogValues back = ReadCutValues(settings.c_str(), CutDialog::Branch);
  EXPECT_STREQ(back.elementDistance, "0.5");
  EXPECT_STREQ(back.pipeFloorDistance, "-.2");
  EXPECT_STREQ(back.sameLength, "0.12");
  EXPECT_STREQ(back.floorDescription, ".NP");
  EXPECT_EQ(back.describeLastRiser, 1) << "kept while the risers are not described";
  EXPECT_EQ(back.pipeSwitch, 0);
  EXPECT_EQ(back.drawFloor, 1);

  // The riser section's keys in the same file, beside the branch section's.
  CutDialogValues riser;
  riser.cutNumber = "7";
  riser.height = ".28";
  riser.sameLength = ".3";
  riser.sameLengthOn = 2;  // any checked state is a "1"
  riser.drawPipe = 0;
  riser.lastFloor = 1;
  ASSERT_TRUE(SaveCutValues(settings.c_str(), CutDialog::Riser, riser));
  EXPECT_EQ(Read("CUT_DLG", "CUT_NUMBER"), "7");
  EXPECT_EQ(Read("CUT_DLG", "HEIGHT"), "0.28");
  EXPECT_EQ(Read("CUT_DLG", "SAME_ITEM_LENGTH"), "0.3");
  EXPECT_EQ(Read("CUT_DLG", "SAME_LENGTH"), "0.12") << "the branch section's own key stays";
  EXPECT_EQ(Read("CUT_DLG", "ENABLE_SAME_ITEM_LENGTH"), "1");
  EXPECT_EQ(Read("CUT_DLG", "DRAW_PIPE"), "0");
  EXPECT_EQ(Read("CUT_DLG", "LAST_FLOOR"), "1");
  const CutDialogValues again = ReadCutValues(settings.c_str(), CutDialog::Riser);
  EXPECT_STREQ(again.cutNumber, "8") << "the next section's number";
  EXPECT_STREQ(again.sameLength, "0.3");
  EXPECT_EQ(again.drawPipe, 0);

  JovCutParams block;
  StoreCutValues(branch, block);
  EXPECT_DOUBLE_EQ(block.m_elementDistance, 0.5);
  EXPECT_DOUBLE_EQ(block.m_pipeFloorDistance, -0.2);
  EXPECT_DOUBLE_EQ(block.m_sameLength, 0.12);
  EXPECT_TRUE(block.m_sameLengthOn && block.m_sameHeightOn);
  EXPECT_FALSE(block.m_pipeSwitch);
  EXPECT_EQ(block.m_describeRisers, 0);
  EXPECT_EQ(block.m_describeLastRiser, 1);
  EXPECT_STREQ(block.m_floorDescription, ".NP");
  JovCutParamsOld older;
  StoreCutValues(riser, older);
  EXPECT_STREQ(older.m_cutNumber, "7");
  EXPECT_DOUBLE_EQ(older.m_height, 0.28);
  EXPECT_DOUBLE_EQ(older.m_sameItemLength, 0.3);
  EXPECT_EQ(older.m_pipeSwitch, 1);
  EXPECT_EQ(older.m_drawPipe, 0);
  EXPECT_EQ(older.m_lastFloor, 1);
}

TEST_F(CutSettingsFiles, ARiserSectionWithoutNumberWritesNothing) {
  CutDialogValues riser;
  riser.elementDistance = ".5";
  EXPECT_FALSE(SaveCutValues(settings.c_str(), CutDialog::Riser, riser));
  EXPECT_FALSE(SettingsExist());
  EXPECT_STREQ(riser.elementDistance, ".5") << "nothing taken over either";
}

TEST_F(CutSettingsFiles, TheNumberShownIsTheOneAfterTheSaved) {
  const std::pair<const char*, const char*> cases[] = {{"7", "8"}, {"12", "13"}, {"0", "1"}, {"x", "1"}};
  for (const auto& [saved, shown] : cases) {
    Write(settings, "CUT_DLG", "CUT_NUMBER", saved);
    EXPECT_STREQ(ReadCutValues(settings.c_str(), CutDialog::Riser).cutNumber, shown) << saved;
  }
}

TEST_F(CutSettingsFiles, DescribingTheRisersExcludesTheLastRiserOnly) {
  const struct {
    const char* risers;
    const char* lastRiser;
    int expected;
  } cases[] = {{"1", "1", 0}, {"0", "1", 1}, {"1", "0", 0}};
  for (const auto& c : cases) {
    Write(settings, "CUT_DLG", "DESC_RISER", c.risers);
    Write(settings, "CUT_DLG", "DESC_LASTRISER", c.lastRiser);
    EXPECT_EQ(ReadCutValues(settings.c_str(), CutDialog::Branch).describeLastRiser, c.expected)
        << c.risers << " " << c.lastRiser;
  }
}

TEST_F(CutSettingsFiles, DrawingSettingsFillEachBlockWithItsOwnKeys) {
  const char* desc[][2] = {{"LAYER", "DESC"},           {"HEIGHT", "2.5"},         {"LAYER_BRANCH", "BR"},
                           {"HEIGHT_BRANCH", "3.5"},    {"BUBBLE_BRANCH", "0"},    {"BUBBLE_DIAMETER", "7"},
                           {"RISER_LAYER", "RISERS"},   {"RISER_TEXT_HEIGHT", "4"}, {"RISER_BUBBLE", "0"},
                           {"RISER_BUBBLE_DIA", "9"},   {"SCFACTOR", "0.7"},       {"SCFACTOR_BRANCH", "0.9"},
                           {"MASK_SCHEME", "&CM"}};
  for (const auto& [key, value] : desc) Write(settings, "desc", key, value);  // sections match in any case
  Write(settings, "CUT_DLG", "dist_bubble_1", "0.15");
  Write(settings, "CUT_DLG", "RISER_RADIUS", "");
  Write(settings, "CUT_DLG", "MASK_DRAVIK_PROD", "#T");

  JovCutParams block;
  ReadDrawingSettings(settings.c_str(), block);
  EXPECT_STREQ(block.m_descriptionLayer, "DESC");
  EXPECT_STREQ(block.m_branchLayer, "BR");
  EXPECT_STREQ(block.m_riserLayer, "RISERS");
  EXPECT_DOUBLE_EQ(block.m_descriptionHeight, 2.5);
  EXPECT_DOUBLE_EQ(block.m_branchTextHeight, 3.5);
  EXPECT_DOUBLE_EQ(block.m_bubbleDiameter, 7);
  EXPECT_DOUBLE_EQ(block.m_riserTextHeight, 4);
  EXPECT_DOUBLE_EQ(block.m_riserBubbleDiameter, 9);
  EXPECT_DOUBLE_EQ(block.m_descriptionWidthFactor, 0.7);
  EXPECT_DOUBLE_EQ(block.m_branchWidthFactor, 0.9);
  EXPECT_EQ(block.m_branchBubble, 0);
  EXPECT_EQ(block.m_riserBubble, 0);
  EXPECT_DOUBLE_EQ(block.m_bubbleDistance1, 0.15) << "keys match in any case";
  EXPECT_DOUBLE_EQ(block.m_bubbleDistance3, 0.1) << "the third bubble distance has no key";
  EXPECT_EQ(block.m_riserRadius, 0.0) << "an empty value is a 0, not the default";
  EXPECT_STREQ(block.m_maskWithProduct, "#T");
  EXPECT_STREQ(block.m_maskScheme, "&CM");

  JovCutParamsOld older;
  ReadDrawingSettings(settings.c_str(), older);
  EXPECT_STREQ(older.m_descriptionLayer, "DESC");
  EXPECT_STREQ(older.m_branchLayer, "BR");
  EXPECT_TRUE(older.m_riserLayer.IsEmpty()) << "the riser section's riser layer is a resource text";
  EXPECT_DOUBLE_EQ(older.m_descriptionHeight, 2.5);
  EXPECT_DOUBLE_EQ(older.m_branchTextHeight, 3.5);
  EXPECT_DOUBLE_EQ(older.m_bubbleDiameter, 7);
  EXPECT_EQ(older.m_branchBubble, 0);
  EXPECT_DOUBLE_EQ(older.m_furtherWidthFactor, 0.8);
  EXPECT_STREQ(older.m_maskWithProduct, "#T");
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
      {"TPP0000-0001;P", "TPP0000i0001", "P", ""},
      {"ABCDEFGH", "ABCDEFGi", "", ""},                           // eight characters are enough
      {"ABCDEFG;X;Y", "ABCDEFG", "X", "Y"},                       // seven are left alone
      {"TP;;L", "TP", "", "L"},
      {";;", "", "", ""},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    const PipeType type = ParsePipeType(c.value);
    EXPECT_STREQ(type.typeCode, c.typeCode) << c.value;
    EXPECT_STREQ(type.text2, c.text2) << c.value;
    EXPECT_STREQ(type.text3, c.text3) << c.value;
  }
  EXPECT_STREQ(ParsePipeType(nullptr).typeCode, "");
}

TEST_F(CutSettingsFiles, PipeTypesComeFromTheKeysTheSelectionChose) {
  Write(pipes, "MODULE_T", "0", "TPP0000-0001;P;PIPE_S");
  Write(pipes, "MODULE_T", "1", "TPZ0000-0001;Z;PIPE_R");
  Write(pipes, "MODULE_T", "18", "TP60000-0001;6;HOT");
  Write(pipes, "MODULE_T", "19", "TP7;7");

  JovCutParams block;
  ReadPipeTypes(pipes.c_str(), "18", "19", block);
  EXPECT_STREQ(block.m_pipe1TypeCode, "TP60000i0001");
  EXPECT_STREQ(block.m_pipe1Field2, "6");
  EXPECT_STREQ(block.m_pipe1Layer, "HOT");
  EXPECT_STREQ(block.m_pipe2TypeCode, "TP7");
  EXPECT_STREQ(block.m_pipe2Field2, "7");
  EXPECT_TRUE(block.m_pipe2Layer.IsEmpty());

  JovCutParamsOld older;
  ReadPipeTypes(pipes.c_str(), older);
  EXPECT_STREQ(older.m_supplyTypeCode, "TPP0000i0001");
  EXPECT_STREQ(older.m_supplyText3, "PIPE_S");
  EXPECT_STREQ(older.m_returnTypeCode, "TPZ0000i0001");
  EXPECT_STREQ(older.m_returnText2, "Z");
  EXPECT_STREQ(older.m_returnText3, "PIPE_R");
}

TEST_F(CutSettingsFiles, PresetsStopAtTheFirstGap) {
  Write(presets, "CUT_DLG_DIST_ELM", "0", "0.3");
  Write(presets, "CUT_DLG_DIST_ELM", "1", "0.5");
  Write(presets, "CUT_DLG_DIST_ELM", "3", "0.9");
  Write(presets, "CUT_DLG_NUMBER", "1", "2");
  Write(presets, "CUT_DLG_HEIGHT", "0", "2.8");
  Write(presets, "CUT_DLG_HEIGHT", "1", "");
  Write(presets, "CUT_DLG_HEIGHT", "2", "3.0");
  for (int i = 0; i <= 100; ++i) Write(presets, "CUT_DLG_DIST_PIPE", std::to_string(i).c_str(), "0.1");
  Write(presets, "DESC_LAYERS", "0", "<current>");

  EXPECT_EQ(Texts(ReadPresets(presets.c_str(), "CUT_DLG_DIST_ELM")), (std::vector<std::string>{"0.3", "0.5"}));
  EXPECT_TRUE(ReadPresets(presets.c_str(), "CUT_DLG_NUMBER").empty()) << "no key 0, no presets";
  EXPECT_EQ(Texts(ReadPresets(presets.c_str(), "CUT_DLG_HEIGHT")), (std::vector<std::string>{"2.8"}));
  EXPECT_EQ(ReadPresets(presets.c_str(), "CUT_DLG_DIST_PIPE").size(), 100u) << "keys 0 to 99";
  EXPECT_STREQ(ReadLayerPlaceholder(presets.c_str()), "<current>");
}
