#include "wizard/frame/controls/CJovList.h"

#include <iterator>

#include "platform/mfc/CString.h"
#include "platform/resources/wizard/resource_ids.h"
#include "platform/win32/virtual_keys.h"
#include "wizard/frame/controls/DragReorder.h"
#include "wizard/frame/engine/CValueParam.h"

namespace {

struct ColumnLook {
  UINT title;
  int width;
  int format;
};

constexpr ColumnLook kColumns[] = {{IDS_PARAM_COLUMN_NAME, 70, LVCFMT_LEFT},
                                   {IDS_PARAM_COLUMN_LABEL, 150, LVCFMT_LEFT},
                                   {IDS_PARAM_COLUMN_TYPE, 70, LVCFMT_CENTER},
                                   {IDS_PARAM_COLUMN_DEFAULT, 100, LVCFMT_LEFT}};

}  // namespace

BEGIN_MESSAGE_MAP(CJovList, CListCtrl)
  ON_NOTIFY_REFLECT(LVN_BEGINDRAG, &CJovList::OnBeginDrag)
  ON_WM_LBUTTONUP()
  ON_WM_CAPTURECHANGED()
  ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

CJovList::~CJovList() = default;

void CJovList::PreSubclassWindow() {
  SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
    CString title;
    title.LoadString(kColumns[i].title);
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = kColumns[i].format;
    column.cx = kColumns[i].width;
    column.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(title));
    column.iSubItem = i;
    InsertColumn(i, &column);
  }
  CListCtrl::PreSubclassWindow();
}

BOOL CJovList::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
    drag.CancelDrag(this);
    return TRUE;
  }
  return CListCtrl::PreTranslateMessage(msg);
}

void CJovList::OnBeginDrag(NMHDR* header, LRESULT* result) {
  drag.BeginDrag(reinterpret_cast<NMLISTVIEW*>(header)->iItem, this);
  *result = 0;
}

void CJovList::OnMouseMove(UINT, CPoint point) {
  drag.DragMove(point, this);
  Default();
}

void CJovList::OnLButtonUp(UINT, CPoint) {
  int source = -1, target = -1;
  if (drag.EndDrag(this, &source, &target)) MoveRow(source, target);
  Default();
}

void CJovList::OnCaptureChanged(CWnd*) { drag.CancelDrag(this); }

void CJovList::MoveRow(int source, int target) {
  const RowMove move = PlanRowMove(source, target);
  if (!move.moves || target >= GetItemCount()) return;
  auto* param = reinterpret_cast<CValueParam*>(GetItemData(source));
  const UINT shown = LVIS_SELECTED | LVIS_FOCUSED;
  if (InsertItem(LVIF_TEXT | LVIF_PARAM | LVIF_STATE, move.insertAt, param ? param->GetText(ParamText::kName) : "",
                 shown, shown, 0, reinterpret_cast<LPARAM>(param)) < 0)
    return;
  DeleteItem(move.deleteAt);
  if (param) {
    SetItemText(move.finalRow, 1, param->GetText(ParamText::kLabel));
    SetItemText(move.finalRow, 2, param->GetText(ParamText::kTypeTitle));
    SetItemText(move.finalRow, 3, param->GetText(ParamText::kDefault));
    // The attached list keeps the rows' order, one place at a time.
    for (int i = 0; attached && i < move.steps; ++i) move.down ? attached->MoveDown(param) : attached->MoveUp(param);
  }
  for (int row = 0, rows = GetItemCount(); row < rows; ++row)
    if (auto* p = reinterpret_cast<CValueParam*>(GetItemData(row))) p->listRow = row;
  SetItemState(move.finalRow, shown, shown);
}
