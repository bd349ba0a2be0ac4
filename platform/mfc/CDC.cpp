#include "platform/mfc/CDC.h"

#include <cstring>
#include <map>
#include <memory>
#include <typeinfo>
#include <utility>

#include "platform/mfc/CWnd.h"
#include "platform/mfc/module_state.h"
#include "platform/win32/resources.h"

IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

namespace {

std::map<HDC, std::unique_ptr<CDC>>& TemporaryDcs() {
  static auto* dcs = new std::map<HDC, std::unique_ptr<CDC>>;
  return *dcs;
}

std::map<std::pair<const std::type_info*, HGDIOBJ>, std::unique_ptr<CGdiObject>>& TemporaryObjects() {
  static auto* objects = new std::map<std::pair<const std::type_info*, HGDIOBJ>, std::unique_ptr<CGdiObject>>;
  return *objects;
}

}  // namespace

void AfxIdleCleanup() {
  for (auto& [dc, object] : TemporaryDcs()) object->m_hDC = nullptr;
  TemporaryDcs().clear();
  for (auto& [key, object] : TemporaryObjects()) object->m_hObject = nullptr;
  TemporaryObjects().clear();
}

template <class T>
T* CGdiObject::Temporary(HGDIOBJ object) {
  if (!object) return nullptr;
  auto& slot = TemporaryObjects()[{&typeid(T), object}];
  if (!slot) {
    auto temp = std::make_unique<T>();
    temp->m_hObject = object;
    slot = std::move(temp);
  }
  return static_cast<T*>(slot.get());
}

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Attach(HGDIOBJ object) {
  if (!object || m_hObject) return FALSE;
  m_hObject = object;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() { return std::exchange(m_hObject, nullptr); }

BOOL CGdiObject::DeleteObject() {
  HGDIOBJ object = Detach();
  return object ? ::DeleteObject(object) : FALSE;
}

BOOL CGdiObject::CreateStockObject(int index) { return !m_hObject && Attach(::GetStockObject(index)); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) { return Temporary<CGdiObject>(object); }
CPen* CPen::FromHandle(HPEN pen) { return Temporary<CPen>(pen); }
CBrush* CBrush::FromHandle(HBRUSH brush) { return Temporary<CBrush>(brush); }
CFont* CFont::FromHandle(HFONT font) { return Temporary<CFont>(font); }
CBitmap* CBitmap::FromHandle(HBITMAP bitmap) { return Temporary<CBitmap>(bitmap); }

BOOL CBrush::CreateSysColorBrush(int index) { return !m_hObject && Attach(::CreateSolidBrush(::GetSysColor(index))); }

BOOL CFont::CreatePointFont(int tenthsOfPoint, LPCSTR faceName, CDC* dc) {
  HDC screen = dc ? dc->m_hDC : ::GetDC(nullptr);
  LOGFONTA font{};
  font.lfHeight = -MulDiv(tenthsOfPoint, ::GetDeviceCaps(screen, LOGPIXELSY), 720);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  if (faceName) std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
  if (!dc) ::ReleaseDC(nullptr, screen);
  return CreateFontIndirect(&font);
}

BOOL CBitmap::LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCEA(id)); }

BOOL CBitmap::LoadBitmap(LPCSTR name) {
  if (m_hObject) return FALSE;
  HBITMAP bitmap = ::LoadBitmapA(AfxGetResourceHandle(), name);
  if (!bitmap && IS_INTRESOURCE(name)) bitmap = ::LoadBitmapA(nullptr, name);
  return Attach(bitmap);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  return !m_hObject && Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}

CDC::~CDC() {
  if (m_owned && m_hDC) ::DeleteDC(m_hDC);
}

BOOL CDC::Attach(HDC dc) {
  if (!dc || m_hDC) return FALSE;
  m_hDC = dc;
  return TRUE;
}

HDC CDC::Detach() {
  m_owned = false;
  return std::exchange(m_hDC, nullptr);
}

CDC* CDC::FromHandle(HDC dc) {
  if (!dc) return nullptr;
  auto& slot = TemporaryDcs()[dc];
  if (!slot) {
    slot = std::make_unique<CDC>();
    slot->m_hDC = dc;
  }
  return slot.get();
}

void CDC::DeleteTemporary(HDC dc) {
  auto it = TemporaryDcs().find(dc);
  if (it == TemporaryDcs().end()) return;
  it->second->m_hDC = nullptr;
  TemporaryDcs().erase(it);
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
  if (m_hDC || !Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr))) return FALSE;
  m_owned = true;
  return TRUE;
}

BOOL CDC::DeleteDC() {
  HDC dc = Detach();
  return dc ? ::DeleteDC(dc) : FALSE;
}

CPen* CDC::SelectObject(CPen* pen) { return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pen ? pen->m_hObject : nullptr))); }
CBrush* CDC::SelectObject(CBrush* brush) {
  return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, brush ? brush->m_hObject : nullptr)));
}
CFont* CDC::SelectObject(CFont* font) {
  return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, font ? font->m_hObject : nullptr)));
}
CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap ? bitmap->m_hObject : nullptr)));
}
CGdiObject* CDC::SelectStockObject(int index) {
  return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}

CPoint CDC::MoveTo(int x, int y) {
  POINT previous{};
  ::MoveToEx(m_hDC, x, y, &previous);
  return previous;
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
  HBRUSH brush = ::CreateSolidBrush(color);
  ::FillRect(m_hDC, rect, brush);
  ::DeleteObject(brush);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
  RECT r{x, y, x + cx, y + cy};
  FillSolidRect(&r, color);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight) {
  const int w = r->right - r->left, h = r->bottom - r->top;
  FillSolidRect(r->left, r->top, w - 1, 1, topLeft);
  FillSolidRect(r->left, r->top, 1, h - 1, topLeft);
  FillSolidRect(r->left + w - 1, r->top, 1, h, bottomRight);
  FillSolidRect(r->left, r->top + h - 1, w, 1, bottomRight);
}

CSize CDC::GetTextExtent(LPCSTR text, int length) const {
  SIZE size{};
  ::GetTextExtentPoint32A(m_hDC, text, length, &size);
  return size;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD rop) {
  return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sourceX, sourceY, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, int sourceWidth,
                     int sourceHeight, DWORD rop) {
  return ::StretchBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sourceX, sourceY, sourceWidth,
                      sourceHeight, rop);
}

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(AfxSafeHwnd(window)) { Attach(::BeginPaint(m_hWnd, &m_ps)); }

CPaintDC::~CPaintDC() {
  ::EndPaint(m_hWnd, &m_ps);
  Detach();
}

CClientDC::CClientDC(CWnd* window) : m_hWnd(AfxSafeHwnd(window)) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }
