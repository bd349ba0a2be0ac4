// The records the parameter lists show: a parameter's owned texts and a
// row's column descriptors with their look-up.
#include "wizard/frame/engine/CListItemData.h"

#include <gtest/gtest.h>

#include <string>

#include "wizard/frame/engine/CValueParam.h"

TEST(CValueParam, TextSlotsAreOwnedCopiesWithinZeroToFive) {
  CValueParam param;
  std::string name = "DN";
  ASSERT_TRUE(param.SetText(ParamText::kName, name.c_str()));
  name[0] = 'X';
  EXPECT_STREQ(param.GetText(ParamText::kName), "DN") << "a copy";
  ASSERT_TRUE(param.SetText(ParamText::kValue, "20"));
  EXPECT_TRUE(param.SetText(ParamText::kValue, nullptr));
  EXPECT_EQ(param.GetText(ParamText::kValue), nullptr) << "null empties the slot";
  EXPECT_FALSE(param.SetText(6, "x"));
  EXPECT_FALSE(param.SetText(-1, "x"));
  EXPECT_EQ(param.GetText(-1), nullptr);
  EXPECT_EQ(param.GetText(6), nullptr);
  EXPECT_EQ(param.listRow, -1) << "shown in no row yet";
}

TEST(CListItemData, ColumnZeroIsTheRowsOwnDescriptorAndOthersAreLookedUp) {
  // The row's descriptor governs column 1; its elements columns 2 and 3
  // (twice: the first counts).
  auto* row = new CListItemData(CellFlag::kEditable | CellFlag::kChoices, 1, 4);
  auto* second = new CListItemData(CellFlag::kEditable, 2, 1);
  auto* third = new CListItemData(CellFlag::kChoices, 3, 0);
  row->AddTail(second);
  row->AddTail(third);
  row->AddTail(new CListItemData(0, 3, 0));
  EXPECT_EQ(row->ForColumn(0), row) << "whatever its column";
  EXPECT_EQ(row->ForColumn(1), row);
  EXPECT_EQ(row->ForColumn(2), second);
  EXPECT_EQ(row->ForColumn(3), third);
  EXPECT_EQ(row->ForColumn(4), nullptr) << "a cell that cannot be edited";
  delete row;  // and with it every descriptor of the row
}
