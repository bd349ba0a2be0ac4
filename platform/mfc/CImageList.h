// Image lists.
#pragma once

#include "platform/mfc/CObject.h"
#include "platform/mfc/CPoint.h"
#include "platform/win32/common_controls.h"

class CBitmap;
class CDC;

class CImageList : public CObject {
  DECLARE_DYNAMIC(CImageList)

 public:
  CImageList() = default;
  ~CImageList() override;

  HIMAGELIST m_hImageList = nullptr;
  operator HIMAGELIST() const { return m_hImageList; }
  HIMAGELIST GetSafeHandle() const { return m_hImageList; }
  // The list's object; a temporary one for a list no object holds.
  static CImageList* FromHandle(HIMAGELIST list);

  BOOL Create(int width, int height, UINT flags, int initial, int grow);
  // From a bitmap resource of the current resource module, cut into images
  // `width` wide.
  BOOL Create(UINT bitmapId, int width, int grow, COLORREF mask);
  BOOL Attach(HIMAGELIST list);
  HIMAGELIST Detach();
  BOOL DeleteImageList();

  int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
  int Add(CBitmap* bitmap, CBitmap* mask);
  int Add(CBitmap* bitmap, COLORREF mask);
  int Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
  int Replace(int index, HICON icon) { return ImageList_ReplaceIcon(m_hImageList, index, icon); }
  BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
  BOOL Draw(CDC* dc, int index, POINT at, UINT style);
  COLORREF SetBkColor(COLORREF color) { return ImageList_SetBkColor(m_hImageList, color); }
};
