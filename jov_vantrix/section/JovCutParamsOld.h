// The parameters of a riser section drawn by the older generators:
// distances in metres until the generate step scales them, switches,
// layers, pipe types, description masks, the cut's number and stamp, and
// the section list of the riser's branches.
#pragma once

#include <cstdint>

#include "common/GLVector.h"
#include "jov_vantrix/network/JovCutParams.h"
#include "jov_vantrix/section/CSecSez.h"
#include "platform/mfc/CString.h"

class JovCutParamsOld {
 public:
  // The stamp is the clock's moment (the current time without a clock) in
  // local time as "%d.%m.%Y-%H.%M.%S".
  explicit JovCutParamsOld(JovClock clock = nullptr);
  JovCutParamsOld(const JovCutParamsOld&) = delete;
  JovCutParamsOld& operator=(const JovCutParamsOld&) = delete;

  int32_t m_unit = 1;  // drawing units per metre: 1 or 1000
  double m_scale = 0.0;
  uint8_t m_pipeSwitch = 0;
  double m_pipeFloorDistance = 0.0;  // set by the dialog before use
  int32_t m_lastFloor = 0;
  // 1 when the riser's branches hang on more than one parent branch.
  int32_t m_branchOption = 0;
  double m_height = 0.0;
  double m_riserDistance = 0.0;
  double m_elementDistance = 0.0;
  double m_floorHeight = 0.0;
  double m_pipeDistance = 0.0;
  int32_t m_sameItemLengthOn = 0;
  double m_sameItemLength = 0.0;
  double m_connectionOffset1 = 0.04;
  double m_connectionOffset2 = 0.1;
  double m_connectionOffset3 = 0.04;
  GLVector m_basePoint;
  double m_angle = 0.0;  // of the user coordinate system at the pick
  CString m_floorDescription;
  CString m_branchLayer;
  CString m_descriptionLayer;
  CString m_firstLineLayer;
  CString m_baseLineLayer;
  CString m_floorMarkLayer;
  CString m_bubbleLayer;
  CString m_supplyTypeCode;
  CString m_supplyText2;
  CString m_supplyText3;
  CString m_returnTypeCode;
  CString m_returnText2;
  CString m_returnText3;
  CString m_riserLayer;
  CString m_maskWithoutProduct;
  CString m_maskWithProduct;
  CString m_maskScheme;
  CString m_stamp;  // "_NUM_ASSOC" of the drawn section
  CString m_cutNumber;
  int32_t m_branchBubble = 0;
  int32_t m_drawPipe = 0;
  int32_t m_describeRisers = 0;
  int32_t m_drawFloors = 0;
  int32_t m_describeElements = 0;
  double m_branchTextHeight = 0.0;   // millimetres until converted
  double m_descriptionHeight = 0.0;  // millimetres until converted
  double m_firstLineHeight = 0.005;
  double m_descriptionLineSpacing = 0.05;
  double m_furtherWidthFactor = 0.8;
  double m_bubbleDiameter = 0.0;  // millimetres until converted
  double m_bubbleDistance1 = 0.1;
  double m_bubbleDistance2 = 0.3;
  double m_bubbleDistance3 = 0.1;
  double m_floorDistanceX = 0.2;
  double m_floorArrow = 0.075;
  double m_floorLine1 = 0.25;
  double m_floorLine2 = 0.25;
  double m_pipeBeginLength = 0.1;
  double m_verticalPipeBeginLength = 0.1;
  double m_descriptionDistance = 0.05;
  double m_riserRadius = 0.08;
  CSecSez m_sections;  // built by the generate step
};
