// Drawing objects: pens, brushes, fonts and bitmaps. An object owns its
// handle and deletes it; an object that holds one refuses to create
// another (DeleteObject first); FromHandle gives temporary objects for handles it
// does not own (dropped when a framework loop next waits).
#pragma once

#include "platform/mfc/CObject.h"
#include "platform/win32/gdi.h"

class CDC;

class CGdiObject : public CObject {
  DECLARE_DYNAMIC(CGdiObject)

 public:
  CGdiObject() = default;
  ~CGdiObject() override;

  HGDIOBJ m_hObject = nullptr;
  operator HGDIOBJ() const { return m_hObject; }
  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  BOOL Attach(HGDIOBJ object);
  HGDIOBJ Detach();
  BOOL DeleteObject();
  int GetObject(int size, LPVOID out) const { return ::GetObjectA(m_hObject, size, out); }
  BOOL CreateStockObject(int index);

  static CGdiObject* FromHandle(HGDIOBJ object);

 protected:
  // A temporary object of class T for a handle (see AfxIdleCleanup).
  template <class T>
  static T* Temporary(HGDIOBJ object);
};

class CPen : public CGdiObject {
  DECLARE_DYNAMIC(CPen)

 public:
  CPen() = default;
  CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
  BOOL CreatePen(int style, int width, COLORREF color) { return !m_hObject && Attach(::CreatePen(style, width, color)); }
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }
  static CPen* FromHandle(HPEN pen);
};

class CBrush : public CGdiObject {
  DECLARE_DYNAMIC(CBrush)

 public:
  CBrush() = default;
  explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
  BOOL CreateSolidBrush(COLORREF color) { return !m_hObject && Attach(::CreateSolidBrush(color)); }
  BOOL CreateSysColorBrush(int index);
  BOOL CreateHatchBrush(int hatch, COLORREF color) { return !m_hObject && Attach(::CreateHatchBrush(hatch, color)); }
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
  static CBrush* FromHandle(HBRUSH brush);
};

class CFont : public CGdiObject {
  DECLARE_DYNAMIC(CFont)

 public:
  CFont() = default;
  BOOL CreateFontIndirect(const LOGFONTA* font) { return !m_hObject && Attach(::CreateFontIndirectA(font)); }
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                  BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                  BYTE pitchAndFamily, LPCSTR faceName) {
    return !m_hObject && Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut, charSet,
                                outPrecision, clipPrecision, quality, pitchAndFamily, faceName));
  }
  // A size in tenths of a point, at the device's dots per inch.
  BOOL CreatePointFont(int tenthsOfPoint, LPCSTR faceName, CDC* dc = nullptr);
  int GetLogFont(LOGFONTA* font) const { return GetObject(sizeof(LOGFONTA), font); }
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }
  static CFont* FromHandle(HFONT font);
};

class CBitmap : public CGdiObject {
  DECLARE_DYNAMIC(CBitmap)

 public:
  CBitmap() = default;
  // From the current resource module; a system bitmap (OBM_*) by its number
  // when the module has none of that number.
  BOOL LoadBitmap(UINT id);
  BOOL LoadBitmap(LPCSTR name);
  BOOL LoadOEMBitmap(UINT id) { return !m_hObject && Attach(::LoadBitmapA(nullptr, reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(id)))); }
  BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    return !m_hObject && Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
  }
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  int GetBitmap(BITMAP* info) const { return GetObject(sizeof(BITMAP), info); }
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
  static CBitmap* FromHandle(HBITMAP bitmap);
};
