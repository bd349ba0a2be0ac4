// The saved layout of a resizable dialog as the int array a settings store
// keeps ("left;top;width;height;dpi;show;id;change;..."), the key it is
// kept under, and where a restored layout may go on the screen. Plain
// functions: SaveWindowLayout and RestoreWindowLayout (resizeWnd.h) put
// them to work on a dialog.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/geometry.h"

// Show commands of a saved layout.
constexpr int kLayoutMaximized = 3;
constexpr int kLayoutMinimized = 2;
constexpr int kLayoutNormal = 8;

// The top bit of a pair's id word marks a height change (a control whose
// top edge moves); without it the change is a width (left edge).
constexpr uint32_t kLayoutHeightFlag = 0x80000000u;

// One edge-linked control's size change from its registered size.
struct LayoutSizeChange {
  uint32_t idWord = 0;  // the control's dialog id, with kLayoutHeightFlag for a height
  int change = 0;
};

struct WindowLayout {
  int left = 0, top = 0, width = 0, height = 0;  // the normal rectangle, screen pixels
  int dotsPerInch = 0;                            // LOGPIXELSY when saved
  int showCommand = kLayoutNormal;
  std::vector<LayoutSizeChange> changes;
};

std::vector<int> EncodeWindowLayout(const WindowLayout& layout);
// False when the array has fewer than 5 entries, was saved at another dots
// per inch than currentDotsPerInch (a layout of another screen setting is
// ignored), or holds a position, size or size change beyond
// kLayoutCoordinateLimit either way (no screen has such coordinates; taken
// as they are, they would overflow the rectangle's arithmetic). Without
// entry 5 the show command is normal; a trailing unpaired entry is
// ignored. The show command comes back as saved (see ShowCommandToRestore).
constexpr int kLayoutCoordinateLimit = 32767;
bool DecodeWindowLayout(const int* values, size_t count, int currentDotsPerInch, WindowLayout* out);

// The show command a saved window is saved with.
int ShowCommandToSave(bool zoomed, bool iconic);
// The command a saved one is shown with: maximised stays maximised; any
// other value, minimised included, shows the dialog normally (a dialog
// reopened minimised could not be used).
int ShowCommandToRestore(int saved);

// The id word of an edge-linked control: group 1 (top edge, a height) the
// control's id with kLayoutHeightFlag, group 2 (left edge, a width) the id.
uint32_t LayoutIdWord(uint32_t group, int controlId);

// The settings key: a text key as given; an integer resource id (below
// 0x10000, as MAKEINTRESOURCE makes it) "#<id>_WINDOW_SIZE".
std::string WindowLayoutKey(const char* keyOrId);

// Whether a normal rectangle saved from a window reaches beyond the screen
// (then the placement last recorded is saved instead).
bool LayoutBeyondScreen(const RECT& rect, int screenWidth, int screenHeight);
// Where a restored window goes, for every dialog that keeps its place: a
// side longer than the screen's is cut to it (so that the buttons at its
// edges stay reachable) and a negative one to 0; when either side is then
// smaller than the dialog's minimum ({-1, -1} or {0, 0} when it has none),
// the rectangle takes the minimum width and the minimum height together,
// keeping its top-left corner; then it is shifted up and left by what lies
// beyond the bottom and right edges, and down and right when above or left
// of the screen: the top-left corner wins when even the minimum is larger
// than the screen.
RECT FitLayoutOnScreen(RECT rect, int screenWidth, int screenHeight, SIZE minimum);
