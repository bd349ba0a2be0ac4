// What the section dialogs do to their parameter blocks after OK: the
// shortening question and its answer, the pipe start length, the layer
// rule and the conversion to drawing units; the older block's stamp.
#include "jov_vantrix/section/CutParamsRules.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

// 5 March 2013, 14:07:09 local time.
std::time_t MarchFifth() {
  std::tm t{};
  t.tm_year = 113;
  t.tm_mon = 2;
  t.tm_mday = 5;
  t.tm_hour = 14;
  t.tm_min = 7;
  t.tm_sec = 9;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

}  // namespace

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
    for (const auto* offsets : {&block.m_connectionOffset1, &older.m_connectionOffset1})
      EXPECT_NEAR(*offsets, 0.04 * fit, 1e-12) << c.length;
    for (const auto* offsets : {&block.m_connectionOffset2, &older.m_connectionOffset2})
      EXPECT_NEAR(*offsets, 0.1 * fit, 1e-12) << c.length;
    EXPECT_DOUBLE_EQ(block.m_verticalConnectionOffset, 0.04);
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
  EXPECT_DOUBLE_EQ(block.m_pipeBeginLength, 2.2);
  EXPECT_DOUBLE_EQ(block.m_bubbleDistance1, -2.0);
  EXPECT_DOUBLE_EQ(older.m_pipeBeginLength, 2.2);
  EXPECT_DOUBLE_EQ(older.m_bubbleDistance1, -2.0);
  EXPECT_DOUBLE_EQ(block.m_bubbleDistance3, 0.1) << "the third distance keeps the default";
  EXPECT_DOUBLE_EQ(block.m_verticalPipeBeginLength, 0.1);
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
    older.m_branchLayer = older.m_descriptionLayer = c.setting;
    older.m_riserLayer = c.setting;
    ApplyLayerRules(older, c.placeholder, c.current);
    EXPECT_STREQ(block.m_riserLayer, c.branch) << c.setting;
    EXPECT_STREQ(block.m_branchLayer, c.branch) << c.setting;
    EXPECT_STREQ(block.m_descriptionLayer, c.branch) << c.setting;
    EXPECT_STREQ(older.m_branchLayer, c.riser) << c.setting;
    EXPECT_STREQ(older.m_descriptionLayer, c.riser) << c.setting;
    EXPECT_STREQ(older.m_riserLayer, c.setting) << "a resource text, no setting";
  }
}

TEST(CutParamsRules, GenerationTakesDistancesInUnitsAndTextsOnPaper) {
  // Millimetre drawings at 1:1, metre drawings at 1:100.
  const struct {
    int unit;
    double scale;
    double distance;  // of 0.5 m
    double text;      // of 2.5 mm
    double firstLine;
  } cases[] = {{1000, 1.0, 500.0, 2.5, 5.0}, {1, 100.0, 0.5, 0.25, 0.5}};
  for (const auto& c : cases) {
    JovCutParams block;
    block.m_units = c.unit;
    block.m_scale = c.scale;
    block.m_riserDistance = block.m_sameLength = block.m_sameHeight = block.m_pipeFloorDistance = 0.5;
    block.m_descriptionHeight = block.m_riserTextHeight = block.m_riserBubbleDiameter = 2.5;
    ConvertForGeneration(block);
    EXPECT_DOUBLE_EQ(block.m_riserDistance, c.distance);
    EXPECT_DOUBLE_EQ(block.m_sameLength, c.distance);
    EXPECT_DOUBLE_EQ(block.m_sameHeight, c.distance);
    EXPECT_DOUBLE_EQ(block.m_pipeFloorDistance, c.distance);
    EXPECT_DOUBLE_EQ(block.m_bubbleDistance3, c.distance / 5) << "0.1 m";
    EXPECT_DOUBLE_EQ(block.m_riserRadius, c.distance * 0.16) << "0.08 m";
    EXPECT_DOUBLE_EQ(block.m_descriptionHeight, c.text);
    EXPECT_DOUBLE_EQ(block.m_riserTextHeight, c.text);
    EXPECT_DOUBLE_EQ(block.m_riserBubbleDiameter, c.text);
    EXPECT_DOUBLE_EQ(block.m_firstLineHeight, c.firstLine);
    EXPECT_DOUBLE_EQ(block.m_connectionOffset1, 0.04) << "offsets stay in metres";
    EXPECT_DOUBLE_EQ(block.m_branchWidthFactor, 0.8);

    JovCutParamsOld older;
    older.m_unit = c.unit;
    older.m_scale = c.scale;
    older.m_height = older.m_sameItemLength = older.m_floorHeight = 0.5;
    older.m_branchTextHeight = older.m_bubbleDiameter = 2.5;
    ConvertForGeneration(older);
    EXPECT_DOUBLE_EQ(older.m_height, c.distance);
    EXPECT_DOUBLE_EQ(older.m_sameItemLength, c.distance);
    EXPECT_DOUBLE_EQ(older.m_floorHeight, c.distance);
    EXPECT_DOUBLE_EQ(older.m_descriptionLineSpacing, c.distance / 10) << "0.05 m";
    EXPECT_DOUBLE_EQ(older.m_branchTextHeight, c.text);
    EXPECT_DOUBLE_EQ(older.m_bubbleDiameter, c.text);
    EXPECT_DOUBLE_EQ(older.m_firstLineHeight, c.firstLine);
    EXPECT_DOUBLE_EQ(older.m_connectionOffset2, 0.1);
    EXPECT_DOUBLE_EQ(older.m_furtherWidthFactor, 0.8);
  }
}

TEST(JovCutParamsOld, StampsTheMomentOfConstruction) {
  JovCutParamsOld older(&MarchFifth);
  EXPECT_STREQ(older.m_stamp, "05.03.2013-14.07.09");
  EXPECT_EQ(older.m_unit, 1);
  EXPECT_TRUE(older.m_cutNumber.IsEmpty());
  EXPECT_EQ(older.m_branchOption, 0);
  JovCutParamsOld now;
  EXPECT_EQ(now.m_stamp.GetLength(), 19);
}
