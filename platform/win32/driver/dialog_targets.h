// Where the input driver's dialog actions aim: a dialog's controls by id,
// points in them, and clicks queued there (dialog_actions.h).
#pragma once

#include <string>

#include "platform/win32/geometry.h"
#include "platform/win32/headless_input.h"

namespace dialog_targets {

// The window class in lower case ("syslistview32").
std::string ClassOf(HWND window);
// A script word's whole text as a decimal int; false for anything else.
bool ParseInt(const std::string& text, int* out);
// Sets *error (when given) and returns false.
bool Fail(std::string* error, std::string why);
// A control of the dialog by id, a child's child too; null when none.
HWND FindControl(HWND dialog, int id);
// The same, refused (null with the reason) when hidden or disabled.
HWND Control(HWND dialog, int id, std::string* error);
// The centre of a window in its client coordinates.
POINT Center(HWND window);
// Halfway between a and b, whatever their size (no overflow).
LONG Midpoint(LONG a, LONG b);
// Queues a click at a client point of the control; the deepest visible,
// enabled window there gets it.
void ClickAt(HWND control, POINT point, bool doubleClick,
             headless::MouseButton button = headless::MouseButton::Left);
// The middle of a list view row (its label, or its check box), scrolled
// into view first.
POINT RowPoint(HWND list, int row, bool checkBox);
// The middle of a list box item, scrolled into view first.
POINT ListBoxPoint(HWND list, int index);

}  // namespace dialog_targets
