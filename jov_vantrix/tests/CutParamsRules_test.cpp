// What the section dialogs do to their parameter blocks after OK: the
// confirmed values, the shortening question and its answer, the pipe start
// length, the layer rule and the conversion to drawing units.
#include "jov_vantrix/section/CutParamsRules.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(CutParamsRules, ConfirmedValuesGoIntoTheirFields) {
  CutDialogValues values;
  values.cutNumber = "7";
  values.height = "2.8";
  values.pipeFloorDistance = "-.2";
  values.sameLength = "0.12";
  values.sameLengthOn = values.describeLastRiser = 1;
  values.describeRisers = values.drawPipe = values.pipeSwitch = 0;
  JovCutParams block;
  StoreCutValues(values, block);
  JovCutParamsOld older;
  StoreCutValues(values, older);
  EXPECT_DOUBLE_EQ(block.m_pipeFloorDistance + older.m_pipeFloorDistance, -0.4);
  EXPECT_DOUBLE_EQ(block.m_sameLength + older.m_sameItemLength, 0.24);
  EXPECT_TRUE(block.m_sameLengthOn && older.m_sameItemLengthOn && block.m_describeLastRiser);
  EXPECT_FALSE(block.m_pipeSwitch || older.m_pipeSwitch || older.m_describeRisers || older.m_drawPipe);
  EXPECT_STREQ(older.m_cutNumber, "7");
  EXPECT_DOUBLE_EQ(older.m_height, 2.8);
}

TEST(CutParamsRules, ShorteningIsAskedOnlyForALengthAboveZeroShorterThanTheConnections) {
  const struct {
    bool on;
    double length;
    bool drawPipe;  // riser section only
    bool branchAsks, riserAsks;
  } cases[] = {
      {true, 0.12, true, true, true},
      {true, 0.14, true, false, false},  // equal to the sum: no question
      {false, 0.12, true, false, false},
      {true, 0.12, false, true, false},  // a riser section without pipes
      {true, 0.0, true, false, false},   // nothing to divide by
      {true, -0.5, true, false, false},
  };
  for (const auto& c : cases) {
    JovCutParams block;
    block.m_sameLengthOn = c.on;
    block.m_sameLength = c.length;
    JovCutParamsOld older;
    older.m_sameItemLengthOn = c.on;
    older.m_sameItemLength = c.length;
    older.m_drawPipe = c.drawPipe;
    EXPECT_EQ(AsksToShorten(block), c.branchAsks) << c.length;
    EXPECT_EQ(AsksToShorten(older), c.riserAsks) << c.length;
    // Yes: the pipe and both its connections (0.04 + 0.1 + 0.04) fit the length.
    const double fit = c.length > 0 ? c.length / 0.18 : 1.0;
    ShortenConnectionOffsets(block);
    ShortenConnectionOffsets(older);
    for (const double* offset : {&block.m_connectionOffset1, &older.m_connectionOffset1})
      EXPECT_NEAR(*offset, 0.04 * fit, 1e-12) << c.length;
    for (const double* offset : {&block.m_connectionOffset2, &older.m_connectionOffset2})
      EXPECT_NEAR(*offset, 0.1 * fit, 1e-12) << c.length;
    EXPECT_DOUBLE_EQ(older.m_connectionOffset3, 0.04);
  }
  JovCutParams block;
  block.m_sameLengthOn = true;
  block.m_sameLength = 0.12;
  ShortenConnectionOffsets(block);
  EXPECT_NEAR(block.m_connectionOffset1, 0.0267, 5e-5);
  EXPECT_NEAR(block.m_connectionOffset2, 0.0667, 5e-5);
  EXPECT_FALSE(AsksToShorten(block)) << "shortened, they fit";
}

TEST(CutParamsRules, ThePipeStartRunsFromTheFloorToTheLowerPipe) {
  JovCutParams block;
  JovCutParamsOld older;
  block.m_floorHeight = older.m_floorHeight = 3.0;
  block.m_pipeDistance = older.m_pipeDistance = 0.5;
  block.m_pipeFloorDistance = older.m_pipeFloorDistance = 0.3;
  RecomputePipeBeginLength(block);
  RecomputePipeBeginLength(older);
  for (const double* length : {&block.m_pipeBeginLength, &older.m_pipeBeginLength}) EXPECT_DOUBLE_EQ(*length, 2.2);
  for (const double* bubble : {&block.m_bubbleDistance1, &older.m_bubbleDistance1}) EXPECT_DOUBLE_EQ(*bubble, -2.0);
  EXPECT_DOUBLE_EQ(block.m_bubbleDistance3, 0.1);
}

TEST(CutParamsRules, LayersEqualToThePlaceholderTakeTheCurrentLayer) {
  const struct {
    const char* setting;
    const char* placeholder;
    const char* current;
    const char* branch;  // the branch section also replaces "*"
    const char* riser;
  } cases[] = {
      {"*", "", "WORK", "WORK", "*"},
      {"", "", "WORK", "WORK", "WORK"},  // with the default placeholder an empty setting
      {"<here>", "<here>", "WORK", "WORK", "WORK"},
      {"<HERE>", "<here>", "WORK", "<HERE>", "<HERE>"},
      {"DESC", "", "WORK", "DESC", "DESC"},
      {"<here>", "<here>", nullptr, "<here>", "<here>"},  // no current layer from the host
      {"*", "", nullptr, "*", "*"},
  };
  for (const auto& c : cases) {
    JovCutParams block;
    block.m_riserLayer = block.m_branchLayer = block.m_descriptionLayer = c.setting;
    ApplyLayerRules(block, c.placeholder, c.current);
    JovCutParamsOld older;
    older.m_branchLayer = older.m_descriptionLayer = older.m_riserLayer = c.setting;
    ApplyLayerRules(older, c.placeholder, c.current);
    for (const CString* layer : {&block.m_riserLayer, &block.m_branchLayer, &block.m_descriptionLayer})
      EXPECT_STREQ(*layer, c.branch) << c.setting;
    for (const CString* layer : {&older.m_branchLayer, &older.m_descriptionLayer}) EXPECT_STREQ(*layer, c.riser);
    EXPECT_STREQ(older.m_riserLayer, c.setting) << "a resource text, no setting";
  }
}

TEST(CutParamsRules, GenerationTakesDistancesInUnitsAndTextsOnPaper) {
  // Millimetre drawings at 1:1, metre drawings at 1:100; 0.5 m and 2.5 mm.
  for (auto [unit, scale, distance, text] : {std::tuple{1000, 1.0, 500.0, 2.5}, {1, 100.0, 0.5, 0.25}}) {
    JovCutParams block;
    block.m_units = unit;
    block.m_scale = scale;
    block.m_riserDistance = block.m_sameLength = block.m_sameHeight = block.m_pipeFloorDistance = 0.5;
    block.m_descriptionHeight = block.m_riserTextHeight = block.m_riserBubbleDiameter = 2.5;
    JovCutParamsOld older;
    older.m_unit = unit;
    older.m_scale = scale;
    older.m_height = older.m_sameItemLength = older.m_floorHeight = 0.5;
    older.m_branchTextHeight = older.m_bubbleDiameter = 2.5;
    ConvertForGeneration(block);
    ConvertForGeneration(older);
    for (const double* d : {&block.m_riserDistance, &block.m_sameLength, &block.m_sameHeight,
                            &block.m_pipeFloorDistance, &older.m_height, &older.m_sameItemLength,
                            &older.m_floorHeight})
      EXPECT_DOUBLE_EQ(*d, distance) << unit;
    for (const double* d : {&block.m_bubbleDistance3, &older.m_bubbleDistance3}) EXPECT_DOUBLE_EQ(*d, distance / 5);
    for (const double* d : {&block.m_riserRadius, &older.m_riserRadius}) EXPECT_DOUBLE_EQ(*d, distance * 0.16);
    for (const double* t : {&block.m_descriptionHeight, &block.m_riserTextHeight, &block.m_riserBubbleDiameter,
                            &older.m_branchTextHeight, &older.m_bubbleDiameter})
      EXPECT_DOUBLE_EQ(*t, text) << unit;
    // The first description line: 0.005 times units and scale.
    for (const double* t : {&block.m_firstLineHeight, &older.m_firstLineHeight}) EXPECT_DOUBLE_EQ(*t, text * 2);
    for (const double* o : {&block.m_connectionOffset1, &older.m_connectionOffset1}) EXPECT_DOUBLE_EQ(*o, 0.04);
  }
}
