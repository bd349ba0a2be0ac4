#include "platform/mfc/CImageList.h"

#include <map>
#include <memory>

#include "platform/mfc/CDC.h"
#include "platform/mfc/CGdiObject.h"
#include "platform/mfc/module_state.h"

IMPLEMENT_DYNAMIC(CImageList, CObject)

namespace {
std::map<HIMAGELIST, CImageList*>& Owners() {
  static auto* owners = new std::map<HIMAGELIST, CImageList*>;
  return *owners;
}
std::map<HIMAGELIST, std::unique_ptr<CImageList>>& Temporaries() {
  static auto* temporaries = new std::map<HIMAGELIST, std::unique_ptr<CImageList>>;
  return *temporaries;
}
}  // namespace

CImageList::~CImageList() { DeleteImageList(); }

CImageList* CImageList::FromHandle(HIMAGELIST list) {
  if (!list) return nullptr;
  auto owner = Owners().find(list);
  if (owner != Owners().end()) return owner->second;
  auto& temp = Temporaries()[list];
  if (!temp) {
    temp = std::make_unique<CImageList>();
    temp->m_hImageList = list;
  }
  return temp.get();
}

BOOL CImageList::Attach(HIMAGELIST list) {
  if (!list || m_hImageList) return FALSE;
  m_hImageList = list;
  Owners()[list] = this;
  return TRUE;
}

HIMAGELIST CImageList::Detach() {
  HIMAGELIST list = m_hImageList;
  if (list) Owners().erase(list);
  m_hImageList = nullptr;
  return list;
}

BOOL CImageList::DeleteImageList() {
  HIMAGELIST list = Detach();
  if (!list) return FALSE;
  // A temporary object never owns its list.
  auto temp = Temporaries().find(list);
  if (temp != Temporaries().end()) {
    temp->second->m_hImageList = nullptr;
    Temporaries().erase(temp);
  }
  return ImageList_Destroy(list);
}

BOOL CImageList::Create(int width, int height, UINT flags, int initial, int grow) {
  return !m_hImageList && Attach(ImageList_Create(width, height, flags, initial, grow));
}

BOOL CImageList::Create(UINT bitmapId, int width, int grow, COLORREF mask) {
  CBitmap bitmap;
  if (!bitmap.LoadBitmap(bitmapId)) return FALSE;
  BITMAP info{};
  bitmap.GetBitmap(&info);
  if (!Create(width, info.bmHeight, ILC_COLOR32 | ILC_MASK, 0, grow)) return FALSE;
  return ImageList_AddMasked(m_hImageList, static_cast<HBITMAP>(bitmap.m_hObject), mask) >= 0;
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask) {
  return ImageList_Add(m_hImageList, bitmap ? static_cast<HBITMAP>(bitmap->m_hObject) : nullptr,
                       mask ? static_cast<HBITMAP>(mask->m_hObject) : nullptr);
}

int CImageList::Add(CBitmap* bitmap, COLORREF mask) {
  return ImageList_AddMasked(m_hImageList, bitmap ? static_cast<HBITMAP>(bitmap->m_hObject) : nullptr, mask);
}

BOOL CImageList::Draw(CDC* dc, int index, POINT at, UINT style) {
  return ImageList_Draw(m_hImageList, index, dc ? dc->m_hDC : nullptr, at.x, at.y, style);
}
