// The fixed measures of the headless window system. Nothing is shown, but
// the system's dialogs compute layouts from these, so they are stable and
// documented:
//
// - Screen: configurable (default 1920 x 1080), the work area is the whole
//   screen; LOGPIXELSX/Y of every device context is the configured dots per
//   inch (default 96).
// - Dialog units: every dialog font gives the base units 6 x 13 pixels
//   (average character width x character height), whatever the dots per
//   inch, so
//       x pixels = MulDiv(x dlu, 6, 4)      y pixels = MulDiv(y dlu, 13, 8)
//   (MapDialogRect, dialog templates, GetDialogBaseUnits = MAKELONG(6, 13)).
// - Non-client frame of a window, by style:
//       WS_THICKFRAME          4 px on each side (SM_CXFRAME)
//       else WS_DLGFRAME or WS_EX_DLGMODALFRAME   3 px (SM_CXDLGFRAME)
//       else WS_BORDER         1 px (SM_CXBORDER)
//       WS_CAPTION             + 20 px at the top (SM_CYCAPTION)
//       a menu bar             + 20 px at the top (SM_CYMENU)
//       WS_EX_CLIENTEDGE       + 2 px on each side (SM_CXEDGE)
//       WS_EX_STATICEDGE       + 1 px on each side
//       WS_VSCROLL / WS_HSCROLL  17 px at the right / bottom (SM_CXVSCROLL)
// - Text: a font of height h (default 13) has characters h pixels high and
//   MulDiv(h, 6, 13) wide on average; every character counts that width.
// - Controls: a combo box's selection field is 21 px high (the height it is
//   given is its dropped-down height); list box items are 16 px high; list
//   view rows 17 px under a 20 px header; check boxes and small icons 16 px.
// - A minimised top-level window lies at (-32000, -32000), 160 x 28 px, with
//   an empty client area.
#pragma once

#include "platform/win32/win32_types.h"

struct HeadlessMetrics {
  int screenWidth = 1920;
  int screenHeight = 1080;
  int dotsPerInch = 96;
};

const HeadlessMetrics& GetHeadlessMetrics();
// Takes effect for every later call; windows keep their rectangles.
void SetHeadlessMetrics(const HeadlessMetrics& metrics);

namespace headless {
constexpr int kDialogBaseX = 6;
constexpr int kDialogBaseY = 13;
constexpr int kCaption = 20;
constexpr int kMenuBar = 20;
constexpr int kThickFrame = 4;
constexpr int kDialogFrame = 3;
constexpr int kBorder = 1;
constexpr int kClientEdge = 2;
constexpr int kStaticEdge = 1;
constexpr int kScrollBar = 17;
constexpr int kFontHeight = 13;
constexpr int kComboFieldHeight = 21;
constexpr int kListBoxItemHeight = 16;
constexpr int kListViewRowHeight = 17;
constexpr int kListViewHeaderHeight = 20;
constexpr int kSmallIcon = 16;
constexpr int kIcon = 32;
constexpr int kMinimizedWidth = 160;
constexpr int kMinimizedHeight = 28;
constexpr int kMinimizedPosition = -32000;
}  // namespace headless
