// Input for the headless window system: keys and mouse clicks queued as a
// keyboard and a mouse would deliver them, and pumps that run the queue.
//
// The headless keyboard gives every character its own key: a key message
// carries, in its scan-code byte (bits 16-23 of lParam), the code page 1250
// character it types, 0 for keys without one (arrows, Delete, F-keys).
// TranslateMessage turns that byte into WM_CHAR. Letters and digits use
// their own virtual keys ('A'-'Z', '0'-'9'), space VK_SPACE, ',' '.' '-'
// the OEM keys, every other character VK_PACKET.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/win32/messages.h"

namespace headless {

// Modifier keys held around a key press.
constexpr UINT kShift = 1;
constexpr UINT kCtrl = 2;
constexpr UINT kAlt = 4;

// Queues key down and key up of a virtual key (and the modifiers around
// it). ch is the character the key types (0: the key's usual one: 13 for
// Enter, 9 for Tab, 27 for Escape, 8 for Backspace, ' ' for space, the
// letter or digit for 'A'-'Z' / '0'-'9', none for others).
void QueueKey(UINT virtualKey, UINT modifiers = 0, char ch = 0);
// One key press per character (Shift held for upper-case letters).
void QueueText(std::string_view text);
// The virtual key of a character on the headless keyboard.
UINT KeyOfCharacter(char ch);
// A key by name: "Enter", "Escape"/"Esc", "Tab", "Delete"/"Del",
// "Insert"/"Ins", "Backspace"/"Back", "Space", "Up", "Down", "Left",
// "Right", "Home", "End", "PageUp", "PageDown", "F1".."F12", a letter or
// digit, with modifiers before: "Ctrl+V", "Shift+Tab", "Alt+Down". Names
// ignore case. False for an unknown name.
bool ParseKeyName(std::string_view name, UINT* virtualKey, UINT* modifiers);

enum class MouseButton { Left, Right, Middle };
// Queues a move to the point, button down and up (a double click: down, up,
// double click, up), aimed at `window` (client coordinates); the capture,
// when set, receives them instead.
void QueueClick(HWND window, POINT clientPoint, MouseButton button = MouseButton::Left, bool doubleClick = false);
void QueueMouseMove(HWND window, POINT clientPoint);
// The button going down or up alone, at a point of `window`: a drag is a
// press, moves with the button held (QueueMouseMove), and a release.
void QueueMouseButton(HWND window, POINT clientPoint, MouseButton button, bool down);
// Turns the wheel by `delta` (WHEEL_DELTA per notch, negative towards the
// user) with the cursor at a client point of the window.
void QueueMouseWheel(HWND window, POINT clientPoint, int delta);

// Queues a step of the caller's behind the input already queued: it runs
// when its turn comes, after every message queued before it (posted ones
// included) has been handled, so it sees what they did and may queue more.
void QueueStep(std::function<void()> step);

// Queues a message for a window behind the input already queued: it is
// delivered as it stands when its turn comes.
void QueueDirect(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Sizing and moving a window by its frame, as the user drags it: the
// window is asked for its limits (WM_GETMINMAXINFO) and the size is kept
// within them; WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE come around it.
void SizeWindowAsUser(HWND window, int width, int height);
void MoveWindowAsUser(HWND window, int x, int y);

bool InputPending();  // input still queued
void ClearInput();

// Runs every queued message (posted, input, paint) until the queue is empty:
// each message is first offered to preTranslate (true: handled), else
// translated and dispatched. Returns how many messages ran.
int PumpMessages(const std::function<bool(MSG&)>& preTranslate = {});

// Posts WM_TIMER for every timer of every window once (calls the procedure
// of timers that have one).
void FireTimers();

}  // namespace headless
