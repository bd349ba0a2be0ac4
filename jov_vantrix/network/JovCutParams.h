// The parameters of one section drawing: distances (in metres until the
// generator scales them by the units), switches, layers, description masks
// and the association stamps every entity of the drawing shares.
#pragma once

#include <cstdint>
#include <ctime>

#include "common/GLVector.h"
#include "jov_vantrix/network/CSecSezNew.h"
#include "platform/mfc/CString.h"

// The moment the stamps are taken from; tests hand in a fixed one.
using JovClock = std::time_t (*)();

// The clock's moment (the current time without a clock).
inline std::time_t ReadClock(JovClock clock) { return clock ? clock() : std::time(nullptr); }
// A moment in local time, formatted with strftime.
CString FormatLocalTime(std::time_t moment, const char* format);

class JovCutParams {
 public:
  // The stamps are the clock's moment (the current time without a clock) in
  // local time: "%d.%m.%Y-%H.%M.%S" for the association and
  // "%H.%M.%S-%d.%m.%Y" for the scheme.
  explicit JovCutParams(JovClock clock = nullptr);
  JovCutParams(const JovCutParams&) = delete;
  JovCutParams& operator=(const JovCutParams&) = delete;

  int32_t m_units = 1;  // drawing units per metre: 1 or 1000
  double m_scale = 0.0;
  bool m_pipeSwitch = false;
  // The dialog always sets these four before use.
  double m_pipeFloorDistance = 0.0;
  double m_riserDistance = 0.0;
  double m_elementDistance = 0.0;
  double m_floorHeight = 0.0;
  double m_pipeDistance = 0.0;
  bool m_sameLengthOn = false;
  double m_sameLength = 0.0;
  bool m_sameHeightOn = false;
  double m_sameHeight = 0.0;
  double m_connectionOffset1 = 0.04;
  double m_connectionOffset2 = 0.1;
  double m_verticalConnectionOffset = 0.04;
  GLVector m_basePoint;
  double m_angle = 0.0;
  CString m_floorDescription;
  CString m_riserLayer;
  CString m_branchLayer;
  CString m_descriptionLayer;
  CString m_text1;  // layer of the first description line
  CString m_text2;
  CString m_text3;
  CString m_text4;  // layer of the riser bubbles
  CString m_pipe1TypeCode;
  CString m_pipe1Field2;
  CString m_pipe1Layer;
  CString m_pipe2TypeCode;
  CString m_pipe2Field2;
  CString m_pipe2Layer;
  CString m_riserCircleLayer;
  CString m_maskWithoutProduct;
  CString m_maskWithProduct;
  CString m_maskScheme;
  CString m_assocStamp;   // "_NUM_ASSOC" of the drawn section
  CString m_schemeStamp;  // "_SCH_ASSOC" of the drawn section
  CString m_spareText;
  int32_t m_branchBubble = 0;
  int32_t m_riserBubble = 0;
  int32_t m_describeRisers = 1;
  int32_t m_describeLastRiser = 0;
  int32_t m_drawFloors = 1;
  int32_t m_describeElements = 1;
  double m_branchTextHeight = 0.0;
  double m_branchWidthFactor = 0.8;
  double m_riserTextHeight = 0.0;
  double m_riserWidthFactor = 0.8;
  double m_descriptionHeight = 0.0;
  double m_descriptionWidthFactor = 0.8;
  double m_firstLineHeight = 0.005;
  double m_descriptionLineSpacing = 0.05;
  double m_furtherWidthFactor = 0.8;
  double m_bubbleDiameter = 0.0;
  double m_riserBubbleDiameter = 0.0;
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
  CSecSezNew m_sections;
  JovClock m_clock = nullptr;  // the constructor's clock, for what a drawing stamps later
};
