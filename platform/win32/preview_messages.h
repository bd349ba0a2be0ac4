// The messages a preview control (a button showing a scene) answers about
// what it shows, as a common control answers its own: whoever has to tell
// or click the content (the input driver, the runner's report) asks through
// them, knowing nothing of the scene's own types. A preview answers once its
// scene has been set up; any other window answers 0.
#pragma once

#include "platform/win32/messages.h"

// lParam PVVIEW*; TRUE when answered.
constexpr UINT PVM_GETVIEW = WM_USER + 0x700;
// wParam the index of a scene entry, lParam PVITEMS*: the entries from there
// on, as many as fit and there are (count in: the room, out: how many);
// FALSE for an index past the end. A scene holds many thousand entries:
// one message for each would cost more than reading them.
constexpr UINT PVM_GETITEMS = WM_USER + 0x701;
// wParam the index of a text entry, lParam PVITEMLINE* (line in, text out);
// FALSE when there is no such line.
constexpr UINT PVM_GETITEMLINE = WM_USER + 0x702;
// wParam a selection name, lParam POINT*: the client point (y from the top)
// where a click picks that name's group; FALSE when no point of the view
// does.
constexpr UINT PVM_GETITEMPOINT = WM_USER + 0x703;
// lParam PVPOINTSTATE*; TRUE only from a preview with connection points.
constexpr UINT PVM_GETPOINTSTATE = WM_USER + 0x704;
// wParam the index of a connection point, lParam PVPOINT*; FALSE past the
// end.
constexpr UINT PVM_GETPOINT = WM_USER + 0x705;

struct PVVIEW {
  BOOL hasScene;
  BOOL hasCamera;
  // The camera's view (drawing units) and the point it looks at.
  double viewWidth;
  double viewHeight;
  double targetX;
  double targetY;
  // Entries of the scene, empty slots included.
  UINT itemCount;
};

// A selection-name marker: the entries after it belong to `name`'s group.
constexpr UINT PVIF_NAME = 0x1;
// A text: `lineCount` lines, read with PVM_GETITEMLINE.
constexpr UINT PVIF_TEXT = 0x2;
// An empty slot: nothing else is set.
constexpr UINT PVIF_EMPTY = 0x4;

struct PVITEM {
  UINT flags;
  UINT name;
  // The entity's class name; null when its class has none.
  LPCSTR className;
  UINT material;
  UINT lineCount;
};

struct PVITEMS {
  UINT count;
  PVITEM* items;
};

struct PVITEMLINE {
  UINT line;
  // Valid while the scene is unchanged.
  LPCSTR text;
  UINT length;
};

struct PVPOINTSTATE {
  UINT kind;
  UINT selected;
  BOOL mirrored;
  UINT pointCount;
};

constexpr UINT PVPM_NONE = 0;
constexpr UINT PVPM_HIDDEN = 1;
constexpr UINT PVPM_SHOWN = 2;

struct PVPOINT {
  UINT id;
  double x;
  double y;
  double z;
  // Radians.
  double angle;
  // PVPM_*: no marker, a hidden one or a shown one.
  UINT marker;
};
