#include "jov_vantrix/section/CutParamsRules.h"

#include <initializer_list>

#include "common/CLocaleNumber.h"

namespace {

template <class Block>
void StoreSharedValues(const CutDialogValues& v, Block& block) {
  block.m_riserDistance = AtofC(v.riserDistance);
  block.m_elementDistance = AtofC(v.elementDistance);
  block.m_floorHeight = AtofC(v.floorHeight);
  block.m_pipeDistance = AtofC(v.pipeDistance);
  block.m_pipeFloorDistance = AtofC(v.pipeFloorDistance);
  block.m_floorDescription = v.floorDescription;
  block.m_pipeSwitch = v.pipeSwitch != 0;
  block.m_describeRisers = v.describeRisers;
  block.m_drawFloors = v.drawFloor;
  block.m_describeElements = v.describeElements;
}

bool OffsetsLongerThan(double length, double offset1, double offset2) {
  return length > 0.0 && offset1 + offset2 > length;
}

void Shorten(double length, double& offset1, double& offset2) {
  if (length <= 0.0) return;
  const double t = (offset1 + offset2 + offset1) / length;
  offset1 /= t;
  offset2 /= t;
}

template <class Block>
void RecomputeBeginLength(Block& block) {
  const double length = block.m_floorHeight - block.m_pipeDistance - block.m_pipeFloorDistance;
  block.m_bubbleDistance1 -= length - block.m_pipeBeginLength;
  block.m_pipeBeginLength = length;
}

void ApplyLayerRule(CString& layer, const CString& placeholder, const char* currentLayer, bool star) {
  if (currentLayer && (layer == placeholder || (star && layer == "*"))) layer = currentLayer;
}

void Scale(double factor, std::initializer_list<double*> fields) {
  for (double* field : fields) *field *= factor;
}

// Fields the two blocks share: distances in metres and the sizes in
// millimetres of paper.
template <class Block>
void ConvertShared(Block& block, int unit, double scale) {
  Scale(unit, {&block.m_riserDistance, &block.m_elementDistance, &block.m_floorHeight, &block.m_pipeDistance,
               &block.m_pipeFloorDistance, &block.m_bubbleDistance1, &block.m_bubbleDistance2,
               &block.m_bubbleDistance3, &block.m_floorDistanceX, &block.m_floorArrow, &block.m_floorLine1,
               &block.m_floorLine2, &block.m_pipeBeginLength, &block.m_verticalPipeBeginLength,
               &block.m_descriptionDistance, &block.m_descriptionLineSpacing, &block.m_riserRadius});
  Scale(unit / 1000.0 * scale, {&block.m_descriptionHeight, &block.m_branchTextHeight, &block.m_bubbleDiameter});
  Scale(unit * scale, {&block.m_firstLineHeight});
}

}  // namespace

void StoreCutValues(const CutDialogValues& values, JovCutParams& block) {
  StoreSharedValues(values, block);
  block.m_sameLength = AtofC(values.sameLength);
  block.m_sameLengthOn = values.sameLengthOn != 0;
  block.m_sameHeight = AtofC(values.sameHeight);
  block.m_sameHeightOn = values.sameHeightOn != 0;
  block.m_describeLastRiser = values.describeLastRiser;
}

void StoreCutValues(const CutDialogValues& values, JovCutParamsOld& block) {
  StoreSharedValues(values, block);
  block.m_cutNumber = values.cutNumber;
  block.m_height = AtofC(values.height);
  block.m_sameItemLength = AtofC(values.sameLength);
  block.m_sameItemLengthOn = values.sameLengthOn;
  block.m_drawPipe = values.drawPipe;
  block.m_lastFloor = values.lastFloor;
}

bool AsksToShorten(const JovCutParams& block) {
  return block.m_sameLengthOn &&
         OffsetsLongerThan(block.m_sameLength, block.m_connectionOffset1, block.m_connectionOffset2);
}

bool AsksToShorten(const JovCutParamsOld& block) {
  return block.m_sameItemLengthOn && block.m_drawPipe &&
         OffsetsLongerThan(block.m_sameItemLength, block.m_connectionOffset1, block.m_connectionOffset2);
}

void ShortenConnectionOffsets(JovCutParams& block) {
  Shorten(block.m_sameLength, block.m_connectionOffset1, block.m_connectionOffset2);
}

void ShortenConnectionOffsets(JovCutParamsOld& block) {
  Shorten(block.m_sameItemLength, block.m_connectionOffset1, block.m_connectionOffset2);
}

void RecomputePipeBeginLength(JovCutParams& block) { RecomputeBeginLength(block); }
void RecomputePipeBeginLength(JovCutParamsOld& block) { RecomputeBeginLength(block); }

void ApplyLayerRules(JovCutParams& block, const CString& placeholder, const char* currentLayer) {
  for (CString* layer : {&block.m_riserLayer, &block.m_branchLayer, &block.m_descriptionLayer})
    ApplyLayerRule(*layer, placeholder, currentLayer, true);
}

void ApplyLayerRules(JovCutParamsOld& block, const CString& placeholder, const char* currentLayer) {
  for (CString* layer : {&block.m_branchLayer, &block.m_descriptionLayer})
    ApplyLayerRule(*layer, placeholder, currentLayer, false);
}

void ConvertForGeneration(JovCutParams& block) {
  const int unit = block.m_units;
  ConvertShared(block, unit, block.m_scale);
  Scale(unit, {&block.m_sameLength, &block.m_sameHeight});
  Scale(unit / 1000.0 * block.m_scale, {&block.m_riserTextHeight, &block.m_riserBubbleDiameter});
}

void ConvertForGeneration(JovCutParamsOld& block) {
  const int unit = block.m_unit;
  ConvertShared(block, unit, block.m_scale);
  Scale(unit, {&block.m_height, &block.m_sameItemLength});
}
