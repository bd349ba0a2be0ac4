// What the two product dialogs remember of themselves: the key "CPPDlg"
// under the wizard's registry root, which they share ("Switch" the switch
// between the catalogue's drawing and the product, "Rect" the window's
// place, "SwitchPP1" the producer dialog's keep-producer check), and the
// preview's background colour from the profile's settings.
#pragma once

#include <string>

#include "platform/win32/geometry.h"
#include "platform/win32/win32_types.h"

struct ProductPlacement {
  bool hasSwitch = false;
  int switchValue = 0;
  bool hasRect = false;
  RECT rect{};  // left, top, right, bottom
};

// What the key holds; nothing when it cannot be opened or a value has
// another type or size.
ProductPlacement ReadProductPlacement();
// Writes "Switch", and "Rect" and "SwitchPP1" when given; false, told once
// per command, when the registry refuses.
bool WriteProductPlacement(int switchValue, const RECT* rect, const int* keepProducerData);
// Moves the dialog to the stored "Rect"'s top-left corner, fitted on the
// screen as every restored layout is (a stored corner may hold any
// numbers); nothing without a stored corner or at (0, 0).
void MoveToStoredPlace(HWND dialog, const ProductPlacement& placement);
// BGCOLOR of section VIEW of the profile's "Dat\Jov.ini", 0 without it.
int PreviewBackgroundColour();
