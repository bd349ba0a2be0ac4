// The length command of the real plug-in, run by the real runner on the
// sample drawing.
#include <gtest/gtest.h>

#include "tests/e2e/E2eFixture.h"

namespace {

// Handles in examples/heating_network.dxf.
const char* kLine = "36";          // (0,0,0)-(3000,4000,0)
const char* kRadiator = "54";       // an INSERT

}  // namespace

TEST_F(E2e, LengthOfThePickedLineInMetresAndDrawingUnitsInBothEditions) {
  for (bool lt : {false, true}) {
    Outcome metres = Run({"--drawing", Sample(), "--select", kLine, "--run", "Jov_Length",
                          "--arg", "1000"}, lt);
    EXPECT_EQ(metres.exit, 0) << metres.err;
    EXPECT_TRUE(metres.Has("result: 0")) << metres.out;
    EXPECT_TRUE(metres.Has("clipboard CF_VANTRIX_CAD: 5.0000")) << metres.out;
    EXPECT_TRUE(metres.Has("drawing: unchanged")) << metres.out;

    Outcome units = Run({"--drawing", Sample(), "--select", kLine, "--run", "Jov_Length",
                         "--arg", "1"}, lt);
    EXPECT_TRUE(units.Has("result: 0")) << units.out;
    EXPECT_TRUE(units.Has("clipboard CF_VANTRIX_CAD: 5000.0000")) << units.out;
  }
}

TEST_F(E2e, LengthTakesTheDrawingsUnitsWhenTheHostGivesNone) {
  // The sample is in millimetres ($INSUNITS 4): the host passes 1000.
  Outcome o = Run({"--drawing", Sample(), "--select", kLine, "--run", "Jov_Length"});
  EXPECT_TRUE(o.Has("clipboard CF_VANTRIX_CAD: 5.0000")) << o.out;
}

TEST_F(E2e, AnythingButALineGivesMinusOneAndNoClipboard) {
  const char* circle =
      "  0\nSECTION\n  2\nENTITIES\n"
      "  0\nCIRCLE\n  5\n1B\n  8\n0\n 10\n100.0\n 20\n100.0\n 30\n0.0\n 40\n50.0\n"
      "  0\nENDSEC\n  0\nEOF\n";
  Outcome onCircle = Run({"--drawing", Write("circle.dxf", circle), "--select", "1B", "--run",
                          "Jov_Length", "--arg", "1000"});
  EXPECT_EQ(onCircle.exit, 0) << onCircle.err;
  EXPECT_TRUE(onCircle.Has("result: -1")) << onCircle.out;
  EXPECT_EQ(onCircle.out.find("clipboard"), std::string::npos) << onCircle.out;

  Outcome onInsert = Run({"--drawing", Sample(), "--select", kRadiator, "--run", "Jov_Length"});
  EXPECT_TRUE(onInsert.Has("result: -1")) << onInsert.out;

  Outcome nothing = Run({"--drawing", Sample(), "--run", "Jov_Length", "--arg", "1000"});
  EXPECT_TRUE(nothing.Has("result: -1")) << nothing.out;
  EXPECT_EQ(nothing.out.find("clipboard"), std::string::npos) << nothing.out;
}
