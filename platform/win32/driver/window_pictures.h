// Pictures of windows: a window and its visible children painted into
// pixels as the screen would show its client area: each window's frame
// (borders, edges, scroll bars), then WM_ERASEBKGND and WM_PAINT, parents
// before children and the bottom of the z-order first; an OpenGL window
// shows its last frame. Written as PNG.
//
// A run can keep pictures of its modal dialogs: with a picture folder set,
// every dialog leaves FOLDER/<template>-<n>-open.png once it waits for
// input and FOLDER/<template>-<n>-close.png as it closes (n counts the
// openings of the template from 1, after the pictures already in the
// folder; a template without a number is named by its name, one without
// either "dialog"); message boxes leave FOLDER/msgbox-<n>.png, popup menus
// FOLDER/menu-<n>.png.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/driver/ui_driver.h"
#include "platform/win32/gdi.h"

struct WindowPicture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0xRRGGBB, rows from the top
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The client area of the window as it looks now; false for an unknown
// window or an empty client area.
bool PaintWindowPicture(HWND window, WindowPicture* out);
// A picture as an 8-bit RGB PNG (its folder made); false with the reason.
bool WritePicturePng(const WindowPicture& picture, const std::string& path, std::string* why);
// A picture of a message box as the system would lay it out.
WindowPicture PaintMessageBoxPicture(const std::string& caption, const std::string& text, UINT type);

// A picture of a popup menu being tracked: its rows with their separators,
// check marks, greyed texts and submenu arrows.
WindowPicture PaintMenuPicture(const std::vector<MenuRow>& rows);

// The folder of a run's dialog pictures; empty (the default) keeps none.
void SetDialogPictureFolder(const std::string& folder);
const std::string& DialogPictureFolder();
// The picture file name a dialog's next picture gets (without folder).
std::string DialogPictureName(HWND dialog, const char* when);
// Called by the modal loop and the message boxes; nothing without a folder.
// Failures are kept for the run to report.
void PictureDialog(HWND dialog, const char* when);
void PictureMessageBox(const std::string& caption, const std::string& text, UINT type);
void PictureMenu(const std::vector<MenuRow>& rows);
// Pictures each shown dialog that no modal loop runs (a banner while the
// user picks), once, as <template>-<n>-open.png; nothing without a folder.
void PictureModelessDialogs();
// Writes the dialog's picture as FOLDER/NAME.png (NAME may hold a folder of
// its own inside FOLDER; ".png" is added when missing); false with the
// reason, also for a name leading outside FOLDER.
bool SnapshotWindow(HWND window, const std::string& name, std::string* why);
// The pictures written and the failures, in order.
const std::vector<std::string>& DialogPicturesWritten();
const std::vector<std::string>& DialogPictureFailures();

// Where an OpenGL window's last frame comes from (the OpenGL layer sets it):
// RGBA rows from the top; false when the window has none.
using WindowFrameSource = bool (*)(HWND window, std::vector<unsigned char>* rgba, int* width, int* height);
void SetWindowFrameSource(WindowFrameSource source);
