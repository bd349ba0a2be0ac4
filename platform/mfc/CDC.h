// A device context of the framework. Headless every drawing call is
// recorded in the drawing journal (gdi.h).
#pragma once

#include "platform/mfc/CGdiObject.h"
#include "platform/mfc/CRect.h"
#include "platform/mfc/CString.h"

class CWnd;

class CDC : public CObject {
  DECLARE_DYNAMIC(CDC)

 public:
  CDC() = default;
  ~CDC() override;  // deletes a device context it created

  HDC m_hDC = nullptr;
  operator HDC() const { return m_hDC; }
  HDC GetSafeHdc() const { return m_hDC; }
  BOOL Attach(HDC dc);
  HDC Detach();
  // A temporary object for a context the caller lends (see AfxIdleCleanup).
  static CDC* FromHandle(HDC dc);
  static void DeleteTemporary(HDC dc);

  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();
  int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
  int SaveDC() { return ::SaveDC(m_hDC); }
  BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }

  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  CBitmap* SelectObject(CBitmap* bitmap);
  CGdiObject* SelectStockObject(int index);

  COLORREF SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
  COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
  COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
  COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
  int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
  int GetBkMode() const { return ::GetBkMode(m_hDC); }
  UINT SetTextAlign(UINT align) { return ::SetTextAlign(m_hDC, align); }
  UINT GetTextAlign() const { return ::GetTextAlign(m_hDC); }

  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  BOOL Rectangle(int l, int t, int r, int b) { return ::Rectangle(m_hDC, l, t, r, b); }
  BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
  BOOL Ellipse(int l, int t, int r, int b) { return ::Ellipse(m_hDC, l, t, r, b); }
  BOOL Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }
  BOOL Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
  BOOL Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
  void FillRect(LPCRECT rect, CBrush* brush) { ::FillRect(m_hDC, rect, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr); }
  void FillSolidRect(LPCRECT rect, COLORREF color);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
  void FrameRect(LPCRECT rect, CBrush* brush) { ::FrameRect(m_hDC, rect, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr); }
  void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
  void DrawFocusRect(LPCRECT rect) { ::DrawFocusRect(m_hDC, rect); }
  BOOL TextOut(int x, int y, LPCSTR text, int length) { return ::TextOutA(m_hDC, x, y, text, length); }
  BOOL TextOut(int x, int y, const CString& text) { return TextOut(x, y, text, text.GetLength()); }
  int DrawText(LPCSTR text, int length, LPRECT rect, UINT format) { return ::DrawTextA(m_hDC, text, length, rect, format); }
  int DrawText(const CString& text, LPRECT rect, UINT format) { return DrawText(text, text.GetLength(), rect, format); }
  CSize GetTextExtent(LPCSTR text, int length) const;
  CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
  BOOL GetTextMetrics(TEXTMETRICA* metrics) const { return ::GetTextMetricsA(m_hDC, metrics); }
  BOOL PatBlt(int x, int y, int width, int height, DWORD rop) { return ::PatBlt(m_hDC, x, y, width, height, rop); }
  BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD rop);
  BOOL StretchBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, int sourceWidth,
                  int sourceHeight, DWORD rop);
  BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
  BOOL DrawIcon(POINT p, HICON icon) { return DrawIcon(p.x, p.y, icon); }
  COLORREF SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }

 protected:
  bool m_owned = false;  // created by CreateCompatibleDC
};

// The context of a WM_PAINT handler (BeginPaint / EndPaint).
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps{};

 protected:
  HWND m_hWnd;
};

// The client area's context of a window (GetDC / ReleaseDC).
class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* window);
  ~CClientDC() override;

 protected:
  HWND m_hWnd;
};

class CWindowDC : public CClientDC {
 public:
  explicit CWindowDC(CWnd* window) : CClientDC(window) {}
};
