#include "wizard/frame/controls/CButtonNew.h"

#include "platform/mfc/CDC.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/image_loading.h"
#include "platform/win32/resources.h"

namespace {

// WS_CHILD | WS_VISIBLE | BS_OWNERDRAW
constexpr DWORD kButtonStyle = 0x5000000B;

}  // namespace

BEGIN_MESSAGE_MAP(CButtonNew, CButton)
  ON_CONTROL_REFLECT(BN_CLICKED, &CButtonNew::OnClicked)
END_MESSAGE_MAP()

CButtonNew::~CButtonNew() { DeleteBitmap(); }

void CButtonNew::DeleteBitmap() {
  if (bitmap) ::DeleteObject(bitmap);
  bitmap = nullptr;
  bitmapWidth = bitmapHeight = 0;
}

BOOL CButtonNew::Create(CWnd* parent, UINT bitmapId, const RECT& rect, UINT id) {
  DeleteBitmap();
  LPCSTR name = MAKEINTRESOURCEA(bitmapId);
  auto loaded = static_cast<HBITMAP>(LoadImageA(nullptr, name, IMAGE_BITMAP, 0, 0, LR_LOADTRANSPARENT));
  if (!loaded) loaded = static_cast<HBITMAP>(LoadImageA(AfxGetResourceHandle(), name, IMAGE_BITMAP, 0, 0, LR_LOADTRANSPARENT));
  if (!loaded) return FALSE;
  bitmap = loaded;
  BITMAP info{};
  if (!::GetObjectA(bitmap, sizeof info, &info)) {
    DeleteBitmap();
    return FALSE;
  }
  bitmapWidth = info.bmWidth;
  bitmapHeight = info.bmHeight;
  if (!CButton::Create("", kButtonStyle, rect, parent, id)) {
    DeleteBitmap();
    return FALSE;
  }
  return TRUE;
}

void CButtonNew::DrawItem(LPDRAWITEMSTRUCT item) {
  if (!item || item->CtlType != ODT_BUTTON) return;
  CDC* dc = CDC::FromHandle(item->hDC);
  const RECT& r = item->rcItem;
  const bool pressed = (item->itemState & ODS_SELECTED) != 0;
  const int shift = pressed ? 1 : 0;
  if (bitmap) {
    CDC memory;
    memory.CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(memory.m_hDC, bitmap);
    dc->BitBlt(((r.left + r.right - bitmapWidth + 1) >> 1) + shift, ((r.top + r.bottom - bitmapHeight + 1) >> 1) + shift,
               r.right - r.left, r.bottom - r.top, &memory, 0, 0, SRCCOPY);
    ::SelectObject(memory.m_hDC, old);
  }
  const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF dark = ::GetSysColor(COLOR_3DDKSHADOW);
  dc->Draw3dRect(&r, pressed ? dark : light, pressed ? light : dark);
}

void CButtonNew::OnClicked() {
  CWnd* parent = GetParent();
  if (parent) parent->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), reinterpret_cast<LPARAM>(parent->m_hWnd));
}
