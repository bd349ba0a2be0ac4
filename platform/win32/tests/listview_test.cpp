#include "platform/win32/common_controls.h"
#include "platform/win32/tests/headless_fixture.h"
#include "platform/win32/virtual_keys.h"

using testing_support::HeadlessTest;
using testing_support::Log;

namespace {

struct Note {
  UINT code;
  int item;
  int subItem;
  UINT oldState, newState;
  LPARAM param;
  HWND from;
  POINT at{};
};
std::vector<Note> g_notes;
LRESULT g_answer = 0;  // what the owner answers to LVN_ITEMCHANGING and HDN_*CHANGING

LRESULT OwnerProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    auto* h = reinterpret_cast<NMHDR*>(lParam);
    Note n{h->code, -1, 0, 0, 0, 0, h->hwndFrom};
    if (h->code == LVN_ITEMCHANGING || h->code == LVN_ITEMCHANGED || h->code == LVN_DELETEITEM ||
        h->code == LVN_DELETEALLITEMS || h->code == LVN_INSERTITEM || h->code == LVN_COLUMNCLICK ||
        h->code == LVN_BEGINDRAG) {
      auto* lv = reinterpret_cast<NMLISTVIEW*>(lParam);
      n = {h->code, lv->iItem, lv->iSubItem, lv->uOldState, lv->uNewState, lv->lParam, h->hwndFrom, lv->ptAction};
    } else if (h->code == NM_CLICK || h->code == NM_DBLCLK) {
      auto* a = reinterpret_cast<NMITEMACTIVATE*>(lParam);
      n = {h->code, a->iItem, a->iSubItem, 0, 0, 0, h->hwndFrom};
    } else if (h->code <= HDN_FIRST && h->code > HDN_FIRST - 30) {
      auto* hd = reinterpret_cast<NMHEADERA*>(lParam);
      n = {h->code, hd->iItem, hd->pitem ? hd->pitem->cxy : 0, 0, 0, 0, h->hwndFrom};
    }
    if (h->code == LVN_KEYDOWN) n.item = reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey;
    g_notes.push_back(n);
    if (h->code == LVN_ITEMCHANGING || h->code == HDN_ITEMCHANGINGA) return g_answer;
    return 0;
  }
  return DefWindowProcA(w, message, wParam, lParam);
}

class ListViews : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    g_notes.clear();
    g_answer = 0;
    WNDCLASSA wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = "ListOwner";
    RegisterClassA(&wc);
    owner = CreateWindowExA(0, "ListOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr, nullptr,
                            nullptr);
    list = Child(owner, 40, {10, 10, 310, 110}, WS_VISIBLE | WS_BORDER | LVS_REPORT, WC_LISTVIEWA, "");
    AddColumn(0, "Name", 100);
    AddColumn(1, "Value", 80);
    for (int i = 0; i < 6; ++i) AddRow(i, ("row" + std::to_string(i)).c_str(), 100 + i);
    g_notes.clear();
  }
  void AddColumn(int at, const char* text, int width) {
    LVCOLUMNA c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH;
    c.pszText = const_cast<char*>(text);
    c.cx = width;
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&c));
  }
  void AddRow(int at, const char* text, LPARAM param) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = at;
    item.pszText = const_cast<char*>(text);
    item.lParam = param;
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  std::vector<Note> Notes(UINT code) {
    std::vector<Note> out;
    for (const Note& n : g_notes)
      if (n.code == code) out.push_back(n);
    return out;
  }
  UINT State(int row, UINT mask) {
    return static_cast<UINT>(SendMessageA(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), mask));
  }
  RECT ItemRect(int row, int code) {
    RECT r{};
    r.left = code;
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  HWND owner = nullptr;
  HWND list = nullptr;
};

}  // namespace

TEST_F(ListViews, ColumnsItemsAndSubItems) {
  LVITEMA sub{};
  sub.iSubItem = 1;
  sub.pszText = const_cast<char*>("42");
  EXPECT_TRUE(SendMessageA(list, LVM_SETITEMTEXTA, 2, reinterpret_cast<LPARAM>(&sub)));
  char buffer[16] = "";
  sub.pszText = buffer;
  sub.cchTextMax = sizeof buffer;
  EXPECT_EQ(SendMessageA(list, LVM_GETITEMTEXTA, 2, reinterpret_cast<LPARAM>(&sub)), 2);
  EXPECT_STREQ(buffer, "42");
  LVITEMA get{};
  get.mask = LVIF_PARAM;
  get.iItem = 4;
  ASSERT_TRUE(SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&get)));
  EXPECT_EQ(get.lParam, 104);
  // Counting columns by asking until it fails.
  int columns = 0;
  LVCOLUMNA col{};
  col.mask = LVCF_WIDTH;
  while (SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(columns), reinterpret_cast<LPARAM>(&col))) ++columns;
  EXPECT_EQ(columns, 2);
  EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0), 80);
  LVFINDINFOA find{};
  find.flags = LVFI_PARAM;
  find.lParam = 103;
  EXPECT_EQ(SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 3);
  find.flags = LVFI_STRING;
  find.psz = "ROW5";
  EXPECT_EQ(SendMessageA(list, LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 5);
  find.flags = LVFI_PARTIAL;
  find.psz = "row";
  EXPECT_EQ(SendMessageA(list, LVM_FINDITEMA, 1, reinterpret_cast<LPARAM>(&find)), 2) << "after the start item";
}

TEST_F(ListViews, GeometryAndHitTesting) {
  // Client area inside a 1 px border: 298 x 98; header 20, rows 17.
  RECT label = ItemRect(1, LVIR_LABEL);
  EXPECT_EQ(label.left, 0);
  EXPECT_EQ(label.top, 37);
  EXPECT_EQ(label.right, 100);
  EXPECT_EQ(label.bottom, 54);
  EXPECT_EQ(ItemRect(1, LVIR_BOUNDS).right, 180);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  EXPECT_EQ(ItemRect(1, LVIR_LABEL).left, 16) << "the check box comes first";
  LVHITTESTINFO hit{};
  hit.pt = {120, 40};
  EXPECT_EQ(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1) << "column 1 without full row";
  EXPECT_EQ(SendMessageA(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.iSubItem, 1);
  hit.pt = {5, 40};
  EXPECT_EQ(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(hit.flags, LVHT_ONITEMSTATEICON);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  hit.pt = {120, 40};
  EXPECT_EQ(SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
  EXPECT_EQ(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0), 4);
  SendMessageA(list, LVM_ENSUREVISIBLE, 5, FALSE);
  EXPECT_EQ(SendMessageA(list, LVM_GETTOPINDEX, 0, 0), 2);
  EXPECT_EQ(ItemRect(2, LVIR_BOUNDS).top, 20);
  RECT sub{};
  sub.top = 1;
  sub.left = LVIR_BOUNDS;
  SendMessageA(list, LVM_GETSUBITEMRECT, 3, reinterpret_cast<LPARAM>(&sub));
  EXPECT_EQ(sub.left, 100);
  EXPECT_EQ(sub.right, 180);
  EXPECT_EQ(sub.top, 37);
}

TEST_F(ListViews, ClickingSelectsAndTellsTheOwner) {
  headless::QueueClick(list, {20, 30});  // row 0
  Pump();
  EXPECT_EQ(GetFocus(), list);
  EXPECT_EQ(State(0, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
  auto clicks = Notes(NM_CLICK);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].item, 0);
  g_notes.clear();
  headless::QueueClick(list, {20, 48});  // row 1
  Pump();
  EXPECT_EQ(State(0, LVIS_SELECTED), 0u);
  EXPECT_EQ(State(1, LVIS_SELECTED), static_cast<UINT>(LVIS_SELECTED));
  auto changed = Notes(LVN_ITEMCHANGED);
  ASSERT_EQ(changed.size(), 2u);
  EXPECT_EQ(changed[0].item, 0) << "the old item is left first";
  EXPECT_EQ(changed[0].param, 100);
  EXPECT_EQ(changed[1].item, 1);
  EXPECT_EQ(changed[1].newState, static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
  // Below the last row: nothing selected.
  for (int i = 5; i >= 2; --i) SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(i), 0);
  g_notes.clear();
  headless::QueueClick(list, {20, 95});
  headless::QueueClick(list, {20, 95});
  Pump();
  EXPECT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
  EXPECT_EQ(Notes(NM_CLICK).back().item, -1);
  headless::QueueClick(list, {20, 30}, headless::MouseButton::Left, true);
  Pump();
  ASSERT_EQ(Notes(NM_DBLCLK).size(), 1u);
  EXPECT_EQ(Notes(NM_DBLCLK)[0].item, 0);
}

TEST_F(ListViews, TheOwnerMayRefuseAChange) {
  g_answer = TRUE;
  LVITEMA s{};
  s.state = s.stateMask = LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&s));
  EXPECT_EQ(State(2, LVIS_SELECTED), 0u);
  EXPECT_EQ(Notes(LVN_ITEMCHANGING).size(), 1u);
  EXPECT_TRUE(Notes(LVN_ITEMCHANGED).empty());
}

TEST_F(ListViews, CheckBoxesAreStateImages) {
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  EXPECT_EQ(State(3, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1)) << "unchecked";
  headless::QueueClick(list, {8, 20 + 3 * 17 + 5});
  Pump();
  EXPECT_EQ(State(3, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
  EXPECT_EQ(State(3, LVIS_SELECTED), 0u) << "ticking does not select";
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, 0);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  // Space ticks the focused row.
  LVITEMA s{};
  s.state = s.stateMask = LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&s));
  SetFocus(list);
  headless::QueueKey(VK_SPACE);
  Pump();
  EXPECT_EQ(State(1, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2));
  auto keys = Notes(LVN_KEYDOWN);
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys.back().item, static_cast<int>(VK_SPACE));
}

TEST_F(ListViews, ArrowKeysMoveTheSelection) {
  SetFocus(list);
  headless::QueueKey(VK_DOWN);
  headless::QueueKey(VK_DOWN);
  headless::QueueKey(VK_END);
  Pump();
  EXPECT_EQ(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 5);
  EXPECT_EQ(SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageA(list, LVM_GETTOPINDEX, 0, 0), 2) << "scrolled into view";
}

TEST_F(ListViews, DeletingAndDestroyingTellTheOwnerAboutEveryItem) {
  EXPECT_TRUE(SendMessageA(list, LVM_DELETEITEM, 1, 0));
  auto deleted = Notes(LVN_DELETEITEM);
  ASSERT_EQ(deleted.size(), 1u);
  EXPECT_EQ(deleted[0].param, 101);
  g_notes.clear();
  DestroyWindow(owner);
  EXPECT_EQ(Notes(LVN_DELETEALLITEMS).size(), 1u);
  EXPECT_EQ(Notes(LVN_DELETEITEM).size(), 5u) << "each remaining item, so owners can free their data";
}

TEST_F(ListViews, TheHeaderTellsAboutDividerDragsAndClicks) {
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 2);
  RECT r;
  SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.right, 180);
  // Drag the divider after column 0 from 100 to 130.
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(101, 5));
  SendMessageA(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(130, 5));
  SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(130, 5));
  EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0), 130);
  std::vector<UINT> codes;
  for (const Note& n : g_notes) codes.push_back(n.code);
  EXPECT_EQ(codes, (std::vector<UINT>{HDN_BEGINTRACKA, HDN_TRACKA, HDN_ITEMCHANGINGA, HDN_ITEMCHANGEDA, HDN_ENDTRACKA}));
  EXPECT_EQ(g_notes[3].from, header) << "forwarded as the header sent it";
  EXPECT_EQ(g_notes[3].subItem, 130);
  // An owner refusing the change keeps the width.
  g_answer = TRUE;
  EXPECT_TRUE(SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(50, 0)));
  EXPECT_EQ(SendMessageA(list, LVM_GETCOLUMNWIDTH, 1, 0), 80);
  g_answer = 0;
  g_notes.clear();
  SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 5));
  SendMessageA(header, WM_LBUTTONUP, 0, MAKELPARAM(150, 5));
  ASSERT_EQ(Notes(LVN_COLUMNCLICK).size(), 1u);
  EXPECT_EQ(Notes(LVN_COLUMNCLICK)[0].subItem, 1);
}

TEST_F(ListViews, ARowDraggedAwayWithTheButtonHeldBeginsADragOnce) {
  // A plain click is no drag.
  headless::QueueClick(list, {20, 30});
  Pump();
  EXPECT_TRUE(Notes(LVN_BEGINDRAG).empty());
  // Held and moved within the drag distance: still none; beyond it: one,
  // for the row pressed and the point it was pressed at.
  headless::QueueMouseButton(list, {20, 48}, headless::MouseButton::Left, true);
  headless::QueueMouseMove(list, {24, 52});
  Pump();
  EXPECT_TRUE(Notes(LVN_BEGINDRAG).empty());
  headless::QueueMouseMove(list, {20, 80});
  headless::QueueMouseMove(list, {20, 90});
  headless::QueueMouseButton(list, {20, 90}, headless::MouseButton::Left, false);
  Pump();
  const std::vector<Note> drags = Notes(LVN_BEGINDRAG);
  ASSERT_EQ(drags.size(), 1u);
  EXPECT_EQ(drags[0].item, 1);
  EXPECT_EQ(drags[0].param, 101);
  EXPECT_EQ(drags[0].at.y, 48);
  // Moving with the button up after the release begins nothing.
  headless::QueueMouseMove(list, {20, 30});
  Pump();
  EXPECT_EQ(Notes(LVN_BEGINDRAG).size(), 1u);
  // The check box of a row is toggled, not dragged.
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES);
  headless::QueueMouseButton(list, {4, 30}, headless::MouseButton::Left, true);
  headless::QueueMouseMove(list, {4, 80});
  headless::QueueMouseButton(list, {4, 80}, headless::MouseButton::Left, false);
  Pump();
  EXPECT_EQ(Notes(LVN_BEGINDRAG).size(), 1u);
}

TEST_F(ListViews, ADragImageIsOneImageOfTheRowsBounds) {
  POINT corner{-1, -1};
  auto image = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_CREATEDRAGIMAGE, 2, reinterpret_cast<LPARAM>(&corner)));
  ASSERT_NE(image, nullptr);
  const RECT bounds = ItemRect(2, LVIR_BOUNDS);
  EXPECT_EQ(corner.x, bounds.left);
  EXPECT_EQ(corner.y, bounds.top);
  int width = 0, height = 0;
  ImageList_GetIconSize(image, &width, &height);
  EXPECT_EQ(width, bounds.right - bounds.left);
  EXPECT_EQ(height, bounds.bottom - bounds.top);
  EXPECT_EQ(ImageList_GetImageCount(image), 1);
  ImageList_Destroy(image);
  EXPECT_EQ(SendMessageA(list, LVM_CREATEDRAGIMAGE, 9, 0), 0) << "no such row";
}
