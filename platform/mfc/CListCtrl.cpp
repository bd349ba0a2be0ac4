#include "platform/mfc/CListCtrl.h"

#include "platform/mfc/CImageList.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

namespace {
const bool g_registered =
    (AfxRegisterTemporaryClass(WC_LISTVIEWA, [] { return static_cast<CWnd*>(new CListCtrl); }), true);
}

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  (void)g_registered;
  return CWnd::Create(WC_LISTVIEWA, nullptr, style, rect, parent, id);
}

int CListCtrl::InsertColumn(int column, const LVCOLUMNA* definition) {
  return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(definition)));
}

int CListCtrl::InsertColumn(int column, LPCSTR heading, int format, int width, int subItem) {
  LVCOLUMNA c{};
  c.mask = LVCF_FMT | LVCF_TEXT;
  c.fmt = format;
  c.pszText = const_cast<LPSTR>(heading);
  if (width != -1) {
    c.mask |= LVCF_WIDTH;
    c.cx = width;
  }
  if (subItem != -1) {
    c.mask |= LVCF_SUBITEM;
    c.iSubItem = subItem;
  }
  return InsertColumn(column, &c);
}

CImageList* CListCtrl::CreateDragImage(int index, LPPOINT upperLeft) {
  auto list = reinterpret_cast<HIMAGELIST>(
      SendMessage(LVM_CREATEDRAGIMAGE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(upperLeft)));
  if (!list) return nullptr;
  auto* image = new CImageList;
  image->Attach(list);
  return image;
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
  return static_cast<CHeaderCtrl*>(FromHandle(reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER))));
}

int CListCtrl::InsertItem(int index, LPCSTR text) { return InsertItem(LVIF_TEXT, index, text, 0, 0, 0, 0); }

int CListCtrl::InsertItem(int index, LPCSTR text, int image) {
  return InsertItem(LVIF_TEXT | LVIF_IMAGE, index, text, 0, 0, image, 0);
}

int CListCtrl::InsertItem(UINT mask, int index, LPCSTR text, UINT state, UINT stateMask, int image, LPARAM param) {
  LVITEMA item{};
  item.mask = mask;
  item.iItem = index;
  item.pszText = const_cast<LPSTR>(text);
  item.state = state;
  item.stateMask = stateMask;
  item.iImage = image;
  item.lParam = param;
  return InsertItem(&item);
}

CString CListCtrl::GetItemText(int index, int subItem) const {
  // The text may be long: the buffer grows until it fits.
  CString text;
  for (int size = 256;; size *= 2) {
    LVITEMA item{};
    item.iSubItem = subItem;
    item.pszText = text.GetBuffer(size);
    item.cchTextMax = size + 1;
    const int n = static_cast<int>(SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    if (n < size) {
      text.ReleaseBuffer(n);
      return text;
    }
  }
}

int CListCtrl::GetItemText(int index, int subItem, LPSTR buffer, int size) const {
  LVITEMA item{};
  item.iSubItem = subItem;
  item.pszText = buffer;
  item.cchTextMax = size;
  return static_cast<int>(SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int index, int subItem, LPCSTR text) {
  LVITEMA item{};
  item.iSubItem = subItem;
  item.pszText = const_cast<LPSTR>(text);
  return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

DWORD_PTR CListCtrl::GetItemData(int index) const {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  GetItem(&item);
  return static_cast<DWORD_PTR>(item.lParam);
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data) {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  item.lParam = static_cast<LPARAM>(data);
  return SetItem(&item);
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask) {
  LVITEMA item{};
  item.state = state;
  item.stateMask = mask;
  return SetItemState(index, &item);
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
  const int first = GetNextItem(-1, LVNI_SELECTED);
  return first < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<uintptr_t>(first) + 1);
}

int CListCtrl::GetNextSelectedItem(POSITION& position) const {
  const int index = static_cast<int>(reinterpret_cast<uintptr_t>(position)) - 1;
  const int next = GetNextItem(index, LVNI_SELECTED);
  position = next < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<uintptr_t>(next) + 1);
  return index;
}

BOOL CListCtrl::GetCheck(int index) const { return (GetItemState(index, LVIS_STATEIMAGEMASK) >> 12) == 2; }

BOOL CListCtrl::SetCheck(int index, BOOL check) {
  return SetItemState(index, INDEXTOSTATEIMAGEMASK(check ? 2 : 1), LVIS_STATEIMAGEMASK);
}

BOOL CListCtrl::GetItemRect(int index, LPRECT rect, UINT code) const {
  rect->left = static_cast<LONG>(code);
  return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)));
}

BOOL CListCtrl::GetSubItemRect(int index, int subItem, int code, CRect& rect) const {
  rect.top = subItem;
  rect.left = code;
  return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)));
}

int CListCtrl::HitTest(CPoint point, UINT* flags) const {
  LVHITTESTINFO info{};
  info.pt = point;
  const int index = HitTest(&info);
  if (flags) *flags = info.flags;
  return index;
}

CImageList* CListCtrl::SetImageList(CImageList* list, int type) {
  HIMAGELIST old = reinterpret_cast<HIMAGELIST>(
      SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(type), reinterpret_cast<LPARAM>(list ? list->m_hImageList : nullptr)));
  return CImageList::FromHandle(old);
}

CImageList* CListCtrl::GetImageList(int type) const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(LVM_GETIMAGELIST, static_cast<WPARAM>(type))));
}
