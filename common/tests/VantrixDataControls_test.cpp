// A project list as the dialogs show it: the manager's rows and the product
// dialogs' floor, room and item choices with the look-ups behind them.
#include "common/VantrixDataControls.h"

#include <string>
#include <vector>

#include "common/VantrixDataList.h"
#include "platform/mfc/tests/control_texts.h"
#include "platform/win32/tests/headless_fixture.h"

namespace {

struct Item {
  const char* floor;
  const char* room;
  const char* item;
  uint8_t marked;
};

// "1NP" twice in other letter case; code page 1250 letters in "PŘÍZEMÍ".
constexpr Item kProject[] = {
    {"1NP", "101", "R1", 0},       {"1NP", "101", "R2", 0},       {"1NP", "102", "R3", 1},
    {"1np", "105", "R4", 0},       {"2NP", "201", "R5", 0},       {"2NP", "202", "R6", 1},
    {"P\xD8\xCDZEM\xCD", "7", "R7", 0}, {"3NP", "301", "R8", 1},
};

class VantrixChoices : public testing_support::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    for (const Item& i : kProject) {
      auto* record = new CVantrixData(CVantrixData::kFieldCount);
      record->SetField(CVantrixData::kFloor, i.floor);
      record->SetField(CVantrixData::kRoom, i.room);
      record->SetField(CVantrixData::kItem, i.item);
      record->marked = i.marked;
      list.AddTail(record);
    }
    parent = CWnd::FromHandle(TopLevel());
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 0, 100, 200), parent, 10));
  }

  using Texts = std::vector<std::string>;

  CVantrixData list;
  CWnd* parent = nullptr;
  CComboBox combo;
};

TEST_F(VantrixChoices, FloorsOnceRoomsOncePerUnmarkedRecordItemsOfTheRoom) {
  combo.AddString("2np");  // held already: not added again
  FillVantrixFloorCombo(list, combo);
  EXPECT_EQ(ItemTexts(combo), (Texts{"2np", "1NP", "P\xD8\xCDZEM\xCD"})) << "3NP has only a placed item";

  FillVantrixRoomCombo(list, combo, "1NP");
  EXPECT_EQ(ItemTexts(combo), (Texts{"101", "101", "105"})) << "emptied first; 102 is placed";
  FillVantrixRoomCombo(list, combo, "p\xF8\xEDzem\xED");
  EXPECT_EQ(ItemTexts(combo), (Texts{"7"})) << "floors match without regard to case";
  FillVantrixRoomCombo(list, combo, "");
  EXPECT_EQ(ItemTexts(combo), (Texts{"7"})) << "no floor: the combo is kept, no record has an empty floor";

  FillVantrixItemCombo(list, combo, "1np", "101");
  EXPECT_EQ(ItemTexts(combo), (Texts{"R1", "R2"}));
  FillVantrixItemCombo(list, combo, "1NP", "102");
  EXPECT_TRUE(ItemTexts(combo).empty()) << "placed items are not offered";
}

TEST_F(VantrixChoices, PlacedItemsAreOnlyInTheMarkedListYetCanBeFound) {
  FillVantrixMarkedList(list, combo);
  EXPECT_EQ(ItemTexts(combo), (Texts{"102 - R3", "202 - R6", "301 - R8"}));

  struct Find {
    const char *floor, *room, *item;
    int expected;  // index in kProject, -1 for none
  } finds[] = {
      {"1NP", "102", "R3", 2}, {"3np", "301", "r8", 7}, {"1NP", "101", "R2", 1},
      {"1NP", "105", "R4", 3}, {"2NP", "201", "R6", -1}, {nullptr, nullptr, nullptr, -1},
  };
  for (const Find& f : finds) {
    const CVantrixData* found = FindVantrixData(list, f.floor, f.room, f.item);
    if (f.expected < 0) {
      EXPECT_EQ(found, nullptr) << (f.item ? f.item : "(null)");
      continue;
    }
    ASSERT_NE(found, nullptr) << f.item;
    EXPECT_EQ(std::string(found->Text(CVantrixData::kItem)), kProject[f.expected].item);
  }
}

TEST_F(VantrixChoices, NextRoomIsTheFirstUnplacedOneFromTheNumberOn) {
  struct Case {
    const char* floor;
    const char* from;
    bool found;
    const char* room;
  } cases[] = {
      {"1NP", "0", true, "101"},   {"1NP", "102", true, "105"}, {"1np", "105", true, "105"},
      {"1NP", "106", false, "106"}, {"3NP", "0", false, "0"},    {"2NP", "", true, "201"},
      {"9NP", "0", false, "0"},
  };
  for (const Case& c : cases) {
    CString room(c.from);
    EXPECT_EQ(FindNextVantrixRoom(list, c.floor, room), c.found) << c.floor << " " << c.from;
    EXPECT_EQ(std::string(room.GetString()), c.room) << c.floor << " " << c.from;
  }
}

TEST_F(VantrixChoices, EveryRecordMarkedOnlyWhenNoneIsLeft) {
  CVantrixData empty;
  EXPECT_TRUE(AreAllVantrixDataMarked(empty));
  EXPECT_FALSE(AreAllVantrixDataMarked(list));
  for (CVantrixData* r = list.First(); r; r = r->Next()) r->marked = 1;
  EXPECT_TRUE(AreAllVantrixDataMarked(list));
}

TEST_F(VantrixChoices, TheManagersRowsShowRoomAndItemWithTheirChecks) {
  CListCtrl rows;
  ASSERT_TRUE(rows.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), parent, 11));
  rows.SetExtendedStyle(LVS_EX_CHECKBOXES);
  rows.InsertColumn(0, "Room");
  rows.InsertItem(0, "already there");
  // A long room is cut with its item to 255 characters.
  auto* longRoom = new CVantrixData(CVantrixData::kFieldCount);
  longRoom->SetField(CVantrixData::kRoom, std::string(300, 'r').c_str());
  list.AddTail(longRoom);
  auto* bare = new CVantrixData(0);  // as read from a file of short records
  bare->marked = 1;
  list.AddTail(bare);

  FillVantrixListCtrl(list, rows);
  ASSERT_EQ(rows.GetItemCount(), 1 + 10);
  int row = 1;
  for (const CVantrixData* r = list.First(); r; r = r->Next(), ++row) {
    EXPECT_EQ(rows.GetItemData(row), reinterpret_cast<DWORD_PTR>(r)) << row;
    EXPECT_EQ(rows.GetCheck(row), r->marked ? TRUE : FALSE) << row;
  }
  EXPECT_EQ(std::string(rows.GetItemText(1, 0).GetString()), "101 - R1");
  EXPECT_EQ(std::string(rows.GetItemText(3, 0).GetString()), "102 - R3");
  EXPECT_EQ(std::string(rows.GetItemText(9, 0).GetString()), std::string(255, 'r'));
  EXPECT_EQ(std::string(rows.GetItemText(10, 0).GetString()), " - ");
}

}  // namespace
