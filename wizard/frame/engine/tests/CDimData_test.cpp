// The dimension dialog's table columns and its data without a folder.
#include "wizard/frame/engine/CDimData.h"

#include <gtest/gtest.h>

#include <string>

TEST(DimensionTable, AColumnIsTheUnitsSemicolonEndedFieldOrTheWholeLineWithoutSemicolons) {
  struct Case {
    const char* line;
    int unit;
    bool found;
    const char* text;
  };
  const Case cases[] = {
      {"15;0.015;", 0, true, "15"}, {"15;0.015;", 1, true, "0.015"}, {"15;0.015;", 2, false, ""},
      {"20", 0, true, "20"},        {"20", 7, true, "20"},           {"32;0.032", 1, false, ""},
      {";0.05;", 0, true, ""},      {"", 0, true, ""},               {"a;b;", -1, false, ""},
  };
  for (const Case& c : cases) {
    std::string text = "unset";
    EXPECT_EQ(DimensionColumn(c.line, c.unit, &text), c.found) << c.line << " unit " << c.unit;
    if (c.found) {
      EXPECT_EQ(text, c.text) << c.line << " unit " << c.unit;
    }
  }
}

TEST(DimensionData, WithoutAFolderNothingIsReadOrWritten) {
  CDimData none("");
  EXPECT_EQ(none.GetFolder(), "");
  EXPECT_EQ(none.GetShowDimDlg(), 0);
  EXPECT_EQ(none.GetLastUnit(), 0);
  char text[8] = "x";
  EXPECT_EQ(none.GetLastDim(text, sizeof text), 0);
  EXPECT_STREQ(text, "");
  none.SetLastDim("never");
  EXPECT_FALSE(none.LoadUnitList('T', nullptr));
  EXPECT_FALSE(none.LoadDimensionList('T', 0, nullptr));
  EXPECT_EQ(CDimData("C:\\Data\\").GetFolder(), "C:\\Data\\");
  EXPECT_EQ(CDimData("C:\\Data").GetFolder(), "C:\\Data\\");
}
