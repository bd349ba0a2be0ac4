// What the section dialogs refuse before they draw: typed values out of
// range, and settings of the profile's files that no drawing can hold.
#include "jov_vantrix/section/CutSettingsChecks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/resources/jov_vantrix/resource_ids.h"

namespace {

// A branch dialog's values that draw: the test drawings' settings.
CutDialogValues Typical() {
  CutDialogValues v;
  v.cutNumber = "8";
  v.height = "3";
  v.riserDistance = "0.5";
  v.elementDistance = ".3";
  v.floorHeight = "3.0";
  v.pipeDistance = "0.1";
  v.pipeFloorDistance = "0.3";
  return v;
}

}  // namespace

TEST(CutSettingsChecks, TypedValuesOutOfRangeAreRefusedByTheirKey) {
  static const std::string kLongNumber(330, '9');
  using V = CutDialogValues;
  const struct {
    CString V::*field;
    const char* typed;
    UINT message;  // 0: accepted
    const char* branchKey;
    const char* riserKey;
  } cases[] = {
      {&V::elementDistance, ".3", 0, "", ""},
      {&V::elementDistance, "1000.001", IDS_CUT_VALUE_UNUSABLE, "DIST_ELM", "DIST_ELM"},
      {&V::elementDistance, "1e308", IDS_CUT_VALUE_UNUSABLE, "DIST_ELM", "DIST_ELM"},
      {&V::elementDistance, "nan", IDS_CUT_VALUE_UNUSABLE, "DIST_ELM", "DIST_ELM"},
      {&V::elementDistance, "abc", IDS_CUT_VALUE_UNUSABLE, "DIST_ELM", "DIST_ELM"},
      {&V::elementDistance, "0.3x", IDS_CUT_VALUE_UNUSABLE, "DIST_ELM", "DIST_ELM"},
      {&V::riserDistance, "", IDS_CUT_VALUE_UNUSABLE, "DIST_RISER", "DIST_RISER"},  // a fresh profile
      {&V::riserDistance, "0", IDS_CUT_VALUE_UNUSABLE, "DIST_RISER", "DIST_RISER"},
      {&V::pipeDistance, "0.0", IDS_CUT_VALUE_UNUSABLE, "DIST_PIPE", "DIST_PIPE"},
      {&V::pipeFloorDistance, "-.2", 0, "", ""},  // its box takes a sign
      {&V::pipeFloorDistance, "", IDS_CUT_VALUE_UNUSABLE, "PIPE_FLOOR_DIST", "PIPE_FLOOR_DIST"},
      // The floor must lie above both pipes, else the drops run upwards.
      {&V::floorHeight, "0.41", 0, "", ""},
      {&V::floorHeight, "0.4", IDS_CUT_FLOOR_TOO_LOW, "HEIGHT_FLOOR", "HEIGHT_FLOOR"},  // = 0.1 + 0.3
      {&V::height, "", 0, "", "HEIGHT"},  // only the riser section asks it
      {&V::cutNumber, "2147483647", 0, "", ""},
      {&V::cutNumber, "2147483648", 0, "", "CUT_NUMBER"},
      {&V::cutNumber, kLongNumber.c_str(), 0, "", "CUT_NUMBER"},
      {&V::cutNumber, "12a", 0, "", "CUT_NUMBER"},
  };
  for (const auto& c : cases) {
    for (CutDialog dialog : {CutDialog::Branch, CutDialog::Riser}) {
      CutDialogValues v = Typical();
      v.*c.field = c.typed;
      const CutSettingFault fault = CheckCutValues(v, dialog);
      const char* key = dialog == CutDialog::Branch ? c.branchKey : c.riserKey;
      EXPECT_EQ(fault.what, key) << c.typed;
      const UINT message = *key ? (c.message ? c.message : IDS_CUT_VALUE_UNUSABLE) : 0u;
      EXPECT_EQ(fault.message, message) << c.typed;
    }
  }
  // An equal length is asked only while it is on; the riser section asks
  // the pipes' distances only while it draws them.
  CutDialogValues v = Typical();
  v.sameLength = "abc";
  EXPECT_FALSE(CheckCutValues(v, CutDialog::Branch));
  v.sameLengthOn = 1;
  EXPECT_EQ(CheckCutValues(v, CutDialog::Branch).what, "SAME_LENGTH");
  EXPECT_EQ(CheckCutValues(v, CutDialog::Riser).what, "SAME_ITEM_LENGTH");
  v = Typical();
  v.sameHeightOn = 1;
  EXPECT_EQ(CheckCutValues(v, CutDialog::Branch).what, "SAME_HEIGHT");
  v = Typical();
  v.pipeDistance = "";
  v.drawPipe = 0;
  EXPECT_FALSE(CheckCutValues(v, CutDialog::Riser));
  v.height = "";  // the riser's label stands at HEIGHT with the pipes off too
  EXPECT_EQ(CheckCutValues(v, CutDialog::Riser).what, "HEIGHT");
}

TEST(CutSettingsChecks, FileSettingsThatNoDrawingHoldsNameTheirKeyAndFile) {
  auto typical = [](JovCutParams& p) {
    p.m_descriptionLayer = p.m_branchLayer = p.m_riserLayer = "DESC";
    p.m_pipe1Layer = "PIPE_S";
    p.m_pipe2Layer = "PIPE_R";
    p.m_pipe1TypeCode = "TPP0000i0001";
    p.m_pipe2TypeCode = "TPZ0000i0001";
    p.m_descriptionHeight = 2.5;
    p.m_descriptionWidthFactor = 0.8;
  };
  const struct {
    void (*change)(JovCutParams&);
    const char* what;  // "": drawn
  } cases[] = {
      {[](JovCutParams&) {}, ""},
      {[](JovCutParams& p) { p.m_branchLayer = "Stoupa\xe8ky 2"; }, ""},  // code page 1250 is fine
      {[](JovCutParams& p) { p.m_descriptionLayer = "*"; }, "\"LAYER\" in [DESC] of Jov.ini"},
      {[](JovCutParams& p) { p.m_branchLayer = ""; }, "\"LAYER_BRANCH\" in [DESC] of Jov.ini"},
      {[](JovCutParams& p) { p.m_riserLayer = "A=B"; }, "\"RISER_LAYER\" in [DESC] of Jov.ini"},
      {[](JovCutParams& p) { p.m_pipe1Layer = ""; }, "\"18\" in [MODULE_T] of Jov_lin.dat"},  // no "Jov_lin.dat"
      {[](JovCutParams& p) { p.m_pipe2Layer = "a;b"; }, "\"19\" in [MODULE_T] of Jov_lin.dat"},
      {[](JovCutParams& p) { p.m_pipe2TypeCode = ""; }, "\"19\" in [MODULE_T] of Jov_lin.dat"},  // "1=;;;;;"
      {[](JovCutParams& p) { p.m_descriptionHeight = 0; }, ""},  // texts of no size are not drawn
      {[](JovCutParams& p) { p.m_branchTextHeight = 1000.5; }, "\"HEIGHT_BRANCH\" in [DESC] of Jov.ini"},
      {[](JovCutParams& p) { p.m_riserTextHeight = NAN; }, "\"RISER_TEXT_HEIGHT\" in [DESC] of Jov.ini"},
      {[](JovCutParams& p) { p.m_descriptionWidthFactor = INFINITY; }, "\"SCFACTOR\" in [DESC] of Jov.ini"},
      {[](JovCutParams& p) { p.m_bubbleDistance1 = -2.4; }, ""},  // the pipe start moved it below 0
      {[](JovCutParams& p) { p.m_verticalPipeBeginLength = 1e308; }, "\"PIPE_BEGIN_LEN_VERT\" in [CUT_DLG] of Jov.ini"},
      {[](JovCutParams& p) { p.m_riserRadius = 0; }, "\"RISER_RADIUS\" in [CUT_DLG] of Jov.ini"},
      {[](JovCutParams& p) { p.m_floorLine1 = -0.25; }, "\"LINE_FLOOR_1\" in [CUT_DLG] of Jov.ini"},
      {[](JovCutParams& p) { p.m_descriptionWidthFactor = 0; }, "\"SCFACTOR\" in [DESC] of Jov.ini"},  // missing
      {[](JovCutParams& p) { p.m_branchWidthFactor = 0; }, ""},  // its texts have no height
      {[](JovCutParams& p) { p.m_pipe1TypeCode = "TP7"; }, "\"18\" in [MODULE_T] of Jov_lin.dat"},
      {[](JovCutParams& p) { p.m_branchLayer = "A`B"; }, "\"LAYER_BRANCH\" in [DESC] of Jov.ini"},
  };
  for (const auto& c : cases) {
    JovCutParams p;
    typical(p);
    c.change(p);
    const CutSettingFault fault = CheckDrawingSettings(p, "18", "19");
    EXPECT_EQ(fault.what, c.what);
    EXPECT_EQ(fault.message, *c.what ? IDS_CUT_SETTING_UNUSABLE : 0u) << c.what;
  }
  // The riser section: its "*" stays a layer name and is refused; its pipe
  // types are always keys "0" and "1".
  JovCutParamsOld older;
  older.m_descriptionLayer = older.m_branchLayer = "DESC";
  older.m_supplyText3 = older.m_returnText3 = "PIPES";
  older.m_supplyTypeCode = older.m_returnTypeCode = "TPP0000i0001";
  EXPECT_FALSE(CheckDrawingSettings(older));
  older.m_branchLayer = "*";
  EXPECT_EQ(CheckDrawingSettings(older).what, "\"LAYER_BRANCH\" in [DESC] of Jov.ini");
  older.m_branchLayer = "DESC";
  older.m_returnTypeCode = "";
  EXPECT_EQ(CheckDrawingSettings(older).what, "\"1\" in [MODULE_T] of Jov_lin.dat");
}

// A picked pipe's distance in millimetres, shown in metres, must show as a length.
TEST(CutSettingsChecks, APickedPipesDistanceMustShowAsALength) {
  CString shown;
  for (const char* distance : {"40", "-150", "", "nan", "1e300", "abc"})
    EXPECT_FALSE(ReadPickedPipeDistance(distance, 1000, shown)) << distance;
  EXPECT_TRUE(ReadPickedPipeDistance("150", 1000, shown) && shown == "0.1");
}
